#pragma once
// The open dialog's last filter, remembered across runs in the user's
// settings: section "Settings", key "OpenFilterIndex", 1-based decimal text.

#include <QString>

// The stored position, or 2 (text files) when none is stored or the stored
// text is not a whole number from 1 to 4: a damaged value must not make the
// dialog unusable.
int readOpenFilterIndex(const QString& application);

bool writeOpenFilterIndex(const QString& application, int position);

inline constexpr int defaultOpenFilterIndex = 2;
inline constexpr int openFilterCount = 4;
