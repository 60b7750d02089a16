// Takes the pictures of the user manuals from the program itself: each window is built
// over test doubles (a meter fed with frames, scripted dialogs, a fixed clock), given a
// plausible content, and grabbed offscreen into OUTDIR/<name>.png.
//
//   dorvel-snapshots OUTDIR
//   dorvel-snapshots --medium-pictures OUTDIR   (the installation medium's pictures)
#include "core/AppState.h"
#include "files/FileListWindow.h"
#include "logger/DataListWindow.h"
#include "logger/MemoryWindow.h"
#include "meter/PortWindow.h"
#include "panel/CommandBar.h"
#include "panel/Panel.h"
#include "panel/WindowRegistry.h"
#include "plot/PlotRangeWindow.h"
#include "plot/PlotWindow.h"
#include "realtime/RealTimeGraph.h"
#include "realtime/RealTimeList.h"
#include "realtime/RealTimeRange.h"
#include "ui/AppIcon.h"
#include "ui/fakes/FakeClock.h"
#include "ui/fakes/FakePortEnumerator.h"
#include "ui/fakes/FakeSerialPort.h"
#include "ui/fakes/RecordingShell.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QtMath>
#include <functional>

namespace {

// One live frame: 0x02, resistance and voltage counts big-endian, status, 0x03.
QByteArray frame(int ohm, int volt, int status)
{
    const char bytes[] = {0x02, char(ohm >> 8), char(ohm & 0xFF), char(volt >> 8), char(volt & 0xFF), char(status),
                          0x03};
    return QByteArray(bytes, sizeof bytes);
}

// A discharge-like measurement file of a cell, in the 40 mOhm and 4 V ranges.
bool writeSampleFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QTextStream out(&file);
    out << "No.s\tDate\tTime\t40mOhm\t4Voltage\t\r\n";
    QDateTime t(QDate(2026, 12, 7), QTime(9, 30, 0));
    for (int i = 1; i <= 240; ++i, t = t.addSecs(2)) {
        const double ohm = 24.6 + 1.8 * qSin(i / 23.0) + 0.004 * i;
        const double volt = 3.712 - 0.0009 * i + 0.01 * qCos(i / 17.0);
        out << i << '\t' << t.toString("yyyy/MM/dd") << '\t' << t.toString("HH:mm:ss") << '\t'
            << QString::number(ohm, 'f', 2) << '\t' << QString::number(volt, 'f', 3) << "\t\r\n";
    }
    return true;
}

bool save(QWidget *window, const QString &folder, const QString &name)
{
    if (!window) {
        QTextStream(stderr) << "dorvel-snapshots: no window for " << name << '\n';
        return false;
    }
    const bool ok = window->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
    if (!ok)
        QTextStream(stderr) << "dorvel-snapshots: could not write " << name << ".png\n";
    return ok;
}

// Steps run one after another, each after the delay it asks for, so readings can arrive.
class Script : public QObject
{
public:
    void then(int delayMs, std::function<void()> step) { m_steps.append({delayMs, std::move(step)}); }
    void run()
    {
        if (m_steps.isEmpty()) {
            QApplication::exit(m_failed ? 1 : 0);
            return;
        }
        auto [delay, step] = m_steps.takeFirst();
        QTimer::singleShot(delay, this, [this, step] {
            step();
            run();
        });
    }
    void fail() { m_failed = true; }

private:
    QList<QPair<int, std::function<void()>>> m_steps;
    bool m_failed = false;
};

} // namespace

