#include "DataFileDrop.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

bool isDataFile(const QFileInfo& file) { return file.exists() && !file.isDir(); }

QString droppedDataFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    const QFileInfo file(urls.first().toLocalFile());
    return isDataFile(file) ? file.absoluteFilePath() : QString();
}

Qt::DropAction dataFileDropAction(Qt::DropActions offered)
{
    if (offered & Qt::CopyAction)
        return Qt::CopyAction;
    if (offered & Qt::LinkAction)
        return Qt::LinkAction;
    return Qt::IgnoreAction;
}
