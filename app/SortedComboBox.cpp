#include "SortedComboBox.h"

#include "FontNames.h"

void SortedComboBox::fill(std::vector<std::string> names)
{
    // Sorted once and added in one go: thousands of faces added one by one
    // cost a search and a model insertion each.
    QStringList items;
    for (const std::string& name : platform::sortedFontNames(std::move(names)))
        items.append(QString::fromStdString(name));
    clear();
    addItems(items);
}
