#include "AbbreviatedNumber.h"

#include <cmath>

namespace {

QString abbreviated(bool negative, std::uint64_t magnitude, const QLocale& locale)
{
    // Up to four digits read at a glance; past that a suffix keeps a label
    // to at most four characters and a sign.
    if (magnitude < 10'000) {
        const QString digits = QString::number(magnitude);  // no separator, as the designed labels
        return negative ? locale.negativeSign() + digits : digits;
    }
    static constexpr struct {
        double scale;
        char suffix;
    } units[] = {{1e18, 'E'}, {1e15, 'P'}, {1e12, 'T'}, {1e9, 'B'}, {1e6, 'M'}, {1e3, 'K'}};
    const double value = static_cast<double>(magnitude);
    std::size_t i = 0;
    while (value < units[i].scale)
        ++i;
    double scaled = value / units[i].scale;
    // A value that rounds up to 1000 of a unit is shown in the next one.
    if (std::round(scaled) >= 1000 && i > 0)
        scaled = value / units[--i].scale;
    // One decimal below 10 (1.2M), none above (12M, 120M), none for a whole
    // number (1M, not 1.0M).
    const int decimals = scaled < 9.95 ? 1 : 0;
    QString text = locale.toString(scaled, 'f', decimals);
    if (decimals == 1 && text.endsWith(locale.zeroDigit()))
        text = locale.toString(scaled, 'f', 0);
    text += QLatin1Char(units[i].suffix);
    return negative ? locale.negativeSign() + text : text;
}

}  // namespace

QString abbreviatedNumber(std::uint64_t value, const QLocale& locale) { return abbreviated(false, value, locale); }

QString abbreviatedNumber(std::int64_t value, const QLocale& locale)
{
    const bool negative = value < 0;
    // The magnitude of the most negative value does not fit in int64.
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    return abbreviated(negative, magnitude, locale);
}
