// Step 4's column of a CSV or TSV file: the Column list, filled from the
// file's first record, and whether that record is a header. Neither changes
// the font, so neither redraws the preview.

#include "frmMain.h"

#include "AppInfo.h"
#include "ColumnNames.h"
#include "ElidedComboBox.h"
#include "RememberedColumn.h"
#include "SortedComboBox.h"
#include "Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

QString applicationTitle() { return QString::fromUtf8(appinfo::title); }

// The designed step-4 rows hold the caption, the file name and Open. Under
// them, in the order they are used, the column rows: the Column list beside
// its label, standing 60 twips above it as step 3's lists do, then the
// header box. The line and the buttons below step 4 move down to make room,
// keeping their designed distance from Open.
constexpr double openBottom = 3600 + 375, lineTop = 4080;
constexpr QRectF columnLabelTwips{480, 4140, 645, 255};
constexpr QRectF columnListTwips{1200, 4080, 3135, 315};
constexpr QRectF headerTwips{480, 4500, 3855, 255};
constexpr double columnRowsShift = headerTwips.bottom() - openBottom;
static_assert(columnListTwips.top() - openBottom == lineTop - openBottom);

std::string fileName(const QString& path) { return QFileInfo(path).fileName().toStdString(); }

}  // namespace

void frmMain::buildColumnControls()
{
    lblColumn = new QLabel(tr("Column:"), this);
    lblColumn->setObjectName(QStringLiteral("lblColumn"));
    place(lblColumn, columnLabelTwips);

    cmbColumn = new ElidedComboBox(this);
    cmbColumn->setObjectName(QStringLiteral("cmbColumn"));
    cmbColumn->setEditable(false);
    cmbColumn->setStyle(cmbFont->style());  // opens as the other lists do
    cmbColumn->setMaxVisibleItems(16);
    place(cmbColumn, columnListTwips);
    lblColumn->setBuddy(cmbColumn);

    chkHeader = new QCheckBox(tr("&First row is a header"), this);
    chkHeader->setObjectName(QStringLiteral("chkHeader"));
    chkHeader->setChecked(true);
    place(chkHeader, headerTwips);

    columnInputs_ = {lblColumn, cmbColumn, chkHeader};
    for (QWidget* control : columnInputs_) {
        control->setAutoFillBackground(true);  // its repaint is not the preview's
        control->hide();
    }

    connect(chkHeader, &QCheckBox::toggled, this, [this] { fillColumnList(cmbColumn->currentIndex()); });
    // Only the user's own choice is remembered, not the list's default.
    connect(cmbColumn, &QComboBox::activated, this, &frmMain::rememberColumn);
}

QList<platform::Caption> frmMain::columnCaptions() const
{
    return {{lblColumn->text(), platform::CaptionKind::Label, lblColumn->width()},
            {chkHeader->text(), platform::CaptionKind::CheckBox, chkHeader->width()}};
}

void frmMain::showColumnsOf(const QString& path)
{
    const std::string name = fileName(path);
    const bool delimited = !path.isEmpty() && engine::isDelimitedName(name);
    firstRecord_.clear();
    int position = 0;  // all columns, unless one was picked before
    if (delimited) {
        // Read as Calculate will read it; a pipe or a file that cannot be
        // read lists one column, and Calculate says what is wrong.
        if (auto header = engine::readFileHeader(QFile::encodeName(path).toStdString(), engine::formatForName(name)))
            firstRecord_ = std::move(header->names);
        const QString remembered = readRememberedColumn(applicationTitle(), QFileInfo(path).suffix());
        if (!remembered.isEmpty()) {
            const engine::ColumnChoice wanted = engine::ColumnChoice::byText(remembered.toStdString());
            if (const auto number = engine::findColumn(wanted, firstRecord_, true))
                position = static_cast<int>(*number);
        }
    }
    {
        // Each file starts with its first row taken as a header.
        const QSignalBlocker blocker(chkHeader);
        chkHeader->setChecked(true);
    }
    fillColumnList(position);
    for (QWidget* control : columnInputs_)
        control->setVisible(delimited);
    showColumnRows(delimited);
}

void frmMain::showColumnRows(bool shown)
{
    const double shift = shown ? columnRowsShift : 0;
    if (shift == belowStep4Shift_)
        return;
    for (QWidget* control : QList<QWidget*>{Line1, cmdCalculate, cmdHelp, cmdExit})
        place(control, twipsOf(control).translated(0, shift - belowStep4Shift_));
    belowStep4Shift_ = shift;
    // The window grows by the rows, and gives the room back when they go,
    // unless it is maximised.
    // (A larger minimum grows the window by itself; its height is taken first.)
    const int before = minimumHeight(), height = this->height();
    setMinimumClientSize();
    if (!isMaximized() && !isFullScreen())
        resize(width(), std::max(minimumHeight(), height + minimumHeight() - before));
}

void frmMain::fillColumnList(int position)
{
    const QSignalBlocker blocker(cmbColumn);
    const QStringList entries = columnEntries(firstRecord_, chkHeader->isChecked());
    cmbColumn->clear();
    cmbColumn->addItems(entries);
    for (int i = 0; i < entries.size(); ++i)
        cmbColumn->setItemData(i, entries[i], Qt::ToolTipRole);  // a long name is cut short in the box
    cmbColumn->setCurrentIndex(position >= 0 && position < entries.size() ? position : 0);
}

void frmMain::rememberColumn(int position) const
{
    // Only a header gives a name to find again in the next file; all
    // columns, nothing to find.
    if (!chkHeader->isChecked() || position < 0 || static_cast<std::size_t>(position) > firstRecord_.size())
        return;
    const std::string name = position == 0 ? std::string() : firstRecord_[static_cast<std::size_t>(position) - 1];
    if (position != 0 && name.empty())
        return;
    writeRememberedColumn(applicationTitle(), QFileInfo(dataFilePath_).suffix(), QString::fromStdString(name));
}

std::optional<engine::DelimitedFormat> frmMain::delimitedFormat() const
{
    const std::string name = dataFileTitle_.toStdString();
    if (name.empty() || !engine::isDelimitedName(name))
        return std::nullopt;
    engine::DelimitedFormat format = engine::formatForName(name);
    format.header = chkHeader->isChecked();
    if (cmbColumn->currentIndex() <= 0)
        format.allColumns = true;
    else
        format.columns = {engine::ColumnChoice::byNumber(static_cast<std::size_t>(cmbColumn->currentIndex()))};
    return format;
}
