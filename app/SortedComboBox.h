#pragma once
// A drop-down list that keeps its entries in the font list's order
// (case-insensitive, by the user's locale) whatever order they come in.

#include <QComboBox>

#include <string>
#include <vector>

class SortedComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    // Makes the entries the non-empty names, in the list's order.
    void fill(std::vector<std::string> names);
};