// The logger's answer to "U": a byte, the memory's end address (from 0x4300), the memory,
// a closing byte. Three blocks of a cell measured in different ranges and intervals.
QByteArray loggerAnswer()
{
    QByteArray memory;
    const auto block = [&](int interval, int status, int records, int ohm, int volt) {
        memory += QByteArray::fromHex("0055AA00");
        memory.append(char(interval));
        for (int i = 0; i < records; ++i) {
            const int o = ohm + int(18 * qSin(i / 9.0));
            const int v = volt - i;
            memory.append(char(o >> 8)).append(char(o & 0xFF)).append(char(v >> 8)).append(char(v & 0xFF));
            memory.append(char(status));
        }
    };
    block(2, 3, 120, 2470, 3712);
    block(10, 2, 40, 1830, 3690);
    block(60, 1 | 4, 24, 1250, 1254);
    const int end = 17152 + int(memory.size());
    QByteArray answer;
    answer.append(char(0)).append(char(end >> 8)).append(char(end & 0xFF));
    answer += memory;
    answer.append(char(0x03));
    return answer;
}

// The installation medium's pictures for its menu: the product's icon (the menu shows it
// at the top left), the board behind the menu's buttons, the picture of the driver chooser.
bool writeMediumPictures(const QString &folder)
{
    QDir().mkpath(folder);
    const QImage icon = ui::appIconImage(64);
    // The menu reads pictures by their content, so a PNG under the icon's name serves.
    bool ok = icon.save(QDir(folder).filePath(QStringLiteral("setup.ico")), "ICO")
              || icon.save(QDir(folder).filePath(QStringLiteral("setup.ico")), "PNG");

    QImage board(508, 425, QImage::Format_RGB32);
    {
        QPainter p(&board);
        QLinearGradient sky(0, 0, 0, board.height());
        sky.setColorAt(0, QColor(0x2b, 0x3a, 0x4a));
        sky.setColorAt(1, QColor(0x10, 0x16, 0x1c));
        p.fillRect(board.rect(), sky);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QColor(0xe8, 0xe8, 0xe2));
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 26, QFont::Bold));
        p.drawText(QRect(84, 14, 400, 48), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Dorvel"));
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
        p.drawText(QRect(86, 60, 400, 40), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Battery tester software"));
    }
    ok = board.save(QDir(folder).filePath(QStringLiteral("backimg.jpg")), "JPG", 90) && ok;

    QImage driver(306, 100, QImage::Format_RGB32);
    {
        QPainter p(&driver);
        p.fillRect(driver.rect(), QColor(0xf4, 0xf4, 0xf0));
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x28, 0x2a, 0x2c), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(20, 50), QPointF(200, 50));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x46, 0x4a, 0x4e));
        p.drawRoundedRect(QRectF(200, 35, 50, 30), 4, 4);
        p.setBrush(QColor(0xb8, 0xb8, 0xb2));
        p.drawRect(QRectF(250, 40, 30, 20));
        p.drawImage(QRect(8, 30, 40, 40), ui::appIconImage(40));
    }
    return driver.save(QDir(folder).filePath(QStringLiteral("driver.jpg")), "JPG", 90) && ok;
}

