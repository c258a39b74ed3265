#pragma once
// A small tmpfs mounted for one test, to fill up for real. Mounting needs
// privileges; without them mounted() is false and the test skips.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>

#include <sys/mount.h>

class SmallDisk {
public:
    explicit SmallDisk(const char* size = "64k")
    {
        const QByteArray options = QByteArray("size=") + size + ",mode=0700";
        mounted_ = folder_.isValid() && ::mount("tmpfs", QFile::encodeName(folder_.path()).constData(), "tmpfs",
                                                MS_NOSUID | MS_NODEV, options.constData()) == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(QFile::encodeName(folder_.path()).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    QString filePath(const QString& name) const { return folder_.filePath(name); }
    QString path() const { return folder_.path(); }

    // Writes name with as many bytes as fit, up to size; returns how many did.
    qint64 fill(const QString& name, qint64 size) const
    {
        QFile file(filePath(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return 0;
        const QByteArray block(4096, 'f');
        qint64 written = 0;
        while (written < size) {
            const qint64 step = file.write(block.constData(), std::min<qint64>(block.size(), size - written));
            if (step <= 0)
                break;
            written += step;
        }
        return written;
    }

private:
    QTemporaryDir folder_;
    bool mounted_ = false;
};
