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
#include <QLabel>
#include <QSignalBlocker>

namespace {

QString applicationTitle() { return QString::fromUtf8(appinfo::title); }

// The designed step-4 rows hold the caption, the file name and Open; the
// column controls take the free room right of the caption, over Open, and
// the band between steps 3 and 4, left-aligned with step 3's Weight and
// Width. The list stands 60 twips above its label, as step 3's lists do,
// and clear of Open.
constexpr QRectF headerTwips{1920, 3030, 2415, 240};
constexpr QRectF columnLabelTwips{1920, 3330, 645, 255};
constexpr QRectF columnListTwips{2580, 3270, 1755, 315};
// The step-4 caption must end before the column label begins.
constexpr double captionRoom = 1920 - 360 - 60;

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
            {chkHeader->text(), platform::CaptionKind::CheckBox, chkHeader->width()},
            {lblStep4Label->text(), platform::CaptionKind::Label, platform::twipsToPixels(captionRoom, dpi())}};
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
