#pragma once
// The table of columns in the results window: one row per measured column,
// sortable by any of its columns from the headings or, from the keyboard,
// from its context menu (the Menu key or Shift+F10). Choosing a row tells
// the window, which shows that column in its designed labels.

#include "ColumnRows.h"

#include <QWidget>

#include <string>
#include <string_view>
#include <vector>

class QSortFilterProxyModel;
class QTableView;
class ColumnTableModel;

class ColumnTablePanel : public QWidget {
    Q_OBJECT
public:
    explicit ColumnTablePanel(QWidget* parent = nullptr);

    // Shows the rows, in file order, the first one chosen.
    void setRows(std::vector<report::ColumnRow> rows, std::string_view decimalSeparator);
    const std::vector<report::ColumnRow>& rows() const;

    // The rows in the order shown, each an index into rows().
    std::vector<std::size_t> shownOrder() const;
    // The chosen row's index into rows(), or -1.
    int chosenRow() const;
    void chooseRow(std::size_t index);

    // Sorts by a column of the table, ascending first; the same column again
    // turns the order round.
    void sortBy(int column);

    // The height that shows the heading and up to `rows` rows, and the
    // scroll bar below them when the columns are wider than the table.
    int heightFor(int rows, bool scrollBar) const;
    // The width that shows every column whole.
    int widthNeeded() const;

    QTableView* view() const { return view_; }

signals:
    void rowChosen(std::size_t index);

private:
    ColumnTableModel* model_;
    QSortFilterProxyModel* sorted_;
    QTableView* view_;
};
