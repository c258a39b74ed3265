// Writing a report file: all of it or nothing, and every failure with the
// system's reason, whether the disk fills at the first byte or half-way.

#include "FileSizeLimit.h"
#include "ReportSaver.h"
#include "ScriptedDialogs.h"
#include "SmallDisk.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

#include <dlfcn.h>
#include <unistd.h>

namespace {

QStringList entries(const QString& folder) { return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden); }

const QByteArray earlier = "earlier report\r\n";

// One system call made to fail, for as long as this lives. The calls below
// are defined in the test program itself, so they come before the C
// library's for the program's own calls and for Qt's alike.
struct FailingCall {
    static inline const char* call = "";
    static inline int error = 0;

    FailingCall(const char* name, int errorNumber)
    {
        call = name;
        error = errorNumber;
    }
    ~FailingCall() { call = ""; }
    FailingCall(const FailingCall&) = delete;
    FailingCall& operator=(const FailingCall&) = delete;

    static bool fails(const char* name)
    {
        if (std::strcmp(call, name) != 0)
            return false;
        errno = error;
        return true;
    }
};

template <class Function>
Function next(const char* name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int fsync(int fd)
{
    static const auto real = next<int (*)(int)>("fsync");
    return FailingCall::fails("fsync") ? -1 : real(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept
{
    static const auto real = next<int (*)(const char*, const char*)>("rename");
    return FailingCall::fails("rename") ? -1 : real(from, to);
}

extern "C" int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) noexcept
{
    static const auto real = next<int (*)(int, const char*, int, const char*, int)>("linkat");
    return FailingCall::fails("linkat") ? -1 : real(fromFolder, from, toFolder, to, flags);
}

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

    // A file system that fails to sync (NFS, FUSE), or a commit whose rename
    // over the earlier report fails: the user is told why, and the earlier
    // report stays as it was, with nothing left beside it.
    void failingCall_data()
    {
        QTest::addColumn<QByteArray>("call");
        QTest::addColumn<int>("error");
        QTest::newRow("fsync, an input/output error") << QByteArray("fsync") << EIO;
        QTest::newRow("fsync, permission denied") << QByteArray("fsync") << EACCES;
        QTest::newRow("commit's rename, an input/output error") << QByteArray("rename") << EIO;
        QTest::newRow("commit's rename, permission denied") << QByteArray("rename") << EACCES;
        QTest::newRow("commit's link of the new file, permission denied") << QByteArray("linkat") << EACCES;
    }

    void failingCall()
    {
        QFETCH(QByteArray, call);
        QFETCH(int, error);
        QTemporaryDir folder;
        const QString path = folder.filePath("report.txt");
        writeTestFile(path, earlier);
        ScriptedDialogs dialogs;
        dialogs.saveAnswers = {{true, path}};
        bool saved;
        {
            const FailingCall failing(call.constData(), error);
            saved = results::SaveReport(nullptr, report::ReportInput{}, ".");
        }
        QVERIFY(!saved);
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages[0].text.startsWith(QStringLiteral("The report could not be saved to '%1': ").arg(path)),
                 qPrintable(dialogs.messages[0].text));
        QVERIFY2(dialogs.messages[0].text.contains(qt_error_string(error)), qPrintable(dialogs.messages[0].text));
        QCOMPARE(readTestFile(path), earlier);
        QCOMPARE(entries(folder.path()), QStringList({".", "..", "report.txt"}));

        // Once the call works again, so does saving.
        dialogs.saveAnswers = {{true, path}};
        QVERIFY(results::SaveReport(nullptr, report::ReportInput{}, "."));
        QVERIFY(readTestFile(path) != earlier);
    }
};

QTEST_MAIN(ReportSaverTest)
#include "ReportSaverTest.moc"
