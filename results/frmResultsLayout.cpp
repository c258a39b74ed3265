// The results window's controls at their designed places, in twips.

#include "frmResults.h"

#include "ElidedLabel.h"
#include "Twips.h"
#include "WindowFont.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr double clientWidth = 5055, clientHeight = 6135;
constexpr double groupLeft = 120, groupWidth = 3735;
// Rows inside a group: 240 apart, the first 240 below the group's top.
constexpr double firstRowTop = 240, rowStep = 240, rowHeight = 255;
constexpr double captionLeft = 120, captionWidth = 1575;
constexpr double valueLeft = 1680, valueWidth = 1935;
// A caption label reaches 15 twips into its value field; the caption's text
// must end a little before the value begins, or the two run together.
constexpr double captionRoom = valueLeft - captionLeft - 60;
constexpr double lineLeft = 120, lineWidth = 3495;  // the fit sentences span the group
constexpr double buttonLeft = 3960, buttonWidth = 975, buttonHeight = 375;

}  // namespace

void frmResults::BuildLayout()
{
    // A fixed dialog frame: title bar and close box, nothing to resize,
    // minimise or maximise with.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    const int dpi = logicalDpiY();
    const auto place = [dpi](QWidget* widget, double left, double top, double width, double height) {
        widget->setGeometry(platform::twipRect(left, top, width, height, dpi));
    };
    QList<platform::Caption> captions;
    const auto caption = [&](const QString& text, platform::CaptionKind kind, double width) {
        captions.append({text, kind, platform::twipsToPixels(width, dpi)});
    };

    const auto group = [&](const char* name, const char* title, double top, double height) {
        auto* box = new QGroupBox(QString::fromLatin1(title), this);
        box->setObjectName(QString::fromLatin1(name));
        place(box, groupLeft, top, groupWidth, height);
        caption(box->title(), platform::CaptionKind::GroupBox, groupWidth);
        return box;
    };
    // Plain text throughout: a face or file name is never read as markup.
    const auto setUp = [&](QLabel* field, const char* name, const char* text, double left, double top,
                           double width) {
        field->setObjectName(QString::fromLatin1(name));
        field->setTextFormat(Qt::PlainText);
        field->setWordWrap(false);
        place(field, left, top, width, rowHeight);
        field->setText(QString::fromLatin1(text));
        return field;
    };
    const auto label = [&](QWidget* parent, const char* name, const char* text, double left, double top,
                           double width) { return setUp(new QLabel(parent), name, text, left, top, width); };
    const auto rowCaption = [&](QGroupBox* box, int index, const char* captionName, const char* captionText) {
        const double top = firstRowTop + index * rowStep;
        label(box, captionName, captionText, captionLeft, top, captionWidth);
        caption(QString::fromLatin1(captionText), platform::CaptionKind::Label, captionRoom);
        return top;
    };
    const auto row = [&](QGroupBox* box, int index, const char* captionName, const char* captionText,
                         const char* valueName) {
        const double top = rowCaption(box, index, captionName, captionText);
        return label(box, valueName, valueName, valueLeft, top, valueWidth);
    };
    // A face or file name that is too long is elided in the middle, its
    // tooltip holding the whole.
    const auto elidedRow = [&](QGroupBox* box, int index, const char* captionName, const char* captionText,
                               const char* valueName) {
        const double top = rowCaption(box, index, captionName, captionText);
        auto* field = new ElidedLabel(box);
        setUp(field, valueName, "", valueLeft, top, valueWidth);
        field->setFullText(QString::fromLatin1(valueName));
        return field;
    };
    const auto line = [&](QGroupBox* box, int index, const char* name) {
        return label(box, name, name, lineLeft, firstRowTop + index * rowStep, lineWidth);
    };

    Frame3 = group("Frame3", "Font Information", 120, 2295);
    lblFontFace = elidedRow(Frame3, 0, "Label1", "Font Face:", "lblFontFace");
    lblFontSize = row(Frame3, 1, "Label2", "Font Size:", "lblFontSize");
    lblItalic = row(Frame3, 2, "Label3", "Italic:", "lblItalic");
    lblUnderline = row(Frame3, 3, "Label4", "Underline:", "lblUnderline");
    lblStrikeOut = row(Frame3, 4, "Label5", "Strikethrough:", "lblStrikeOut");
    lblWeight = row(Frame3, 5, "Label6", "Weight:", "lblWeight");
    lblWidth = row(Frame3, 6, "Label8", "Width:", "lblWidth");
    lblDataFile = elidedRow(Frame3, 7, "Label9", "Data File:", "lblDataFile");

    Frame1 = group("Frame1", "General Statistics", 2520, 1335);
    lblMin = row(Frame1, 0, "Label10", "Minimum Length:", "lblMin");
    lblMax = row(Frame1, 1, "Label11", "Maximum Length:", "lblMax");
    lblAvg = row(Frame1, 2, "Label12", "Average Length:", "lblAvg");
    lblStdDev = row(Frame1, 3, "Label13", "Standard Deviation:", "lblStdDev");

    Frame2 = group("Frame2", "Confidence Intervals", 3960, 2055);
    lbl50 = line(Frame2, 0, "lbl50");
    lbl60 = line(Frame2, 1, "lbl60");
    lbl70 = line(Frame2, 2, "lbl70");
    lbl80 = line(Frame2, 3, "lbl80");
    lbl90 = line(Frame2, 4, "lbl90");
    lbl95 = line(Frame2, 5, "lbl95");
    lbl99 = line(Frame2, 6, "lbl99");

    const auto button = [&](const char* name, const char* text, double top) {
        auto* command = new QPushButton(QString::fromLatin1(text), this);
        command->setObjectName(QString::fromLatin1(name));
        place(command, buttonLeft, top, buttonWidth, buttonHeight);
        caption(command->text(), platform::CaptionKind::Button, buttonWidth);
        return command;
    };
    // Close's lower edge is level with the lowest group's.
    cmdSave = button("cmdSave", "&Save", 5160);
    cmdClose = button("cmdClose", "&Close", 5640);
    // Copy stands above them, its Alt+O clear of Alt+S and Alt+C.
    cmdCopy = button("cmdCopy", "C&opy", 4680);
    cmdSave->setDefault(true);
    setTabOrder(cmdSave, cmdClose);
    setTabOrder(cmdClose, cmdCopy);

    setFont(platform::fittingWindowFont(QApplication::font(this), captions));
    // The designed client area, widened by the distribution panel, which is
    // sized for the font just chosen.
    const QSize designed = platform::twipRect(0, 0, clientWidth, clientHeight, dpi).size();
    withoutTable_ = QSize(designed.width() + BuildPanel(designed.width()), designed.height());
    setFixedSize(withoutTable_);
    // Each group's frame line runs through its title, as designed, so the
    // first row stands clear of the line.
    setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.5em; }"
                                 "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
    setSizeGripEnabled(false);
    setModal(true);
}
