#include "ColumnNames.h"

#include <algorithm>

std::string columnCaption(const std::vector<std::string>& firstRecord, bool header, std::size_t number)
{
    if (!header || number < 1 || number > firstRecord.size() || firstRecord[number - 1].empty())
        return "Column " + std::to_string(number);
    std::string caption;
    for (const char c : firstRecord[number - 1]) {
        const bool lineBreak = c == '\r' || c == '\n';
        if (!lineBreak)
            caption += c;
        else if (caption.empty() || caption.back() != ' ')
            caption += ' ';  // CR LF, or a blank line inside, is one space
    }
    return caption;
}

QStringList columnEntries(const std::vector<std::string>& firstRecord, bool header)
{
    QStringList entries;
    const std::size_t count = std::max<std::size_t>(firstRecord.size(), 1);
    for (std::size_t number = 1; number <= count; ++number)
        entries.append(QString::fromStdString(columnCaption(firstRecord, header, number)));
    return entries;
}
