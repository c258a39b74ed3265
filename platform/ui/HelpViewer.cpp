#include "HelpViewer.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace platform {

QPointer<HelpViewer> HelpViewer::instance_;

HelpViewer::HelpViewer(QWidget* owner) : QWidget(owner, Qt::Window), browser_(new QTextBrowser(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Spanwick Help"));
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 560);
}

HelpViewer* HelpViewer::show(QWidget* owner, const QString& helpFile)
{
    if (!instance_)
        instance_ = new HelpViewer(owner);
    instance_->load(helpFile);
    instance_->QWidget::show();
    instance_->raise();
    instance_->activateWindow();
    return instance_;
}

void HelpViewer::load(const QString& helpFile)
{
    const QFileInfo file(helpFile);
    if (!file.isFile() || !file.isReadable()) {
        browser_->setHtml(tr("<h2>Help is not available</h2>"
                             "<p>The help file <b>%1</b> could not be found or read.</p>"
                             "<p>It belongs in the folder that holds the program; reinstalling "
                             "Spanwick puts it back.</p>")
                              .arg(helpFile.toHtmlEscaped()));
        return;
    }
    // The contents page is the top of the file.
    browser_->setSource(QUrl::fromLocalFile(file.absoluteFilePath()), QTextDocument::HtmlResource);
    browser_->scrollToAnchor(QStringLiteral("contents"));
}

QString HelpViewer::shownText() const { return browser_->toPlainText(); }

}  // namespace platform
