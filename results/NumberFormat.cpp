#include "NumberFormat.h"

#include <cmath>
#include <cstdio>

namespace report {

namespace {

// A rounded, integral value as decimal digits; no minus sign for zero.
std::string digitsOf(double integral)
{
    if (integral == 0)
        return "0";
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", integral);
    return buffer;
}

}  // namespace

std::string formatWhole(double value)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");
    return digitsOf(std::round(value));  // std::round takes halves away from zero
}

std::string formatOneDecimal(double value, std::string_view decimalSeparator)
{
    if (!std::isfinite(value))
        return formatWhole(value);
    const double tenths = std::round(value * 10.0);
    const double whole = std::trunc(tenths / 10.0);
    const auto digit = static_cast<int>(std::fabs(tenths - whole * 10.0));
    std::string text = (tenths < 0 && whole == 0) ? "-0" : digitsOf(whole);
    text += decimalSeparator;
    text += static_cast<char>('0' + digit);
    return text;
}

}  // namespace report
