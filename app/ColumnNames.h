#pragma once
// What step 4's Column list calls the columns of a CSV or TSV file, from
// the fields of its first record, by the caption rule the report and the
// tool use too.

#include <QStringList>

#include <string>
#include <vector>

// The Column list's first entry, before the columns: each entry after it
// stands at its column's number.
QString allColumnsEntry();

// "All columns", then one entry per field of the first record; one column
// even when the record could not be read, as a file that is gone or a pipe
// still has a first column.
QStringList columnEntries(const std::vector<std::string>& firstRecord, bool header);
