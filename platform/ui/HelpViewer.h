#pragma once
// The help viewer: a window of its own that shows the help file (HTML kept
// under the name the program gives it) from its first page, beside the
// program rather than in front of it, at the size it was last closed at.
// Back, Forward and Contents move through it (Alt+Left, Alt+Right,
// Alt+Home); Esc and Ctrl+W close it.

#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>

class QAction;
class QTextBrowser;

namespace platform {

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // Shows the file in the one viewer window, opening it if needed: an
    // opening viewer is placed beside the owner.
    static HelpViewer* show(QWidget* owner, const QString& helpFile);

    // For tests: the text shown, the page's address, the browser and the
    // toolbar's actions.
    QString shownText() const;
    QUrl shownPage() const;
    QTextBrowser* browser() const { return browser_; }
    QAction* backAction() const { return back_; }
    QAction* forwardAction() const { return forward_; }
    QAction* contentsAction() const { return contents_; }

protected:
    // Remembers the size it was closed at, for the next time it opens.
    void closeEvent(QCloseEvent* event) override;

private:
    explicit HelpViewer(QWidget* owner);
    void load(const QString& helpFile);
    void showContents();
    void placeBesideOwner();

    QTextBrowser* browser_;
    QAction* back_;
    QAction* forward_;
    QAction* contents_;
    QUrl contentsPage_;  // empty while no file could be shown
    static QPointer<HelpViewer> instance_;
};

}  // namespace platform