// The sampling tick's second, shortened so the pictures are taken in a moment.
constexpr int SecondMs = 40;

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--medium-pictures")
        return writeMediumPictures(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    if (argc != 2) {
        QTextStream(stderr) << "usage: dorvel-snapshots OUTDIR | --medium-pictures OUTDIR\n";
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir work;

    core::AppState state;
    ui::FakeSerialPort probe, port;
    ui::FakePortEnumerator ports;
    ports.present = {{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART"), QStringLiteral("FTDI"),
                      QStringLiteral("0403:6001"), QStringLiteral("A50285BI")}};
    ui::ScriptedDialogs dialogs;
    ui::RecordingShell shell;
    ui::FakeClock clock;
    clock.wall = QDateTime(QDate(2026, 12, 7), QTime(9, 30, 0));

    Script script;
    bool ok = true;
    auto check = [&](bool b) { ok = ok && b; };

    meter::PortWindow portWindow(state, probe, ports, dialogs, shell);
    portWindow.setChoiceText(QStringLiteral("/dev/ttyUSB0"));
    portWindow.show();
    script.then(50, [&] {
        check(save(&portWindow, out, QStringLiteral("port")));
        portWindow.hide();
    });

    state.ComPortPath = QStringLiteral("/dev/ttyUSB0");
    port.openResults.insert(state.ComPortPath, ui::SerialPort::OpenResult::Opened);
    panel::Panel panel(state, panel::PanelServices{port, dialogs, shell, clock, meter::PollTimings{20, 1000, 1000},
                                                   SecondMs, work.path(), work.path()});
    // The wall clock runs with the sampling tick, a second every SecondMs.
    QTimer seconds;
    QObject::connect(&seconds, &QTimer::timeout, [&] { clock.advanceMs(1000); });
    seconds.start(SecondMs);
    QTimer meter;
    int frames = 0;
    QObject::connect(&meter, &QTimer::timeout, [&] {
        ++frames;
        port.feed(frame(2468 + (frames * 7) % 13 - 6, 3712 - frames / 40, 3));
    });
    script.then(0, [&] {
        panel.show();
        panel.load();
        // A frame every poll tick or two: the readings stay measured as the fast seconds run.
        meter.start(20);
    });
    script.then(800, [&] { check(save(&panel, out, QStringLiteral("panel"))); });

    const QString file = QDir(work.path()).filePath(QStringLiteral("cell-07.Dvm"));
    check(writeSampleFile(file));
    script.then(0, [&] { panel.openFileList(file); });
    script.then(500, [&] {
        auto *list = panel.views().window<panel::Role::FileList>();
        check(save(list, out, QStringLiteral("filelist")));
        if (list)
            list->buttonClick(QStringLiteral("Plot"));
    });
    script.then(300, [&] {
        check(save(panel.views().window<panel::Role::ListPlot2>(), out, QStringLiteral("plot")));
        panel.views().show(panel::Role::Plot2Range);
    });
    script.then(200, [&] {
        check(save(panel.views().window<panel::Role::Plot2Range>(), out, QStringLiteral("plotrange")));
        panel.views().close(panel::Role::Plot2Range);
        panel.views().close(panel::Role::ListPlot2);
        panel.views().close(panel::Role::FileList);
        panel.commands().click(QStringLiteral("List"));
    });
    // The list takes a row at every sample step, 2 s apart.
    script.then(26 * SecondMs, [&] {
        check(save(panel.views().window<panel::Role::List>(), out, QStringLiteral("realtimelist")));
        panel.views().close(panel::Role::List);
        // The meter answers the download request with its memory.
        meter.stop();
        port.written.clear();
        panel.commands().click(QStringLiteral("Memory"));
    });
    QTimer answering;
    QObject::connect(&answering, &QTimer::timeout, [&] {
        if (port.written.contains('U')) {
            port.written.clear();
            port.feed(loggerAnswer());
        }
    });
    script.then(0, [&] { answering.start(20); });
    script.then(1500, [&] {
        answering.stop();
        auto *memory = panel.views().window<panel::Role::Memory>();
        check(save(memory, out, QStringLiteral("logger")));
        dialogs.inputAnswers.enqueue(QStringLiteral("2026/12/05 14:00:00"));
        if (memory)
            emit memory->blockClicked(1);
    });
    script.then(300, [&] {
        check(save(panel.views().window<panel::Role::DataList>(), out, QStringLiteral("datalist")));
        panel.views().close(panel::Role::DataList);
        panel.views().close(panel::Role::Memory);
        meter.start(20);
    });
    // The graphs sweep at the poll's interval, shortened here: a full sweep in a few seconds.
    script.then(500, [&] { panel.commands().click(QStringLiteral("Graph")); });
    script.then(6500, [&] {
        check(save(panel.views().window<panel::Role::RealTimeX>(), out, QStringLiteral("ohmgraph")));
        check(save(panel.views().window<panel::Role::RealTimeY>(), out, QStringLiteral("voltgraph")));
        panel.views().show(panel::Role::RealTimeRange);
    });
    script.then(200, [&] {
        check(save(panel.views().window<panel::Role::RealTimeRange>(), out, QStringLiteral("realtimerange")));
        if (!ok)
            script.fail();
    });
    script.run();
    return QApplication::exec();
}
