#pragma once
// A table of columns as one JSON object: "Columns", each holding what
// --json holds for one column and the width to give it; then what they
// share, once: the widest digit, the share sized for, the face, the
// encoding and the records.

#include "ColumnTable.h"

#include <string>

namespace tool {

std::string columnTableJson(const TablePrint& print);

}  // namespace tool
