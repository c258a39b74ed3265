#include "ReportSaver.h"

#include "Dialogs.h"
#include "WidthStatistics.h"

#include <QDir>
#include <QSaveFile>

namespace results {

QString writeWholeFile(const QString& path, const QByteArray& bytes)
{
    // QSaveFile writes beside the target and renames over it on commit, so a
    // failure half-way leaves the earlier file as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

bool SaveReport(QWidget* owner, const report::ReportInput& input, std::string_view decimalSeparator)
{
    platform::SaveFileRequest request;
    request.filters = platform::parseFilterText(QStringLiteral("Text File (*.txt)|*.txt"));
    // Proposed afresh every time; the last chosen path is not offered again.
    request.fileName = QString::fromStdString(report::proposedReportName(
        input.selections.faceText, input.selections.sizeText, input.dataFileTitle));

    const platform::SaveFileAnswer answer = platform::dialogs().saveFile(owner, request);
    if (!answer.accepted)
        return false;

    // The path counts as the last report once confirmed, even if writing fails.
    engine::WidthStatistics.ReportPath = answer.path.toStdString();

    const QByteArray bytes = QByteArray::fromStdString(report::reportText(input, decimalSeparator));
    QString reason = writeWholeFile(answer.path, bytes);
    if (reason.isEmpty())
        return true;

    while (reason.endsWith(u'.'))
        reason.chop(1);
    platform::dialogs().message(owner, QStringLiteral("Spanwick"),
                                QStringLiteral("The report could not be saved to '%1': %2.")
                                    .arg(QDir::toNativeSeparators(answer.path), reason),
                                platform::MessageIcon::Critical);
    return false;
}

}  // namespace results
