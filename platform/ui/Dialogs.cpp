#include "Dialogs.h"

#include "FileDialogs.h"
#include "FocusReturn.h"
#include "HelpViewer.h"

#include <QMessageBox>

namespace platform {

QList<FileFilter> parseFilterText(const QString& text)
{
    QList<FileFilter> filters;
    const QStringList parts = text.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters.append({parts[i], parts[i + 1].split(u';', Qt::SkipEmptyParts)});
    return filters;
}

namespace {

class RealDialogs final : public DialogProvider {
public:
    OpenFileAnswer openFile(QWidget* owner, const OpenFileRequest& request) override
    {
        const FocusReturn focus(owner);
        return runOpenDialog(owner, request);
    }

    SaveFileAnswer saveFile(QWidget* owner, const SaveFileRequest& request) override
    {
        const FocusReturn focus(owner);
        return runSaveDialog(owner, request);
    }

    void message(QWidget* owner, const QString& title, const QString& text, MessageIcon icon) override
    {
        const FocusReturn focus(owner);
        QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon, title, text,
                        QMessageBox::Ok, owner);
        box.exec();
    }

    void showHelp(QWidget* owner, const QString& helpFile) override { HelpViewer::show(owner, helpFile); }
};

DialogProvider* standIn = nullptr;

}  // namespace

DialogProvider& dialogs()
{
    static RealDialogs real;
    return standIn ? *standIn : real;
}

void setDialogProvider(DialogProvider* provider) { standIn = provider; }

}  // namespace platform
