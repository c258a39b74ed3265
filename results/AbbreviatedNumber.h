#pragma once
// Numbers short enough for an axis label: 950, 9500, 12K, 1.2M, 3.4B, with
// the user's own decimal separator.

#include <QLocale>
#include <QString>

#include <cstdint>

QString abbreviatedNumber(std::int64_t value, const QLocale& locale = QLocale());
QString abbreviatedNumber(std::uint64_t value, const QLocale& locale = QLocale());
