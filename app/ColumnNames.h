#pragma once
// What step 4's Column list and the report call the columns of a CSV or
// TSV file, from the fields of its first record.

#include <QStringList>

#include <cstddef>
#include <string>
#include <vector>

// Column number (1-based): its header name, or "Column N" without a header
// or for a header field left empty. Line breaks in a quoted name read as
// spaces, so the name stays one line in the list and in the report.
std::string columnCaption(const std::vector<std::string>& firstRecord, bool header, std::size_t number);

// One entry per field of the first record; one column even when the record
// could not be read, as a file that is gone or a pipe still has a first column.
QStringList columnEntries(const std::vector<std::string>& firstRecord, bool header);
