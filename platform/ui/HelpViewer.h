#pragma once
// The help viewer: a window of its own that shows the help file (HTML kept
// under the name the program gives it) from its first page, beside the
// program rather than in front of it.

#include <QPointer>
#include <QString>
#include <QWidget>

class QTextBrowser;

namespace platform {

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // Shows the file in the one viewer window, opening it if needed.
    static HelpViewer* show(QWidget* owner, const QString& helpFile);

    // The text shown, for tests.
    QString shownText() const;

private:
    explicit HelpViewer(QWidget* owner);
    void load(const QString& helpFile);

    QTextBrowser* browser_;
    static QPointer<HelpViewer> instance_;
};

}  // namespace platform
