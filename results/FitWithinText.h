#pragma once
// The answer to "the largest size within a width", in the words the tool
// prints and the results window shows.

#include "SizeSearch.h"

#include <cstdint>
#include <string>

namespace report {

// "DejaVu Sans: 11 points (99% within 196 px); 12 points needs 214 px",
// without a line end.
std::string fitWithinSentence(const std::string& face, const engine::FaceAnswer& answer, int percent,
                              std::int64_t within);

}  // namespace report
