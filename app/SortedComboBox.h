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

    // Inserts the entry at its place in the order; equal entries are kept.
    void addSorted(const QString& text);
    // Adds every non-empty name, each at its place, as addSorted would.
    void addAllSorted(std::vector<std::string> names);
};
