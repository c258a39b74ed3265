#pragma once
// How the tool reads a data file as delimited text, from its options.

#include "Delimited.h"
#include "JsonOutput.h"
#include "MeasureOptions.h"

#include <optional>
#include <string>

namespace tool {

// The format a .csv or .tsv file, or a file with --column, is read in.
std::optional<engine::DelimitedFormat> delimitedFormat(const MeasureOptions& options);

// The refusal of a column the header does not name, listing the names.
std::string unknownColumnMessage(const std::string& dataFile, const engine::ColumnChoice& column,
                                 const engine::RecordLayout& layout);

}  // namespace tool
