#include "FileSizeLimit.h"
#include "files/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(cannot read)");
}

} // namespace

class TestRecordFile : public QObject
{
    Q_OBJECT
private slots:
    void linesEndInCrLfAndAreOnDiskAtOnce();
    void openFailureNamesTheReason_data();
    void openFailureNamesTheReason();
    void fullDeviceFailsTheLineAndCloses();
    void partlyWrittenLineIsTakenBack();
    void everyLineIsSyncedAfterItIsWritten();
    void restoredFileIsSynced();
    void failingSyncFailsTheLineAndCloses();
};

void TestRecordFile::linesEndInCrLfAndAreOnDiskAtOnce()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rec.Dvm"));
    files::RecordFile file;
    QString error;
    QVERIFY(file.open(path, &error));
    QVERIFY(file.isOpen());
    QCOMPARE(file.path(), path);
    QVERIFY(file.appendLine(QStringLiteral("No.s\tDate\tTime\t40mOhm\t4Voltage"), &error));
    // Another reader sees the line while the file is still open.
    QCOMPARE(contents(path), QByteArray("No.s\tDate\tTime\t40mOhm\t4Voltage\r\n"));
    QVERIFY(file.appendLine(QStringLiteral("1\t2024/03/05\t09:07:03\t12.34\t3.700"), &error));
    QCOMPARE(contents(path), QByteArray("No.s\tDate\tTime\t40mOhm\t4Voltage\r\n"
                                        "1\t2024/03/05\t09:07:03\t12.34\t3.700\r\n"));
    file.close();
    QVERIFY(!file.isOpen());
    file.close();
}

void TestRecordFile::openFailureNamesTheReason_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("folder removed") << "gone/rec.Dvm";
    QTest::newRow("a folder") << "folder";
    QTest::newRow("empty name") << "";
}

void TestRecordFile::openFailureNamesTheReason()
{
    QFETCH(QString, where);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("gone")));
    QVERIFY(QDir(dir.path()).rmdir(QStringLiteral("gone")));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    files::RecordFile file;
    QString error;
    QVERIFY(!file.open(where.isEmpty() ? QString() : dir.filePath(where), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!file.isOpen());
    // Nor can a line be added to the file that did not open.
    error.clear();
    QVERIFY(!file.appendLine(QStringLiteral("x"), &error));
    QVERIFY(!error.isEmpty());
}

void TestRecordFile::fullDeviceFailsTheLineAndCloses()
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full here");
    files::RecordFile file;
    QString error;
    QVERIFY(file.open(QStringLiteral("/dev/full"), &error));
    QVERIFY(!file.appendLine(QStringLiteral("1\t2024/03/05\t09:07:03\t12.34\t3.700"), &error));
    QVERIFY2(error.contains(QStringLiteral("No space left on device")), qPrintable(error));
    QVERIFY(!file.isOpen());
}

void TestRecordFile::partlyWrittenLineIsTakenBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rec.Dvm"));
    files::RecordFile file;
    QString error;
    QVERIFY(file.open(path, &error));
    const QString line = QStringLiteral("12345\t2024/03/05\t09:07:03\t12.34"); // 32 bytes with CR LF
    {
        // Room for three lines and a half.
        FileSizeLimit limit(3 * 32 + 16);
        QVERIFY(limit.ok());
        for (int i = 0; i < 3; ++i)
            QVERIFY2(file.appendLine(line, &error), qPrintable(error));
        QVERIFY(!file.appendLine(line, &error));
    }
    QVERIFY2(error.contains(QStringLiteral("too large"), Qt::CaseInsensitive), qPrintable(error));
    QVERIFY(!file.isOpen());
    const QByteArray expected = (line.toLatin1() + "\r\n").repeated(3);
    QCOMPARE(contents(path), expected);
}

// A sync that notes the size of the file on each call, and fails when told to.
struct SyncSpy
{
    QList<qint64> sizesSynced;
    QString failWith;
    files::RecordFile::Sync sync()
    {
        return [this](int handle, QString *reason) {
            QFile f;
            f.open(handle, QIODevice::ReadOnly, QFileDevice::DontCloseHandle);
            sizesSynced << f.size();
            if (failWith.isEmpty())
                return true;
            *reason = failWith;
            return false;
        };
    }
};

void TestRecordFile::everyLineIsSyncedAfterItIsWritten()
{
    QTemporaryDir dir;
    SyncSpy spy;
    files::RecordFile file(spy.sync());
    QString error;
    QVERIFY(file.open(dir.filePath(QStringLiteral("rec.Dvm")), &error));
    QVERIFY(spy.sizesSynced.isEmpty());
    QVERIFY(file.appendLine(QStringLiteral("No.s\tDate\tTime\t40mOhm\t4Voltage"), &error));    // 32 bytes
    QVERIFY(file.appendLine(QStringLiteral("1\t2024/03/05\t09:07:03\t12.34\t3.700"), &error)); // 35 bytes
    QVERIFY(file.appendLine(QStringLiteral("2\t2024/03/05\t09:07:04\t12.35\t3.700"), &error));
    // One sync a line, each with the whole line already written.
    QCOMPARE(spy.sizesSynced, (QList<qint64>{32, 67, 102}));
}

void TestRecordFile::restoredFileIsSynced()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rec.Dvm"));
    SyncSpy spy;
    files::RecordFile file(spy.sync());
    QString error;
    QVERIFY(file.open(path, &error));
    QVERIFY(file.appendLine(QStringLiteral("No.s\tDate\tTime\t40mOhm\t4Voltage"), &error));
    QCOMPARE(file.ensureOnDisk(&error), files::RecordFile::OnDisk::Present);
    QCOMPARE(spy.sizesSynced.size(), 1);
    QVERIFY(QFile::remove(path));
    QCOMPARE(file.ensureOnDisk(&error), files::RecordFile::OnDisk::Restored);
    QCOMPARE(spy.sizesSynced, (QList<qint64>{32, 32}));
    QCOMPARE(contents(path), QByteArray("No.s\tDate\tTime\t40mOhm\t4Voltage\r\n"));

    // A restore whose sync fails is no restore.
    QVERIFY(QFile::remove(path));
    spy.failWith = QStringLiteral("Input/output error");
    QCOMPARE(file.ensureOnDisk(&error), files::RecordFile::OnDisk::Failed);
    QCOMPARE(error, QStringLiteral("Input/output error"));
    QVERIFY(!file.isOpen());
}

void TestRecordFile::failingSyncFailsTheLineAndCloses()
{
    QTemporaryDir dir;
    SyncSpy spy;
    files::RecordFile file(spy.sync());
    QString error;
    QVERIFY(file.open(dir.filePath(QStringLiteral("rec.Dvm")), &error));
    QVERIFY(file.appendLine(QStringLiteral("No.s\tDate\tTime\t40mOhm\t4Voltage"), &error));
    spy.failWith = QStringLiteral("Input/output error");
    QVERIFY(!file.appendLine(QStringLiteral("1\t2024/03/05\t09:07:03\t12.34\t3.700"), &error));
    QCOMPARE(error, QStringLiteral("Input/output error"));
    QVERIFY(!file.isOpen());
    // The system's own sync on a real file succeeds.
    QString reason;
    QFile real(dir.filePath(QStringLiteral("real.Dvm")));
    QVERIFY(real.open(QIODevice::WriteOnly));
    QVERIFY(files::RecordFile::syncToDisk(real.handle(), &reason));
}

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
