#pragma once
// The dialogs the windows reach the user through: file dialogs, message
// boxes and the help viewer. The windows call them only through
// dialogs(), so tests can put a scripted stand-in in their place.

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace platform {

enum class MessageIcon { None, Critical };

struct FileFilter {
    QString description;   // shown as it stands, e.g. "All Files (*.*)"
    QStringList patterns;  // what it lists; "*.*" means every file
};

// Reads a Windows-style filter text: description and pattern pairs
// separated by "|", several patterns in one pair separated by ";".
QList<FileFilter> parseFilterText(const QString& text);

struct OpenFileRequest {
    QList<FileFilter> filters;
    int selectedFilter = 1;  // 1-based, as the settings keep it
    QString fileName;        // what the previous use left in the dialog
    QString folder;          // where to start when no file name is given
};

struct OpenFileAnswer {
    bool accepted = false;   // false: cancelled
    QString path;            // full path of an existing file
    int selectedFilter = 1;  // the filter in force when the user confirmed
};

struct SaveFileRequest {
    QList<FileFilter> filters;
    QString fileName;  // the name proposed
};

struct SaveFileAnswer {
    bool accepted = false;
    QString path;
    int selectedFilter = 1;  // the filter in force when the user confirmed
};

class DialogProvider {
public:
    virtual ~DialogProvider() = default;

    // The file must exist in an existing folder; Cancel gives accepted false.
    virtual OpenFileAnswer openFile(QWidget* owner, const OpenFileRequest& request) = 0;
    // The folder must exist; replacing a file is confirmed with the user.
    virtual SaveFileAnswer saveFile(QWidget* owner, const SaveFileRequest& request) = 0;
    virtual void message(QWidget* owner, const QString& title, const QString& text, MessageIcon icon) = 0;
    // Opens the help file on its first page without blocking the caller.
    virtual void showHelp(QWidget* owner, const QString& helpFile) = 0;
};

DialogProvider& dialogs();

// Puts a stand-in in place of the real dialogs; nullptr puts them back.
void setDialogProvider(DialogProvider* provider);

}  // namespace platform
