#include "HelpViewer.h"

#include "BesidePlacement.h"
#include "RememberedSize.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace platform {

namespace {
constexpr int preferredWidth = 640, preferredHeight = 560;
constexpr int narrowestWidth = 360;  // still reads comfortably
const QString sizeKey = QStringLiteral("HelpWindowSize");

// The size it was last closed at, else the one it was designed for.
QSize wantedSize()
{
    const QSize remembered = readRememberedSize(sizeKey);
    return remembered.isValid() ? remembered : QSize(preferredWidth, preferredHeight);
}
}  // namespace

QPointer<HelpViewer> HelpViewer::instance_;

HelpViewer::HelpViewer(QWidget* owner) : QWidget(owner, Qt::Window), browser_(new QTextBrowser(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Spanwick Help"));
    browser_->setOpenExternalLinks(true);

    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back_ = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), tr("&Back"), browser_,
                           &QTextBrowser::backward);
    back_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    back_->setToolTip(tr("Back (Alt+Left)"));
    back_->setEnabled(false);
    forward_ = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), tr("&Forward"), browser_,
                              &QTextBrowser::forward);
    forward_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    forward_->setToolTip(tr("Forward (Alt+Right)"));
    forward_->setEnabled(false);
    contents_ = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), tr("&Contents"), this,
                               &HelpViewer::showContents);
    contents_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    contents_->setToolTip(tr("Contents (Alt+Home)"));
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
    // The actions' keys work wherever the focus is in this window.
    for (QAction* action : {back_, forward_, contents_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(browser_);
    resize(wantedSize());
}

void HelpViewer::closeEvent(QCloseEvent* event)
{
    writeRememberedSize(sizeKey, isMaximized() ? normalGeometry().size() : size());
    QWidget::closeEvent(event);
}

HelpViewer* HelpViewer::show(QWidget* owner, const QString& helpFile)
{
    if (!instance_)
        instance_ = new HelpViewer(owner);
    instance_->load(helpFile);
    if (!instance_->isVisible())
        instance_->placeBesideOwner();
    instance_->QWidget::show();
    instance_->raise();
    instance_->activateWindow();
    return instance_;
}

void HelpViewer::placeBesideOwner()
{
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner || !owner->isVisible())
        return;  // the window system's choice
    const QScreen* screen = owner->screen();
    if (!screen)
        return;
    // The frame is not known before the window shows; the owner's is the
    // best guess.
    const QSize frame = owner->frameGeometry().size() - owner->size();
    const QRect outer = placeBeside(owner->frameGeometry(), wantedSize() + frame, screen->availableGeometry(),
                                    narrowestWidth + frame.width());
    resize(outer.size() - frame);
    move(outer.topLeft());
}

void HelpViewer::load(const QString& helpFile)
{
    const QFileInfo file(helpFile);
    if (!file.isFile() || !file.isReadable()) {
        contentsPage_.clear();
        browser_->clearHistory();
        browser_->setHtml(tr("<h2>Help is not available</h2>"
                             "<p>The help file <b>%1</b> could not be found or read.</p>"
                             "<p>It belongs in the folder that holds the program; reinstalling "
                             "Spanwick puts it back.</p>")
                              .arg(helpFile.toHtmlEscaped()));
        contents_->setEnabled(false);
        return;
    }
    // The contents are at the top of the file.
    contentsPage_ = QUrl::fromLocalFile(file.absoluteFilePath());
    contentsPage_.setFragment(QStringLiteral("contents"));
    contents_->setEnabled(true);
    showContents();
}

void HelpViewer::showContents()
{
    if (contentsPage_.isEmpty())
        return;
    // The file's name says nothing of HTML, so the type is given.
    browser_->setSource(contentsPage_, QTextDocument::HtmlResource);
}

QString HelpViewer::shownText() const { return browser_->toPlainText(); }

QUrl HelpViewer::shownPage() const { return browser_->source(); }

}  // namespace platform
