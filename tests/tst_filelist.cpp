#include "core/AppState.h"
#include "files/FileFormat.h"
#include "files/FileListWindow.h"
#include "files/FileReader.h"
#include "ui/GridModel.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QAction>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <sys/stat.h>

namespace {

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test file");
    return path;
}

QList<QStringList> gridRows(const ui::GridModel &grid)
{
    QList<QStringList> out;
    for (int r = 0; r < grid.rows(); ++r) {
        QStringList row;
        for (int c = 0; c < grid.cols(); ++c)
            row << grid.text(r, c);
        out << row;
    }
    return out;
}

// A recording of the given number of samples below its header.
QByteArray recording(int samples)
{
    QByteArray bytes("No.s\tDate\tTime\t40mOhm\t4Voltage\r\n");
    for (int n = 1; n <= samples; ++n)
        bytes += QByteArray::number(n) + "\t2024/03/05\t10:00:00\t12.34\t3.700\r\n";
    return bytes;
}

const QStringList Titles{"No.s", "Date", "Time", "Ohm", "Voltage"};

struct Rig
{
    core::AppState state;
    ui::ScriptedDialogs dialogs;
    files::FileListWindow window{state, dialogs};

    // Loads and waits for the end; false when finished() never came.
    bool load(const QString &path, bool *ok = nullptr)
    {
        QSignalSpy finished(&window, &files::FileListWindow::finished);
        window.load(path);
        if (!finished.wait(10000))
            return false;
        if (ok)
            *ok = finished.at(0).at(0).toBool();
        return true;
    }
    QToolBar *toolbar() const { return window.findChild<QToolBar *>(QStringLiteral("Toolbar1")); }
};

// Hands out its bytes, then fails the way a dying disk or a pulled stick does.
class FailingDevice final : public QIODevice
{
public:
    explicit FailingDevice(QByteArray bytes)
        : m_bytes(std::move(bytes))
    {
        open(QIODevice::ReadOnly);
    }

protected:
    qint64 readData(char *data, qint64 max) override
    {
        if (m_pos >= m_bytes.size()) {
            setErrorString(QStringLiteral("Input/output error"));
            return -1;
        }
        const qint64 n = std::min<qint64>(max, m_bytes.size() - m_pos);
        memcpy(data, m_bytes.constData() + m_pos, static_cast<size_t>(n));
        m_pos += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_pos = 0;
};

} // namespace

class TestFileList : public QObject
{
    Q_OBJECT
private slots:
    void opensEmptyWithItsControls();
    void filesOfEveryWriterLoad_data();
    void filesOfEveryWriterLoad();
    void captionCountsWhileLoadingAndEventsRun();
    void unreadableFilesAreReported_data();
    void unreadableFilesAreReported();
    void failureMidwayKeepsTheRowsRead();
    void slicesOfAnySizeGiveTheSameRows_data();
    void slicesOfAnySizeGiveTheSameRows();
    void junkBytesLoad();
    void secondLoadReplacesTheFirst();
    void closingWhileLoadingIsSafe();
    void toolbarDispatchesOnTheExactKey_data();
    void toolbarDispatchesOnTheExactKey();
};

void TestFileList::opensEmptyWithItsControls()
{
    Rig rig;
    QCOMPARE(rig.window.windowTitle(), QStringLiteral("FileList"));
    QStringList tips;
    for (QAction *action : rig.toolbar()->actions()) {
        tips << action->toolTip();
        QVERIFY(!action->icon().isNull());
    }
    QCOMPARE(tips, (QStringList{"Plot", "Print"}));
    QCOMPARE(gridRows(rig.window.grid()), QList<QStringList>{Titles});
}

