#include "FileDialogs.h"

#include "FocusReturn.h"

#include <QFileInfo>
#include <QFileSystemModel>
#include <QMessageBox>

namespace platform {

FileDialog::FileDialog(QWidget* owner, QFileDialog::AcceptMode mode, const QList<FileFilter>& filters,
                       int selected)
    : QFileDialog(owner), filters_(filters)
{
    // Qt's own dialog everywhere, so the filters behave the same on every desktop.
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(mode);
    setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);

    // Qt would read the patterns out of the descriptions; the file list is
    // given the real ones each time a filter is chosen.
    connect(this, &QFileDialog::filterSelected, this, &FileDialog::applyPatterns);
    QStringList descriptions;
    for (const FileFilter& filter : filters_)
        descriptions << filter.description;
    setNameFilters(descriptions);
    if (!descriptions.isEmpty()) {
        const int position = (selected >= 1 && selected <= descriptions.size()) ? selected : 1;
        selectNameFilter(descriptions[position - 1]);
        applyPatterns(descriptions[position - 1]);
    }
}

QStringList FileDialog::listingPatterns(const FileFilter& filter)
{
    QStringList patterns;
    for (const QString& pattern : filter.patterns)
        patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern.trimmed());
    return patterns;
}

int FileDialog::selectedFilterPosition() const
{
    const QString current = selectedNameFilter();
    for (qsizetype i = 0; i < filters_.size(); ++i)
        if (filters_[i].description == current)
            return static_cast<int>(i) + 1;
    return 1;
}

void FileDialog::applyPatterns(const QString& nameFilter)
{
    for (const FileFilter& filter : filters_) {
        if (filter.description != nameFilter)
            continue;
        if (auto* model = findChild<QFileSystemModel*>())
            model->setNameFilters(listingPatterns(filter));
        return;
    }
}

void FileDialog::accept()
{
    // The warning below, or Qt's question before replacing a file, closes
    // over this dialog; when the dialog stays open, it gets the focus back.
    const FocusReturn focus(this);
    const QStringList files = selectedFiles();
    if (!files.isEmpty()) {
        const QFileInfo chosen(files.first());
        if (!chosen.isDir() && !chosen.absoluteDir().exists()) {
            QMessageBox::warning(this, windowTitle(),
                                 tr("The folder \"%1\" does not exist.").arg(chosen.absolutePath()));
            return;
        }
    }
    QFileDialog::accept();
}

OpenFileAnswer runOpenDialog(QWidget* owner, const OpenFileRequest& request)
{
    FileDialog dialog(owner, QFileDialog::AcceptOpen, request.filters, request.selectedFilter);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    else if (!request.folder.isEmpty() && QFileInfo(request.folder).isDir())
        dialog.setDirectory(request.folder);
    OpenFileAnswer answer;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return answer;
    answer.accepted = true;
    answer.path = dialog.selectedFiles().first();
    answer.selectedFilter = dialog.selectedFilterPosition();
    return answer;
}

SaveFileAnswer runSaveDialog(QWidget* owner, const SaveFileRequest& request)
{
    FileDialog dialog(owner, QFileDialog::AcceptSave, request.filters, 1);
    dialog.selectFile(request.fileName);
    SaveFileAnswer answer;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return answer;
    answer.accepted = true;
    answer.path = dialog.selectedFiles().first();
    answer.selectedFilter = dialog.selectedFilterPosition();
    return answer;
}

}  // namespace platform
