#include "SortedComboBox.h"

#include "FontNames.h"

void SortedComboBox::addSorted(const QString& text)
{
    const std::string key = text.toStdString();
    int low = 0, high = count();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (platform::fontNameLess(key, itemText(middle).toStdString()))
            high = middle;
        else
            low = middle + 1;
    }
    insertItem(low, text);
}

void SortedComboBox::addAllSorted(std::vector<std::string> names)
{
    // Sorted once and added in one go: thousands of faces added one by one
    // cost a search and a model insertion each.
    std::vector<std::string> sorted = platform::sortedFontNames(std::move(names));
    if (count() > 0) {
        for (const std::string& name : sorted)
            addSorted(QString::fromStdString(name));
        return;
    }
    QStringList items;
    items.reserve(static_cast<qsizetype>(sorted.size()));
    for (const std::string& name : sorted)
        items.append(QString::fromStdString(name));
    addItems(items);
}
