#include "frmMain.h"

#include "AppIcon.h"
#include "AppInfo.h"
#include "BackgroundCalculation.h"
#include "CurrentFont.h"
#include "ElidedComboBox.h"
#include "ElidedLabel.h"
#include "ExactNumberTyping.h"
#include "FontNames.h"
#include "FontPreview.h"
#include "ListPopupStyle.h"
#include "PreviewBox.h"
#include "SortedComboBox.h"
#include "Twips.h"
#include "WindowFont.h"
#include "frmResults.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>

namespace {

// The window's designed client area and outer size, in twips.
constexpr double clientWidth = 7845, clientHeight = 4695;
constexpr double designOuterWidth = 7965, designOuterHeight = 5100;
// The window was designed with a frame of this size around its client area.
// Window managers here draw frames of any size, or none, so the outer size is
// taken as the client area plus the designed frame: the preview then keeps
// its designed margins whatever the desktop.
constexpr double designFrameWidth = designOuterWidth - clientWidth;
constexpr double designFrameHeight = designOuterHeight - clientHeight;
constexpr double previewRightMargin = 240, previewBottomMargin = 600;

}  // namespace

frmMain::frmMain(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(applicationIcon());
    buildControls();
    buildColumnControls();
    chooseFonts();
    connectSelections();
    installShortcuts();
    setAcceptDrops(true);
    setMinimumClientSize();
    resize(platform::twipsToPixels(clientWidth, dpi()), platform::twipsToPixels(clientHeight, dpi()));
    SetScreenLogPixelsY(dpi());
}

frmMain::~frmMain()
{
    // Closing by any other way than the window's own close still leaves
    // through Exit, which releases the font once.
    engine::CurrentFont.release();
}

int frmMain::dpi() const { return logicalDpiY() > 0 ? logicalDpiY() : 96; }

// ------------------------------------------------------------ layout

void frmMain::place(QWidget* control, const QRectF& twips)
{
    auto found = std::find_if(design_.begin(), design_.end(), [control](const auto& d) { return d.first == control; });
    if (found == design_.end())
        design_.emplace_back(control, twips);
    else
        found->second = twips;
    QRect pixels = platform::twipRect(twips.left(), twips.top(), twips.width(), twips.height(), dpi());
    if (qobject_cast<QComboBox*>(control))
        pixels.setHeight(control->sizeHint().height());  // a closed list has its own fixed height
    control->setGeometry(pixels);
}

void frmMain::setMinimumClientSize()
{
    // Every control whole, with the margin the design leaves on the right
    // and at the foot. The preview counts at its designed size, the
    // smallest the resize rule gives it.
    QRectF preview = twipsOf(picText);
    preview.setWidth(designOuterWidth - preview.left() - previewRightMargin);
    preview.setHeight(designOuterHeight - preview.top() - previewBottomMargin);
    QRectF all = preview;
    for (const auto& [control, twips] : design_)
        if (control != picText && !control->isHidden())
            all |= twips;
    constexpr double designMargin = 120;
    setMinimumSize(platform::twipsToPixels(all.right() + designMargin, dpi()),
                   platform::twipsToPixels(all.bottom() + designMargin, dpi()));
}

QRectF frmMain::twipsOf(const QWidget* control) const
{
    for (const auto& [widget, twips] : design_)
        if (widget == control)
            return twips;
    return {};
}