void TestFileList::filesOfEveryWriterLoad_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("ohm");
    QTest::addColumn<QString>("volt");
    QTest::addColumn<QList<QStringList>>("rows");

    const QStringList one{"1", "2024/03/05", "10:00:00", "12.34", "3.700"};
    const QStringList two{"2", "2024/03/05", "10:00:02", "OL", "-3.701"};
    // A recording and a Data List's file are opened back in the end-to-end tests; line ends,
    // commas and quotes are split as tst_fileformat and tst_grid check, ranges found in
    // headers as tst_fileformat does.
    QTest::newRow("real-time list") << QByteArray("No.s\t   Date\t   Time\t400mOhm\t40Voltage\t\r\n"
                                                  "1\t2024/03/05\t10:00:00\t12.34\t3.700\t\r\n"
                                                  "2\t2024/03/05\t10:00:02\tOL\t-3.701\t\r\n")
                                    << "400m"
                                    << "40" << QList<QStringList>{Titles, one, two};
    QTest::newRow("header only") << QByteArray("No.s\tDate\tTime\t40mOhm\t40Voltage\r\n") << "40m"
                                 << "40" << QList<QStringList>{Titles};
    QTest::newRow("empty file") << QByteArray() << "before"
                                << "before" << QList<QStringList>{Titles};
    QTest::newRow("header names the voltage only")
        << QByteArray("No.s\tDate\tTime\tOhm\t4 Voltage\t\r\n1\r\n") << "before"
        << "4" << QList<QStringList>{Titles, {"1", "", "", "", ""}};
}

void TestFileList::filesOfEveryWriterLoad()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, ohm);
    QFETCH(QString, volt);
    QFETCH(QList<QStringList>, rows);
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("cell 7.Dvm"), bytes);
    Rig rig;
    rig.state.FileOhmRange = QStringLiteral("before");
    rig.state.FileVoltRange = QStringLiteral("before");
    bool ok = false;
    QVERIFY(rig.load(path, &ok));
    QVERIFY(ok);
    QCOMPARE(gridRows(rig.window.grid()), rows);
    QCOMPARE(rig.window.windowTitle(), QStringLiteral("cell 7.Dvm"));
    QCOMPARE(rig.state.FileOhmRange, ohm);
    QCOMPARE(rig.state.FileVoltRange, volt);
    QVERIFY(rig.dialogs.messages.isEmpty());
    QVERIFY(!rig.window.isLoading());
}

void TestFileList::captionCountsWhileLoadingAndEventsRun()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("long.Dvm"), recording(40000));

    Rig rig;
    QStringList captions;
    QObject::connect(&rig.window, &QWidget::windowTitleChanged, &rig.window,
                     [&captions](const QString &caption) { captions << caption; });
    int ticks = 0;
    QTimer other;
    QObject::connect(&other, &QTimer::timeout, &other, [&] { ++ticks; });
    other.start(0);
    QSignalSpy finished(&rig.window, &files::FileListWindow::finished);
    rig.window.load(path);
    // Nothing is read before the event loop runs.
    QCOMPARE(rig.window.grid().rows(), 1);
    QVERIFY(rig.window.isLoading());
    QVERIFY(finished.wait(10000));
    QCOMPARE(rig.window.grid().rows(), 40001);
    QCOMPARE(rig.window.grid().text(40000, 0), QStringLiteral("40000"));

    QVERIFY(captions.size() >= 4);
    QCOMPARE(captions.first(), QStringLiteral("long.Dvm"));
    QCOMPARE(captions.last(), QStringLiteral("long.Dvm"));
    const QRegularExpression counting(QStringLiteral("^(\\d+) Records Completed$"));
    int previous = 0;
    for (qsizetype i = 1; i + 1 < captions.size(); ++i) {
        const auto match = counting.match(captions.at(i));
        QVERIFY2(match.hasMatch(), qPrintable(captions.at(i)));
        QVERIFY(match.captured(1).toInt() > previous);
        previous = match.captured(1).toInt();
    }
    QCOMPARE(previous, 40001); // every line, the header included
    // Other timers ran between the slices.
    QVERIFY(ticks >= captions.size() - 3);
}

