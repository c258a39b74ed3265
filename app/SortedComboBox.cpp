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
