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

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