void TestFileList::unreadableFilesAreReported_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing.Dvm"
                             << "";
    QTest::newRow("a folder") << "folder"
                              << "";
    QTest::newRow("a pipe") << "pipe"
                            << "Not a regular file";
    QTest::newRow("a read error") << "/proc/self/mem"
                                  << "";
}

void TestFileList::unreadableFilesAreReported()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe"))).constData(), 0600), 0);
    const QString path = name.startsWith(QLatin1Char('/')) ? name : dir.filePath(name);

    Rig rig;
    bool ok = true;
    QVERIFY(rig.load(path, &ok));
    QVERIFY(!ok);
    QCOMPARE(rig.window.grid().rows(), 1);
    QCOMPARE(rig.window.windowTitle(), QFileInfo(path).fileName());
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QCOMPARE(rig.dialogs.messages.at(0).icon, ui::Dialogs::Icon::Critical);
    const QString text = rig.dialogs.messages.at(0).text;
    const QString opening = QStringLiteral("The file \"%1\" could not be read:\n").arg(path);
    QVERIFY2(text.startsWith(opening), qPrintable(text));
    QVERIFY2(text.size() > opening.size(), qPrintable(text)); // the reason
    if (!reason.isEmpty())
        QCOMPARE(text.mid(opening.size()), reason);
}

void TestFileList::failureMidwayKeepsTheRowsRead()
{
    ui::GridModel grid(5);
    files::FileReader reader(grid);
    reader.setSlice(2, 16);
    QSignalSpy finished(&reader, &files::FileReader::finished);
    reader.start(std::make_unique<FailingDevice>("No.s\t4Ohm\t4Voltage\r\n1\ta\r\n2\tb\r\n3\tc"));
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.at(0).at(0).toBool(), false);
    QCOMPARE(finished.at(0).at(1).toString(), QStringLiteral("Input/output error"));
    // The last line had no line end when the device failed: it is not known to be whole.
    QCOMPARE(grid.rows(), 3);
    QCOMPARE(grid.text(2, 1), QStringLiteral("b"));
    QCOMPARE(reader.ranges().ohm, std::optional<QString>(QStringLiteral("4")));
    QVERIFY(!reader.isReading());
}

void TestFileList::slicesOfAnySizeGiveTheSameRows_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("blockBytes");
    QTest::newRow("a line, a byte") << 1 << 1;
    QTest::newRow("2 lines, 7 bytes") << 2 << 7;
    QTest::newRow("5 lines, 3 bytes") << 5 << 3;
    QTest::newRow("all at once") << 100000 << (1 << 20);
}

void TestFileList::slicesOfAnySizeGiveTheSameRows()
{
    QFETCH(int, lines);
    QFETCH(int, blockBytes);
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("s.Dvm"),
                                   "No.s\tDate\tTime\t4Ohm\t4Voltage\r\n1\t2024/03/05\r\n\r\n2\tx\n3\ty\t\tz\r\n4");
    ui::GridModel grid(5);
    files::FileReader reader(grid);
    reader.setSlice(lines, blockBytes);
    QSignalSpy finished(&reader, &files::FileReader::finished);
    QSignalSpy progress(&reader, &files::FileReader::progress);
    reader.start(path);
    QVERIFY(finished.wait(5000));
    QVERIFY(finished.at(0).at(0).toBool());
    QCOMPARE(gridRows(grid), (QList<QStringList>{{"", "", "", "", ""},
                                                 {"1", "2024/03/05", "", "", ""},
                                                 {"", "", "", "", ""},
                                                 {"2", "x", "", "", ""},
                                                 {"3", "y", "", "z", ""},
                                                 {"4", "", "", "", ""}}));
    QCOMPARE(reader.linesRead(), 6);
    QCOMPARE(progress.last().at(0).toInt(), 6);
    if (lines < 6)
        QVERIFY(progress.count() >= 6 / lines);
}