void frmMain::buildControls()
{
    const auto label = [this](const char* name, const QString& caption, QRectF twips) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(QLatin1String(name));
        place(l, twips);
        return l;
    };
    auto* popupStyle = new ListPopupStyle(this);
    const auto list = [this, popupStyle](QComboBox* box, const char* name, QRectF twips) {
        box->setObjectName(QLatin1String(name));
        box->setEditable(false);  // the text is always one of the entries
        box->setStyle(popupStyle);  // so the open list keeps to 16 rows
        box->setMaxVisibleItems(16);
        place(box, twips);
        return box;
    };
    const auto check = [this](const char* name, const QString& caption, QRectF twips) {
        auto* c = new QCheckBox(caption, this);
        c->setObjectName(QLatin1String(name));
        place(c, twips);
        return c;
    };
    const auto button = [this](const char* name, const QString& caption, QRectF twips) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        place(b, twips);
        return b;
    };

    lblStep1 = label("lblStep1", QStringLiteral("1"), {120, 60, 255, 495});
    lblStep1Label = label("lblStep1Label", tr("Select font face:"), {360, 120, 3975, 255});
    cmbFont = static_cast<SortedComboBox*>(list(new SortedComboBox(this), "cmbFont", {480, 360, 3855, 315}));

    lblStep2 = label("lblStep2", QStringLiteral("2"), {120, 900, 255, 495});
    lblStep2Label = label("lblStep2Label", tr("Select font point size:"), {360, 960, 3975, 255});
    cmbSize = list(new QComboBox(this), "cmbSize", {480, 1200, 3855, 315});

    lblStep3 = label("lblStep3", QStringLiteral("3"), {120, 1680, 255, 495});
    lblStep3Label = label("lblStep3Label", tr("Select font attributes:"), {360, 1740, 3975, 255});
    chkItalic = check("chkItalic", tr("&Italic"), {480, 2040, 1335, 255});
    chkUnderline = check("chkUnderline", tr("&Underline"), {480, 2400, 1335, 255});
    chkStrikeOut = check("chkStrikeOut", tr("&Strikethrough"), {480, 2760, 1335, 255});
    lblWeight = label("lblWeight", tr("Weight:"), {1920, 2040, 1215, 255});
    cmbWeight = list(new QComboBox(this), "cmbWeight", {3120, 2040, 1215, 315});
    lblWidth = label("lblWidth", tr("Width (pixels):"), {1920, 2400, 1215, 255});
    cmbWidth = list(new QComboBox(this), "cmbWidth", {3120, 2400, 1215, 315});
    new ExactNumberTyping(cmbSize);
    new ExactNumberTyping(cmbWidth);

    lblStep4 = label("lblStep4", QStringLiteral("4"), {120, 3300, 255, 495});
    lblStep4Label = label("lblStep4Label", tr("Select data file:"), {360, 3360, 2535, 255});
    // A long file name is elided in the middle, its tooltip the whole path.
    lblFile = new ElidedLabel(this);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    place(lblFile, {480, 3720, 2535, 255});
    cmdOpen = button("cmdOpen", tr("&Open..."), {3120, 3600, 1215, 375});

    picText = new PreviewBox(this);
    place(picText, {4440, 120, 3585, 2295});

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    place(Line1, {360, 4080 - 15, 3960, 30});

    cmdCalculate = button("cmdCalculate", tr("&Calculate"), {480, 4200, 1215, 375});
    cmdHelp = button("cmdHelp", tr("&Help"), {1800, 4200, 1215, 375});
    cmdExit = button("cmdExit", tr("E&xit"), {3120, 4200, 1215, 375});
    // Enter runs Calculate unless another button has the focus (keyPressEvent).
    cmdCalculate->setDefault(true);

    connect(cmdOpen, &QPushButton::clicked, this, &frmMain::Open);
    connect(cmdCalculate, &QPushButton::clicked, this, &frmMain::Calculate);
    connect(cmdHelp, &QPushButton::clicked, this, &frmMain::Help);
    connect(cmdExit, &QPushButton::clicked, this, &frmMain::Exit);

    // Every control paints its own background, so a control's repaint (a
    // hover, a press) is not a repaint of the window, which redraws the
    // preview.
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        control->setAutoFillBackground(true);

    inputs_ = {lblStep1, lblStep1Label, lblStep2,  lblStep2Label, lblStep3,     lblStep3Label, lblStep4, lblStep4Label,
               lblWeight, lblWidth,     lblFile,   cmbFont,       cmbSize,      chkItalic,     chkUnderline,
               chkStrikeOut, cmbWeight, cmbWidth,  cmdOpen,       cmdCalculate, cmdHelp,       cmdExit};
}

