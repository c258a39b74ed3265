#pragma once
// The two number patterns results are shown in: "0" (a whole number) and
// "0.0" (one decimal). Both round to nearest with halves away from zero,
// use no thousands separator and put a minus sign before negative values.

#include <string>
#include <string_view>

namespace report {

std::string formatWhole(double value);
std::string formatOneDecimal(double value, std::string_view decimalSeparator);

}  // namespace report
