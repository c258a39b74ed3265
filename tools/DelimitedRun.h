#pragma once
// How the tool reads a data file as delimited text, from its options.

#include "Delimited.h"
#include "JsonOutput.h"
#include "MeasureOptions.h"
#include "PieceSource.h"

#include <optional>
#include <string>

namespace tool {

// The format a .csv or .tsv file, or a file with --column, is read in.
std::optional<engine::DelimitedFormat> delimitedFormat(const MeasureOptions& options);

// The name the report and the JSON give the measured column: its header
// name, or "Column N" without one.
std::string columnName(const engine::DelimitedFormat& format, const engine::RecordLayout& layout);

// What a part records of the format, for --merge.
FormatRecord formatRecord(const engine::DelimitedFormat& format, const engine::RecordLayout& layout);

// The refusal of a column the header does not name, listing the names.
std::string unknownColumnMessage(const std::string& dataFile, const engine::DelimitedFormat& format,
                                 const engine::RecordLayout& layout);

}  // namespace tool
