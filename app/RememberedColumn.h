#pragma once
// The column last chosen in a CSV or TSV file, kept per file extension in
// the user's settings (section "Settings", keys "Column_csv", "Column_tsv"),
// so the next file of that kind opens on the column of the same name.

#include <QString>

// Empty when none is stored. extension is the file's, any case, no dot.
QString readRememberedColumn(const QString& application, const QString& extension);
// False when the name could not be stored.
bool writeRememberedColumn(const QString& application, const QString& extension, const QString& name);
