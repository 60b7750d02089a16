#include "FileSizeLimit.h"
#include "core/AppState.h"
#include "files/GridFile.h"
#include "ui/GridModel.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(cannot read)");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

ui::GridModel *listGrid(QObject *parent, int rows)
{
    auto *grid = new ui::GridModel(5, parent);
    grid->setHeader({"No.s", "   Date", "   Time", "40mOhm", "4Voltage"});
    QList<QString> lines;
    for (int i = 1; i < rows; ++i)
        lines << QStringLiteral("%1\t2024/03/05\t10:00:00\t12.34\t3.700").arg(i);
    grid->addRows(lines);
    return grid;
}

} // namespace

class TestGridFile : public QObject
{
    Q_OBJECT
private slots:
    void writesEveryCellWithTabsAndCrLf_data();
    void writesEveryCellWithTabsAndCrLf();
    void captionCountsRowsAndIsRestored();
    void writerNeedsNoWindow();
    void failedSaveKeepsThePreviousFile();
    void saveStepReportsFailureNamingTheFile_data();
    void saveStepReportsFailureNamingTheFile();
    void saveDialogSetsPathAndChoice_data();
    void saveDialogSetsPathAndChoice();
};

void TestGridFile::writesEveryCellWithTabsAndCrLf_data()
{
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("real-time list") << QStringList{"No.s", "   Date", "   Time", "400mOhm", "40Voltage"}
                                    << QStringList{"1\t2024/03/05\t10:00:00\t123.4\t12.34",
                                                   "2\t2024/03/05\t10:00:02\tOL\t-OL"}
                                    << QByteArray("No.s\t   Date\t   Time\t400mOhm\t40Voltage\t\r\n"
                                                  "1\t2024/03/05\t10:00:00\t123.4\t12.34\t\r\n"
                                                  "2\t2024/03/05\t10:00:02\tOL\t-OL\t\r\n");
    QTest::newRow("header row only") << QStringList{"No.s", "Date", "Time", "Ohm", "Voltage"} << QStringList{}
                                     << QByteArray("No.s\tDate\tTime\tOhm\tVoltage\t\r\n");
    QTest::newRow("empty cells keep their tabs") << QStringList{"No.s", "", "", "", ""} << QStringList{"", "9"}
                                                 << QByteArray("No.s\t\t\t\t\t\r\n\t\t\t\t\t\r\n9\t\t\t\t\t\r\n");
}

void TestGridFile::writesEveryCellWithTabsAndCrLf()
{
    QFETCH(QStringList, header);
    QFETCH(QStringList, rows);
    QFETCH(QByteArray, file);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.Dvm"));
    ui::GridModel grid(5);
    grid.setHeader(header);
    for (const QString &row : rows)
        grid.addRow(row);
    QWidget window;
    QString error;
    QVERIFY2(files::WriteGridFile(window, grid, path, &error), qPrintable(error));
    QCOMPARE(contents(path), file);
}

void TestGridFile::captionCountsRowsAndIsRestored()
{
    QTemporaryDir dir;
    QWidget window;
    window.setWindowTitle(QStringLiteral("Real Time List"));
    ui::GridModel *grid = listGrid(&window, 2501);
    // Every caption shown, and the pointer busy while each is.
    QStringList captions;
    bool busyThroughout = true;
    QObject::connect(&window, &QWidget::windowTitleChanged, [&](const QString &caption) {
        captions << caption;
        busyThroughout = busyThroughout && QGuiApplication::overrideCursor();
    });
    QString error;
    QVERIFY(files::WriteGridFile(window, *grid, dir.filePath(QStringLiteral("a.Dvm")), &error));
    QCOMPARE(captions, (QStringList{"0Records Completed", "1000Records Completed", "2000Records Completed",
                                    "2500Records Completed", "Real Time List"}));
    QVERIFY(busyThroughout);
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(contents(dir.filePath(QStringLiteral("a.Dvm"))).count('\n'), 2501);
}

