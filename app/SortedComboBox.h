#pragma once
// A drop-down list that keeps its entries in the font list's order
// (case-insensitive, by the user's locale) whatever order they come in,
// and is searched by typing whole names (see TypedSearch). A long name is
// shortened with "…" in the closed box.

#include "ElidedComboBox.h"

#include <string>
#include <vector>

class TypedSearch;

class SortedComboBox : public ElidedComboBox {
    Q_OBJECT
public:
    explicit SortedComboBox(QWidget* parent = nullptr);

    // Makes the entries the non-empty names, in the list's order.
    void fill(std::vector<std::string> names);

    TypedSearch* search() const { return search_; }

protected:
    // While a search goes on, the letters typed.
    QString boxText() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    TypedSearch* search_;
};
