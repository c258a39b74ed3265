#include "ColumnNames.h"

#include "ColumnCaption.h"

#include <algorithm>

QString allColumnsEntry() { return QStringLiteral("All columns"); }

QStringList columnEntries(const std::vector<std::string>& firstRecord, bool header)
{
    QStringList entries{allColumnsEntry()};
    const std::size_t count = std::max<std::size_t>(firstRecord.size(), 1);
    for (std::size_t number = 1; number <= count; ++number)
        entries.append(QString::fromStdString(engine::columnCaption(firstRecord, header, number)));
    return entries;
}