void TestFileList::junkBytesLoad()
{
    QTemporaryDir dir;
    QRandomGenerator random(20240305);
    QByteArray junk(300 * 1024, Qt::Uninitialized);
    for (char &c : junk) {
        // Plenty of the bytes that matter to the reader among the rest.
        const quint32 pick = random.bounded(16);
        c = pick == 0   ? '\n'
            : pick == 1 ? '\r'
            : pick == 2 ? '\t'
            : pick == 3 ? '\0'
            : pick == 4 ? ','
                        : char(random.bounded(256));
    }
    const QString path = writeFile(dir, QStringLiteral("junk.bin"), junk);
    Rig rig;
    bool ok = false;
    QVERIFY(rig.load(path, &ok));
    QVERIFY(ok);
    const QStringList lines = files::splitLines(junk);
    QCOMPARE(rig.window.grid().rows(), lines.size());
    ui::GridModel expected(5);
    expected.setHeader(Titles);
    expected.addRows(lines.mid(1));
    QCOMPARE(gridRows(rig.window.grid()), gridRows(expected));
    QCOMPARE(rig.window.windowTitle(), QStringLiteral("junk.bin"));
}

void TestFileList::secondLoadReplacesTheFirst()
{
    QTemporaryDir dir;
    const QString first = writeFile(dir, QStringLiteral("big.Dvm"), recording(30000));
    const QString second = writeFile(dir, QStringLiteral("small.Dvm"),
                                     "No.s\tDate\tTime\t4Ohm\t40Voltage\r\n1\t2025/01/01\t00:00:00\t1.000\t12.00\r\n");
    Rig rig;
    QSignalSpy finished(&rig.window, &files::FileListWindow::finished);
    rig.window.load(first);
    QTimer::singleShot(0, &rig.window, [&] { rig.window.load(second); });
    QVERIFY(finished.wait(10000));
    QTest::qWait(50);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(gridRows(rig.window.grid()),
             (QList<QStringList>{Titles, {"1", "2025/01/01", "00:00:00", "1.000", "12.00"}}));
    QCOMPARE(rig.window.windowTitle(), QStringLiteral("small.Dvm"));
    QCOMPARE(rig.state.FileOhmRange, QStringLiteral("4"));
}

void TestFileList::closingWhileLoadingIsSafe()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("big.Dvm"), recording(30000));
    core::AppState state;
    ui::ScriptedDialogs dialogs;
    auto *window = new files::FileListWindow(state, dialogs);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->load(path);
    QPointer<files::FileListWindow> alive(window);
    QTimer::singleShot(0, window, &QWidget::close);
    QTRY_VERIFY(alive.isNull());
    QTest::qWait(20);
    QVERIFY(dialogs.messages.isEmpty());
}

void TestFileList::toolbarDispatchesOnTheExactKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("plots");
    QTest::addColumn<int>("prints");
    QTest::newRow("Plot") << "Plot" << 1 << 0;
    QTest::newRow("Print") << "Print" << 0 << 1;
    QTest::newRow("plot") << "plot" << 0 << 0;
    QTest::newRow("PRINT") << "PRINT" << 0 << 0;
    QTest::newRow("Print with a blank") << "Print " << 0 << 0;
    QTest::newRow("Save") << "Save" << 0 << 0;
    QTest::newRow("nothing") << "" << 0 << 0;
}

void TestFileList::toolbarDispatchesOnTheExactKey()
{
    QFETCH(QString, key);
    QFETCH(int, plots);
    QFETCH(int, prints);
    Rig rig;
    QSignalSpy plot(&rig.window, &files::FileListWindow::plotRequested);
    QSignalSpy print(&rig.window, &files::FileListWindow::printRequested);
    rig.window.buttonClick(key);
    QCOMPARE(plot.count(), plots);
    QCOMPARE(print.count(), prints);
    // The buttons themselves go through the same dispatch.
    for (QAction *action : rig.toolbar()->actions()) {
        if (action->objectName() == key)
            action->trigger();
    }
    QCOMPARE(plot.count(), 2 * plots);
    QCOMPARE(print.count(), 2 * prints);
}

QTEST_MAIN(TestFileList)
#include "tst_filelist.moc"
