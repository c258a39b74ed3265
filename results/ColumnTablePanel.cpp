#include "ColumnTablePanel.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int sortRole = Qt::UserRole;

}  // namespace

// The rows as the table shows them: each cell's text, and its number to
// sort by (the caption sorts as text).
class ColumnTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(std::vector<report::ColumnRow> rows, std::string_view decimalSeparator)
    {
        beginResetModel();
        rows_ = std::move(rows);
        cells_.clear();
        for (const report::ColumnRow& row : rows_)
            cells_.push_back(report::rowCells(row, decimalSeparator));
        endResetModel();
    }
    const std::vector<report::ColumnRow>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(cells_.size());
    }
    int columnCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(report::tableColumns().size());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        const report::Cell& cell =
            cells_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
        const bool text = std::isnan(cell.number);
        switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(cell.text);
        case Qt::ToolTipRole:
            return text ? QVariant(QString::fromStdString(cell.text)) : QVariant();
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignVCenter | (text ? Qt::AlignLeft : Qt::AlignRight));
        case sortRole:
            return text ? QVariant(QString::fromStdString(cell.text)) : QVariant(cell.number);
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
            section >= static_cast<int>(report::tableColumns().size()))
            return QAbstractTableModel::headerData(section, orientation, role);
        // Headings of two words on two lines: the columns stay as narrow as their numbers.
        return QString::fromStdString(report::tableColumns()[static_cast<std::size_t>(section)].heading)
            .replace(u' ', u'\n');
    }

private:
    std::vector<report::ColumnRow> rows_;
    std::vector<std::vector<report::Cell>> cells_;
};

ColumnTablePanel::ColumnTablePanel(QWidget* parent)
    : QWidget(parent), model_(new ColumnTableModel(this)), sorted_(new QSortFilterProxyModel(this)),
      view_(new QTableView(this))
{
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(sortRole);
    sorted_->setSortLocaleAware(true);
    sorted_->setSortCaseSensitivity(Qt::CaseInsensitive);
    view_->setObjectName(QStringLiteral("tblColumns"));
    view_->setModel(sorted_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSortingEnabled(true);
    view_->sortByColumn(-1, Qt::AscendingOrder);  // file order until asked
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
    view_->setWordWrap(false);
    view_->setTextElideMode(Qt::ElideMiddle);
    view_->setTabKeyNavigation(false);  // Tab leaves the table, as from any other control
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->setAccessibleName(tr("Columns"));

    // Every heading sorts from the keyboard too: the table's context menu.
    view_->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (int c = 0; c < static_cast<int>(report::tableColumns().size()); ++c) {
        auto* sort = new QAction(tr("Sort by %1").arg(QString::fromStdString(
                                     report::tableColumns()[static_cast<std::size_t>(c)].heading)),
                                 view_);
        connect(sort, &QAction::triggered, this, [this, c] { sortBy(c); });
        view_->addAction(sort);
    }

    // Shift+F10 opens it too, where the platform does not already.
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), view_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(menuKey, &QShortcut::activated, this, [this] {
        const QRect cell = view_->visualRect(view_->currentIndex());
        const QPoint at = view_->viewport()->mapToGlobal(cell.isValid() ? cell.center() : QPoint());
        QMenu::exec(view_->actions(), at, nullptr, view_);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);

    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    emit rowChosen(static_cast<std::size_t>(sorted_->mapToSource(current).row()));
            });
}

void ColumnTablePanel::setRows(std::vector<report::ColumnRow> rows, std::string_view decimalSeparator)
{
    view_->sortByColumn(-1, Qt::AscendingOrder);
    sorted_->sort(-1);
    model_->setRows(std::move(rows), decimalSeparator);
    view_->resizeColumnsToContents();
    if (!model_->rows().empty())
        chooseRow(0);
}

const std::vector<report::ColumnRow>& ColumnTablePanel::rows() const { return model_->rows(); }

std::vector<std::size_t> ColumnTablePanel::shownOrder() const
{
    std::vector<std::size_t> order;
    for (int r = 0; r < sorted_->rowCount(); ++r)
        order.push_back(static_cast<std::size_t>(sorted_->mapToSource(sorted_->index(r, 0)).row()));
    return order;
}

int ColumnTablePanel::chosenRow() const
{
    const QModelIndex current = view_->currentIndex();
    return current.isValid() ? sorted_->mapToSource(current).row() : -1;
}

void ColumnTablePanel::chooseRow(std::size_t index)
{
    const QModelIndex shown = sorted_->mapFromSource(model_->index(static_cast<int>(index), 0));
    view_->setCurrentIndex(shown);
    view_->scrollTo(shown);
}

void ColumnTablePanel::sortBy(int column)
{
    const QHeaderView* header = view_->horizontalHeader();
    const Qt::SortOrder order =
        header->sortIndicatorSection() == column && header->sortIndicatorOrder() == Qt::AscendingOrder
            ? Qt::DescendingOrder
            : Qt::AscendingOrder;
    view_->sortByColumn(column, order);
    view_->scrollTo(view_->currentIndex());
}

int ColumnTablePanel::heightFor(int rows, bool scrollBar) const
{
    return 2 * view_->frameWidth() + view_->horizontalHeader()->sizeHint().height() +
           rows * view_->verticalHeader()->defaultSectionSize() +
           (scrollBar ? view_->horizontalScrollBar()->sizeHint().height() : 0);
}

int ColumnTablePanel::widthNeeded() const
{
    return 2 * view_->frameWidth() + view_->horizontalHeader()->length() +
           view_->verticalScrollBar()->sizeHint().width();
}
