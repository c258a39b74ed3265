#pragma once
// Writing a window test's data files into its temporary folder.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

inline QString writeTestFile(const QTemporaryDir& folder, const QString& name, const QByteArray& bytes)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}