void frmMain::chooseFonts()
{
    // The desktop's font unless a caption would be cut off in it.
    QList<platform::Caption> captions;
    for (QLabel* l : {lblStep1Label, lblStep2Label, lblStep3Label, lblStep4Label, lblWeight, lblWidth})
        captions.append({l->text(), platform::CaptionKind::Label, l->width()});
    for (QCheckBox* c : {chkItalic, chkUnderline, chkStrikeOut})
        captions.append({c->text(), platform::CaptionKind::CheckBox, c->width()});
    for (QPushButton* b : {cmdOpen, cmdCalculate, cmdHelp, cmdExit})
        captions.append({b->text(), platform::CaptionKind::Button, b->width()});
    captions.append(columnCaptions());
    setFont(platform::fittingWindowFont(QApplication::font(this), captions));

    // The step numerals: the desktop's sans family, 13.5 points, bold.
    QFont numeral(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    numeral.setPointSizeF(13.5);
    numeral.setBold(true);
    for (QLabel* l : {lblStep1, lblStep2, lblStep3, lblStep4})
        l->setFont(numeral);

    // Combo heights follow the font.
    for (QComboBox* box : QList<QComboBox*>{cmbFont, cmbSize, cmbWeight, cmbWidth, cmbColumn})
        place(box, twipsOf(box));
}

void frmMain::connectSelections()
{
    // A changed selection redraws the preview at once.
    for (QComboBox* box : {static_cast<QComboBox*>(cmbFont), cmbSize, cmbWeight, cmbWidth})
        connect(box, &QComboBox::currentIndexChanged, this, &frmMain::DrawFont);
    for (QCheckBox* box : {chkItalic, chkUnderline, chkStrikeOut})
        connect(box, &QCheckBox::toggled, this, &frmMain::DrawFont);
    // And is remembered for the next run.
    for (QComboBox* box : {static_cast<QComboBox*>(cmbFont), cmbSize, cmbWeight, cmbWidth})
        connect(box, &QComboBox::currentIndexChanged, this, &frmMain::rememberFont);
    for (QCheckBox* box : {chkItalic, chkUnderline, chkStrikeOut})
        connect(box, &QCheckBox::toggled, this, &frmMain::rememberFont);
}

void frmMain::setTabOrder()
{
    // A CSV or TSV file's column follows Open, which chose the file; hidden,
    // they are passed over.
    const QWidget* order[] = {cmbFont, cmbSize,   chkItalic, chkUnderline, chkStrikeOut, cmbWeight, cmbWidth,
                              cmdOpen, cmbColumn, chkHeader, cmdCalculate, cmdHelp,      cmdExit};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
}

// ------------------------------------------------------------ start-up

void frmMain::Load()
{
    DisableInputs();
    setWindowTitle(QString::fromUtf8(appinfo::caption));

    // The window shows where it was left, or centred, still disabled while
    // the fonts are read.
    if (!restoreRememberedGeometry())
        if (const QScreen* where = screen())
            move(where->availableGeometry().center() - rect().center());
    show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    {
        // Filling and selecting raise no redraws; one follows below.
        const QSignalBlocker font(cmbFont), size(cmbSize), weight(cmbWeight), width(cmbWidth);
        const QSignalBlocker italic(chkItalic), underline(chkUnderline), strikeOut(chkStrikeOut);
        cmbFont->fill(platform::installedScreenFonts());
        for (int points = engine::smallestListedPointSize; points <= engine::largestListedPointSize; ++points)
            cmbSize->addItem(QString::number(points));
        for (const std::string_view name : engine::weightNames)
            cmbWeight->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        cmbWidth->addItem(QString::fromUtf8(engine::normalWidth.data(), static_cast<qsizetype>(engine::normalWidth.size())));
        for (int pixels = 1; pixels <= engine::largestCharacterWidth; ++pixels)
            cmbWidth->addItem(QString::number(pixels));

        selectRememberedFont();
    }
    DrawFont();

    // Each list stands 60 twips above the top of the label beside it.
    QRectF weight = twipsOf(cmbWeight);
    weight.moveTop(twipsOf(lblWeight).top() - 60);
    place(cmbWeight, weight);
    QRectF width = twipsOf(cmbWidth);
    width.moveTop(width.top() - 60);
    place(cmbWidth, width);

    setTabOrder();
    EnableInputs();
}

// ------------------------------------------------------------ operations

engine::FontSelections frmMain::selections() const
{
    engine::FontSelections s;
    s.faceText = cmbFont->currentText().toStdString();
    s.sizeText = cmbSize->currentText().toStdString();
    s.italic = chkItalic->isChecked() ? 1 : 0;
    s.underline = chkUnderline->isChecked() ? 1 : 0;
    s.strikeOut = chkStrikeOut->isChecked() ? 1 : 0;
    s.weightIndex = cmbWeight->currentIndex();
    s.widthIndex = cmbWidth->currentIndex();
    s.widthText = cmbWidth->currentText().toStdString();
    return s;
}

void frmMain::DrawFont()
{
    if (exiting_)
        return;
    ++drawCount_;
    picText->fitBitmap();  // the scale may have changed with the screen
    engine::drawFontPreview(picText->dc(), GetScreenDC(), selections(), logFont_, picText->scale());
    picText->update();
}

void frmMain::DisableInputs()
{
    for (QWidget* input : inputs_)
        input->setEnabled(false);
    for (QWidget* input : columnInputs_)
        input->setEnabled(false);
    setCursor(Qt::WaitCursor);
}

void frmMain::EnableInputs()
{
    for (QWidget* input : inputs_)
        input->setEnabled(true);
    for (QWidget* input : columnInputs_)
        input->setEnabled(true);
    unsetCursor();
}

void frmMain::applyResizeRule(double outerWidth, double outerHeight)
{
    QRectF preview = twipsOf(picText);
    if (outerHeight >= designOuterHeight)
        preview.setHeight(outerHeight - preview.top() - previewBottomMargin);
    if (outerWidth >= designOuterWidth)
        preview.setWidth(outerWidth - preview.left() - previewRightMargin);
    place(picText, preview);
}

// ------------------------------------------------------------ events

void frmMain::paintEvent(QPaintEvent*) { DrawFont(); }

void frmMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (isMinimized())
        return;
    applyResizeRule(outerWidthTwips(), outerHeightTwips());
    DrawFont();
}

void frmMain::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    // Coming back from the taskbar counts as a resize.
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if ((change->oldState() & Qt::WindowMinimized) && !isMinimized()) {
        applyResizeRule(outerWidthTwips(), outerHeightTwips());
        DrawFont();
    }
}

double frmMain::outerWidthTwips() const { return platform::pixelsToTwips(width(), dpi()) + designFrameWidth; }

double frmMain::outerHeightTwips() const { return platform::pixelsToTwips(height(), dpi()) + designFrameHeight; }

void frmMain::closeEvent(QCloseEvent* event)
{
    // Every way of closing the window leaves through Exit; it never refuses.
    Exit();
    event->accept();
}
