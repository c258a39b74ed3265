// Writing a report file: all of it or nothing, and every failure with the
// system's reason, whether the disk fills at the first byte or half-way.

#include "FileSizeLimit.h"
#include "ReportSaver.h"
#include "SmallDisk.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

namespace {

QStringList entries(const QString& folder) { return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden); }

const QByteArray earlier = "earlier report\r\n";

}  // namespace

class ReportSaverTest : public QObject {
    Q_OBJECT

private slots:
    void writesAndReplaces_data()
    {
        QTest::addColumn<qsizetype>("size");
        QTest::newRow("empty") << qsizetype{0};
        QTest::newRow("a report") << qsizetype{700};
        QTest::newRow("16 KiB") << qsizetype{16384};
        QTest::newRow("1 MiB") << qsizetype{1 << 20};
    }

    void writesAndReplaces()
    {
        QFETCH(qsizetype, size);
        QTemporaryDir folder;
        const QString path = folder.filePath("report.txt");
        writeTestFile(path, earlier);
        QByteArray bytes(size, 'r');
        for (qsizetype i = 0; i < size; ++i)
            bytes[i] = static_cast<char>('a' + i % 26);
        QCOMPARE(results::writeWholeFile(path, bytes), QString());
        QCOMPARE(readTestFile(path), bytes);
        QCOMPARE(entries(folder.path()), QStringList({".", "..", "report.txt"}));
    }

    // RLIMIT_FSIZE makes writes past the limit fail with EFBIG, as a full
    // disk makes them fail with ENOSPC: the first write, or one half-way.
    void fileSizeLimit_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<qsizetype>("size");
        QTest::newRow("no room for a report") << 0 << qsizetype{700};
        QTest::newRow("a report cut short") << 100 << qsizetype{700};
        QTest::newRow("16 KiB with room for 4") << 4096 << qsizetype{16384};
        QTest::newRow("1 MiB with room for 64 KiB") << 65536 << qsizetype{1 << 20};
    }

    void fileSizeLimit()
    {
        QFETCH(int, limit);
        QFETCH(qsizetype, size);
        QTemporaryDir folder;
        const QString path = folder.filePath("report.txt");
        writeTestFile(path, earlier);
        QString reason;
        {
            const FileSizeLimit lowered(static_cast<rlim_t>(limit));
            QVERIFY(lowered.active());
            reason = results::writeWholeFile(path, QByteArray(size, 'x'));
        }
        QCOMPARE(reason, qt_error_string(EFBIG));
        QCOMPARE(readTestFile(path), earlier);
        QCOMPARE(entries(folder.path()), QStringList({".", "..", "report.txt"}));
    }

    // A real full disk: the write lands in Qt's buffer and only the final
    // flush meets ENOSPC, which a plain QSaveFile commit() lets pass.
    void fullDisk_data()
    {
        QTest::addColumn<qint64>("free");
        QTest::addColumn<qsizetype>("size");
        QTest::newRow("full, a report") << qint64{0} << qsizetype{700};
        QTest::newRow("4 KiB free, 16 KiB") << qint64{4096} << qsizetype{16384};
    }

    void fullDisk()
    {
        QFETCH(qint64, free);
        QFETCH(qsizetype, size);
        const SmallDisk disk("64k");
        if (!disk.mounted())
            QSKIP("mounting a tmpfs is not permitted here");
        const QString path = disk.filePath("report.txt");
        writeTestFile(path, earlier);  // one page
        const qint64 room = 60 * 1024 - free;
        QCOMPARE(disk.fill("filler", room), room);

        QCOMPARE(results::writeWholeFile(path, QByteArray(size, 'x')), qt_error_string(ENOSPC));
        QCOMPARE(readTestFile(path), earlier);
        QCOMPARE(entries(disk.path()), QStringList({".", "..", "filler", "report.txt"}));
    }
};

QTEST_MAIN(ReportSaverTest)
#include "ReportSaverTest.moc"