void TestGridFile::failedSaveKeepsThePreviousFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keep.Dvm"));
    const QByteArray previous("No.s\tDate\tTime\t4Ohm\t4Voltage\r\n1\t2024/03/05\t10:00:00\t1.234\t3.700\r\n");
    writeFile(path, previous);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Real Time List"));
    ui::GridModel *grid = listGrid(&window, 3000); // about 120 KB
    QString error;
    {
        FileSizeLimit limit(16 * 1024);
        QVERIFY(limit.ok());
        QVERIFY(!files::WriteGridFile(window, *grid, path, &error));
    }
    QVERIFY(!error.isEmpty());
    QCOMPARE(contents(path), previous);
    // No half-written temporary file left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.Dvm"});
    QCOMPARE(window.windowTitle(), QStringLiteral("Real Time List"));
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestGridFile::saveStepReportsFailureNamingTheFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ok");
    QTest::newRow("written") << "list.Dvm" << true;
    QTest::newRow("folder missing") << "missing/list.Dvm" << false;
}

void TestGridFile::saveStepReportsFailureNamingTheFile()
{
    QFETCH(QString, name);
    QFETCH(bool, ok);
    QTemporaryDir dir;
    core::AppState state;
    state.SavePath = dir.filePath(name);
    state.SaveChosen = true;
    ui::ScriptedDialogs dialogs;
    QWidget window;
    ui::GridModel *grid = listGrid(&window, 3);
    QCOMPARE(files::WriteGridFile(window, *grid, state, dialogs), ok);
    QVERIFY(!state.SaveChosen);
    QCOMPARE(QFile::exists(state.SavePath), ok);
    if (ok) {
        QVERIFY(dialogs.messages.isEmpty());
        return;
    }
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.at(0).icon, ui::Dialogs::Icon::Critical);
    const QString text = dialogs.messages.at(0).text;
    const QString opening = QStringLiteral("The file \"%1\" could not be written:\n").arg(state.SavePath);
    QVERIFY2(text.startsWith(opening), qPrintable(text));
    QVERIFY(text.size() > opening.size()); // a reason follows
}
void TestGridFile::saveDialogSetsPathAndChoice_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("savePath");
    QTest::addColumn<bool>("saveChosen");
    QTest::newRow("cancel keeps the path") << ""
                                           << "/data/before.Dvm" << false;
    QTest::newRow("no extension added") << "/data/run1"
                                        << "/data/run1" << true;
    QTest::newRow("with extension") << "/data/run2.Dvm"
                                    << "/data/run2.Dvm" << true;
    QTest::newRow("no file part") << "/data/folder/"
                                  << "/data/folder/" << false;
}

void TestGridFile::saveDialogSetsPathAndChoice()
{
    QFETCH(QString, answer);
    QFETCH(QString, savePath);
    QFETCH(bool, saveChosen);
    core::AppState state;
    state.SavePath = QStringLiteral("/data/before.Dvm");
    state.SaveChosen = !saveChosen;
    ui::ScriptedDialogs dialogs;
    dialogs.saveAnswers.enqueue(answer);
    QCOMPARE(files::SaveDialog(dialogs, nullptr, state), saveChosen);
    QCOMPARE(state.SavePath, savePath);
    QCOMPARE(state.SaveChosen, saveChosen);
    QCOMPARE(dialogs.filters, QStringList{"Dorvel (*.Dvm)|*.Dvm|All Files (*.*)|*.*|"});
}

void TestGridFile::writerNeedsNoWindow()
{
    ui::GridModel grid(2);
    grid.setHeader({"a", "b"});
    grid.addRow(QStringLiteral("1\tx"));
    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QVERIFY(files::writeGrid(grid, buffer));
    QCOMPARE(buffer.data(), QByteArray("a\tb\t\r\n1\tx\t\r\n"));
    // A device that takes nothing is a failure, not a short file reported as written.
    QBuffer closed;
    QVERIFY(closed.open(QIODevice::ReadOnly));
    QVERIFY(!files::writeGrid(grid, closed));
}

QTEST_MAIN(TestGridFile)
#include "tst_gridfile.moc"
