#pragma once
// The file-open and file-save dialogs, with Windows filter semantics:
// "*.*" lists every file (also names without a dot) and a filter may hold
// several patterns.

#include "Dialogs.h"

#include <QFileDialog>

namespace platform {

// A file dialog that refuses a name in a folder that does not exist.
class FileDialog : public QFileDialog {
    Q_OBJECT
public:
    FileDialog(QWidget* owner, QFileDialog::AcceptMode mode, const QList<FileFilter>& filters, int selected);

    // The patterns of a filter as the file list applies them.
    static QStringList listingPatterns(const FileFilter& filter);
    // The 1-based position of the filter in force.
    int selectedFilterPosition() const;

public slots:
    void accept() override;

private:
    void applyPatterns(const QString& nameFilter);

    QList<FileFilter> filters_;
};

OpenFileAnswer runOpenDialog(QWidget* owner, const OpenFileRequest& request);
SaveFileAnswer runSaveDialog(QWidget* owner, const SaveFileRequest& request);

}  // namespace platform
