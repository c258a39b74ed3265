#include "ReportSaver.h"

#include "AppInfo.h"
#include "Dialogs.h"
#include "MeasuredReport.h"
#include "WidthStatistics.h"

#include <QDir>
#include <QSaveFile>

#include <cerrno>

#include <unistd.h>

namespace results {

QString writeWholeFile(const QString& path, const QByteArray& bytes)
{
    // QSaveFile writes beside the target and renames over it on commit, so a
    // failure half-way leaves the earlier file as it was. Unbuffered, every
    // write reaches the file system here and its failure is seen with the
    // system's reason: Qt 6.4's commit() renames even when the final flush
    // of a buffered write has failed, and a short write carries no reason.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    const auto discard = [&file] {
        const QString reason = file.errorString();
        file.cancelWriting();  // the temporary file goes with the QSaveFile
        return reason;
    };
    // A short write is retried for the rest; the retry reports why it stopped.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return discard();
        done += written;
    }
    if (!file.flush())
        return discard();
    // Some file systems (NFS, FUSE) report a failed write only when syncing;
    // commit() syncs too but ignores the answer. One that cannot sync at
    // all has lost nothing.
    if (::fsync(file.handle()) != 0 && errno != EINVAL && errno != ENOTSUP) {
        const QString reason = qt_error_string(errno);
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

QByteArray savedBytes(SaveType type, const report::ReportInput& input, std::string_view decimalSeparator)
{
    switch (type) {
    case SaveType::ReportWithMeasuredFits:
        return QByteArray::fromStdString(report::measuredReportText(input, decimalSeparator));
    case SaveType::Json:
        return QByteArray::fromStdString(input.measured.json);
    case SaveType::Report:
        break;
    }
    return QByteArray::fromStdString(report::reportText(input, decimalSeparator));
}

bool SaveReport(QWidget* owner, const report::ReportInput& input, std::string_view decimalSeparator)
{
    platform::SaveFileRequest request;
    request.filters = platform::parseFilterText(QString::fromLatin1(saveFilterText));
    // Proposed afresh every time; the last chosen path is not offered again.
    request.fileName = QString::fromStdString(report::proposedReportName(input));

    const platform::SaveFileAnswer answer = platform::dialogs().saveFile(owner, request);
    if (!answer.accepted)
        return false;

    // The path counts as the last report once confirmed, even if writing fails.
    engine::WidthStatistics.ReportPath = answer.path.toStdString();

    const auto type = answer.selectedFilter >= 1 && answer.selectedFilter <= 3 ? SaveType(answer.selectedFilter)
                                                                                : SaveType::Report;
    QString reason = writeWholeFile(answer.path, savedBytes(type, input, decimalSeparator));
    if (reason.isEmpty())
        return true;
    tellNotSaved(owner, QStringLiteral("report"), answer.path, reason);
    return false;
}

void tellNotSaved(QWidget* owner, const QString& what, const QString& path, QString reason)
{
    while (reason.endsWith(u'.'))
        reason.chop(1);
    platform::dialogs().message(owner, QString::fromUtf8(appinfo::title),
                                QStringLiteral("The %1 could not be saved to '%2': %3.")
                                    .arg(what, QDir::toNativeSeparators(path), reason),
                                platform::MessageIcon::Critical);
}

}  // namespace results
