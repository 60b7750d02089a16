#include "launcher/AutoInterface.h"
#include "ui/fakes/RecordingShell.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

namespace {

// Twips (1440 to the inch) to pixels on this screen.
int px(int twips, const QWidget &w)
{
    return qRound(twips * w.logicalDpiX() / 1440.0);
}

// A throw-away installation medium holding exactly the files a case needs.
struct Medium
{
    QTemporaryDir dir;
    QString path(const QString &relative) const { return dir.filePath(relative); }
    void put(const QString &relative, const QByteArray &content = "x") const
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile file(path(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    void putAll(const QStringList &files) const
    {
        for (const QString &f : files)
            put(f);
    }
    void putPicture(const QString &relative, const QColor &colour, const char *format) const
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QImage image(20, 16, QImage::Format_RGB32); // small: only stretching reaches the corners
        image.fill(colour);
        QVERIFY(image.save(path(relative), format));
    }
};

struct Rig
{
    explicit Rig(const Medium &medium)
        : window(medium.dir.path(), shell, dialogs)
    {
        window.show();
    }

    ui::RecordingShell shell;
    ui::ScriptedDialogs dialogs;
    launcher::AutoInterface window;

    template <typename T = QWidget>
    T *child(const QString &name) const
    {
        return window.findChild<T *>(name);
    }
    QWidget *panel() const { return child(QStringLiteral("HelpPictureBox")); }
    QWidget *chooser() const { return child(QStringLiteral("USBDriver")); }
    void click(const QString &name) const { QTest::mouseClick(child(name), Qt::LeftButton); }
    QStringList shown(const QStringList &names) const
    {
        QStringList out;
        for (const QString &n : names)
            if (!child(n)->isHidden())
                out << n;
        return out;
    }
    // The options in index order, once removed ones are really gone.
    QList<QRadioButton *> options() const
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto list = window.findChildren<QRadioButton *>(QStringLiteral("Option1"));
        std::sort(list.begin(), list.end(), [](QRadioButton *a, QRadioButton *b) {
            return a->property("index").toInt() < b->property("index").toInt();
        });
        return list;
    }
    QStringList captions() const
    {
        QStringList out;
        for (QRadioButton *option : options())
            out << option->text();
        return out;
    }
};

bool near(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) <= 12 && qAbs(a.green() - b.green()) <= 12 && qAbs(a.blue() - b.blue()) <= 12;
}

const QStringList fiveButtons{"SoftwareInstall", "Drivers", "Protocol", "UserManual", "Exitbtn"};
const QStringList sixDrivers{"winxp", "win7", "win8", "win10", "BtnWindows", "BtnMac"};
const QStringList sixInstallers{"driver/USBDriver_winxp.exe",   "driver/USBDriver_win7.exe",
                                "driver/USBDriver_win8.exe",    "driver/USBDriver_win10.exe",
                                "driver/USBDriver_windows.exe", "driver/USBDriver_mac.exe"};

} // namespace

class TestLauncher : public QObject
{
    Q_OBJECT
private slots:
    void offersWhatTheMediumHolds_data();
    void offersWhatTheMediumHolds();
    void picturesOrTheirStandIns_data();
    void picturesOrTheirStandIns();
    void manualCaptionAndFile_data();
    void manualCaptionAndFile();
    void bottomCaptionsFitTheirButtons();
    void sevenManualsMakeColumnsOfThree();
    void manualCaptionsFitTheirColumns_data();
    void manualCaptionsFitTheirColumns();
    void helpTogglesAndListsAfresh();
    void pickingAManualOpensExactlyIt();
    void installerStartsOrIsReported_data();
    void installerStartsOrIsReported();
    void driverButtons_data();
    void driverButtons();
    void driverWindowFloatsCentredAndIsReused();
    void exitClosesEverything();
    void realInstallerRuns_data();
    void realInstallerRuns();
};

void TestLauncher::offersWhatTheMediumHolds_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("shown");

    const QStringList always{"SoftwareInstall", "Exitbtn"};
    QTest::newRow("empty medium") << QStringList() << always;
    QTest::newRow("everything") << QStringList{"Protocol/protocol.pdf", "help/a.pdf", "driver/USBDriver_mac.exe"}
                                << fiveButtons;
    QTest::newRow("help and driver hold other files")
        << QStringList{"help/.readme", "driver/readme.txt"}
        << QStringList{"SoftwareInstall", "Drivers", "UserManual", "Exitbtn"};
    QTest::newRow("only subfolders") << QStringList{"help/en/a.pdf", "driver/win/x.exe"} << always;
    QTest::newRow("names in other case") << QStringList{"Protocol/Protocol.pdf", "protocol/protocol.pdf", "Help/a.pdf",
                                                        "Driver/x.exe"}
                                         << always;
    QTest::newRow("protocol.pdf is a folder") << QStringList{"Protocol/protocol.pdf/x"} << always;
}

void TestLauncher::offersWhatTheMediumHolds()
{
    QFETCH(QStringList, files);
    Medium medium;
    medium.putAll(files);
    Rig rig(medium);
    QCOMPARE(rig.window.windowTitle(), QStringLiteral("Install Interface"));
    QTEST(rig.shown(fiveButtons), "shown");
    QVERIFY(rig.panel()->isHidden());
}

void TestLauncher::picturesOrTheirStandIns_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QByteArray>("state"); // "good", "missing", "junk"
    QTest::addColumn<QColor>("standIn");

    const QColor board(100, 250, 200), driver(100, 150, 180);
    QTest::newRow("background") << "picture/backimg.jpg" << QByteArray("good") << board;
    QTest::newRow("no background") << "picture/backimg.jpg" << QByteArray("missing") << board;
    QTest::newRow("unreadable background") << "picture/backimg.jpg" << QByteArray("junk") << board;
    QTest::newRow("driver picture") << "picture/driver.jpg" << QByteArray("good") << driver;
    QTest::newRow("no driver picture") << "picture/driver.jpg" << QByteArray("missing") << driver;
    QTest::newRow("unreadable driver picture") << "picture/driver.jpg" << QByteArray("junk") << driver;
}

void TestLauncher::picturesOrTheirStandIns()
{
    QFETCH(QString, picture);
    QFETCH(QByteArray, state);
    QFETCH(QColor, standIn);
    Medium medium;
    medium.put(QStringLiteral("driver/USBDriver_mac.exe"));
    if (state == "good") {
        medium.putPicture(picture, QColor(200, 30, 30), "JPG");
        medium.putPicture(QStringLiteral("picture/setup.ico"), QColor(250, 160, 0), "ICO");
    } else if (state == "junk") {
        medium.put(picture, "GIF89a cut short");
        medium.put(QStringLiteral("picture/setup.ico"), "no icon");
    }
    Rig rig(medium);
    rig.click(QStringLiteral("Drivers"));
    QWidget *window = picture.contains(QLatin1String("driver")) ? rig.chooser() : &rig.window;

    const QImage shot = window->grab().toImage();
    const QColor corner = shot.pixelColor(shot.width() - 3, 2);
    bool dark = false; // the stand-in's caption ("Welcome", "Driver Install") across the middle
    for (int x = 0; x < shot.width(); ++x)
        dark = dark || qGray(shot.pixel(x, shot.height() / 2)) < 80;
    QVERIFY2(state == "good" ? near(corner, QColor(200, 30, 30)) : corner == standIn, qPrintable(corner.name()));
    QCOMPARE(dark, state != "good");

    auto *product = rig.child(QStringLiteral("ProductPicture"));
    QCOMPARE(product->isHidden(), state != "good");
    if (state == "good")
        QVERIFY(near(product->grab().toImage().pixelColor(product->width() - 1, product->height() - 1),
                     QColor(250, 160, 0)));
}

void TestLauncher::manualCaptionAndFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("opened");

    QTest::newRow("language manual") << "Dorvel-SW-HELP-FR_V1.1.pdf"
                                     << "Dorvel-SW-HELP-FR_V1.1"
                                     << "help/Dorvel-SW-HELP-FR_V1.1.pdf";
    QTest::newRow("upper-case extension") << "MANUAL.PDF"
                                          << "MANUAL.PDF"
                                          << "help/MANUAL.PDF.pdf";
    QTest::newRow("mixed-case extension") << "Guide.Pdf"
                                          << "Guide.Pdf"
                                          << "help/Guide.Pdf.pdf";
    QTest::newRow("cut at the first .pdf") << "notes.pdf.pdf"
                                           << "notes"
                                           << "help/notes.pdf";
    QTest::newRow("hidden file, blanks") << ".User Guide.pdf"
                                         << ".User Guide"
                                         << "help/.User Guide.pdf";
    QTest::newRow("only the extension") << ".pdf"
                                        << ""
                                        << "help/.pdf";
    // Doubled, a "&" is drawn once and makes no mnemonic.
    QTest::newRow("ampersand") << "Salt & Pepper.pdf"
                               << "Salt && Pepper"
                               << "help/Salt & Pepper.pdf";
}

void TestLauncher::manualCaptionAndFile()
{
    QFETCH(QString, file);
    QFETCH(QString, opened);
    Medium medium;
    medium.put(QStringLiteral("help/") + file);
    Rig rig(medium);
    rig.click(QStringLiteral("UserManual"));
    QVERIFY(rig.panel()->isVisible());
    QRadioButton *option = rig.options().value(0);
    QTEST(option->text(), "caption");
    QVERIFY(QKeySequence::mnemonic(option->text()).isEmpty());
    // The whole file name measured in the option's font, plus 100 twips; the font is the
    // window's, or smaller where the name would reach into the next column.
    const int width = option->fontMetrics().horizontalAdvance(file) + px(100, rig.window);
    QVERIFY2(qAbs(option->width() - width) <= 1, qPrintable(QString::number(option->width())));
    QVERIFY(option->width() < px(2400, rig.window));
    if (rig.window.fontMetrics().horizontalAdvance(file) + px(100, rig.window) < px(2300, rig.window))
        QCOMPARE(option->font(), rig.window.font());

    QTest::mouseClick(option, Qt::LeftButton);
    QCOMPARE(rig.shell.opened, QStringList{medium.path(opened)});
    QVERIFY(!option->isChecked());
    QVERIFY(rig.panel()->isHidden());
}

void TestLauncher::bottomCaptionsFitTheirButtons()
{
    Medium medium;
    Rig rig(medium);
    for (const QString &name : fiveButtons) {
        auto *button = rig.child<QPushButton>(name);
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) <= button->width() - 2 * margin,
                 qPrintable(name));
        // The others keep the window's font.
        if (name != QLatin1String("SoftwareInstall"))
            QCOMPARE(button->font(), rig.window.font());
    }
}

void TestLauncher::sevenManualsMakeColumnsOfThree()
{
    Medium medium;
    // Made out of order and in mixed case; listed by name whatever the case.
    medium.putAll({"help/zh.pdf", "help/EN.pdf", "help/it.pdf", "help/de.pdf", "help/JA.pdf", "help/FR.pdf",
                   "help/es.pdf", "help/readme.txt"});
    Rig rig(medium);
    rig.click(QStringLiteral("UserManual"));
    QCOMPARE(rig.captions(), QStringList({"de", "EN", "es", "FR", "it", "JA", "zh"}));

    const QList<QPoint> twips{{120, 120}, {120, 475}, {120, 830}, {2520, 120}, {2520, 475}, {2520, 830}, {4920, 120}};
    const auto options = rig.options();
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(options[i]->pos(), QPoint(px(twips[i].x(), rig.window), px(twips[i].y(), rig.window)));
        QCOMPARE(options[i]->height(), px(255, rig.window));
        QVERIFY(options[i]->isVisible());
    }
}

void TestLauncher::manualCaptionsFitTheirColumns_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::newRow("seven, the names the manuals have") << QStringList{
        "help/Dorvel-SW-HELP-EN_V1.1.pdf", "help/Dorvel-SW-HELP-FR_V1.1.pdf",  "help/Dorvel-SW-HELP-DE_V1.1.pdf",
        "help/Dorvel-SW-HELP-IT_V1.1.pdf", "help/Dorvel-SW-HELP-BPT_V1.1.pdf", "help/Dorvel-SW-HELP-ES_V1.1.pdf",
        "help/Dorvel-SW-HELP-CN_V1.1.pdf"};
    // Longer names: the font shrinks further; a column of two follows, one long name and one
    // short.
    QTest::newRow("five, longer") << QStringList{
        "help/Dorvel-SW-HELP-PT-BR-2ND_V1.1.pdf", "help/Dorvel-SW-HELP-EN-GB-2ND_V1.1.pdf", "help/zz.pdf",
        "help/Dorvel-SW-HELP-ZH-CN-2ND_V1.1.pdf", "help/Dorvel-SW-HELP-FR-CA-2ND_V1.1.pdf"};
}

void TestLauncher::manualCaptionsFitTheirColumns()
{
    QFETCH(QStringList, files);
    Medium medium;
    medium.putAll(files);
    Rig rig(medium);
    rig.click(QStringLiteral("UserManual"));
    const auto options = rig.options();
    const qsizetype n = files.size();
    QCOMPARE(options.size(), n);
    for (qsizetype i = 0; i < n; ++i) {
        QRadioButton *option = options[i];
        // The option ends before the one in the next column begins.
        if (i + 3 < n)
            QVERIFY2(option->geometry().right() < options[i + 3]->geometry().left(), qPrintable(option->text()));
        // Its width is the whole name measured in its font, and 100 twips.
        const int measured = option->fontMetrics().horizontalAdvance(option->text() + QStringLiteral(".pdf"));
        QVERIFY(qAbs(option->width() - measured - px(100, rig.window)) <= 2);
    }
}

void TestLauncher::helpTogglesAndListsAfresh()
{
    Medium medium;
    medium.putAll({"help/readme.txt"});
    Rig rig(medium);
    // Files but no PDF: the panel goes away again, twice over, and nothing is opened.
    for (int press = 0; press < 2; ++press) {
        rig.click(QStringLiteral("UserManual"));
        QVERIFY(rig.panel()->isHidden());
        QCOMPARE(rig.captions(), QStringList{"Dorvel-SW-HELP-EN_V1.0"});
    }
    medium.putAll({"help/a.pdf", "help/b.pdf", "help/c.pdf", "help/d.pdf", "help/e.pdf"});
    rig.click(QStringLiteral("UserManual"));
    QVERIFY(rig.panel()->isVisible());
    QCOMPARE(rig.captions(), QStringList({"a", "b", "c", "d", "e"}));
    rig.click(QStringLiteral("UserManual"));
    QVERIFY(rig.panel()->isHidden());
    QCOMPARE(rig.captions(), QStringList{"a"});

    // Fewer manuals than the time before: just those are offered, and closing removes just those.
    for (const char *gone : {"help/b.pdf", "help/c.pdf", "help/e.pdf"})
        QFile::remove(medium.path(QLatin1String(gone)));
    rig.click(QStringLiteral("UserManual"));
    QCOMPARE(rig.captions(), QStringList({"a", "d"}));
    rig.click(QStringLiteral("UserManual"));
    QCOMPARE(rig.captions(), QStringList{"a"});
    QVERIFY(rig.shell.opened.isEmpty());
}

void TestLauncher::pickingAManualOpensExactlyIt()
{
    Medium medium;
    medium.putAll({"help/1-DE.pdf", "help/2-EN.pdf", "help/3-ES.pdf", "help/4-FR.pdf", "help/5-IT.pdf", "help/6-JA.pdf",
                   "help/7-ZH.pdf"});
    Rig rig(medium);
    rig.click(QStringLiteral("UserManual"));
    QTest::mouseClick(rig.options().at(4), Qt::LeftButton);
    QCOMPARE(rig.shell.opened, QStringList{medium.path(QStringLiteral("help/5-IT.pdf"))});
    QVERIFY(rig.panel()->isHidden());
    QCOMPARE(rig.options().size(), 1);

    // The picked option itself was removed; the panel builds again and the first option works.
    rig.click(QStringLiteral("UserManual"));
    QCOMPARE(rig.options().size(), 7);
    QTest::mouseClick(rig.options().at(0), Qt::LeftButton);
    QCOMPARE(rig.shell.opened.value(1), medium.path(QStringLiteral("help/1-DE.pdf")));
    QCOMPARE(rig.shell.opened.size(), 2);
}

void TestLauncher::installerStartsOrIsReported_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("message"); // %1: the installer's path

    QTest::newRow("present") << QStringList{"Install/setup.exe"} << "";
    QTest::newRow("missing") << QStringList() << "The file %1 was not found.";
    QTest::newRow("a folder of that name") << QStringList{"Install/setup.exe/x"} << "The file %1 was not found.";
    // One that will not start: realInstallerRuns, through the real shell.
}

void TestLauncher::installerStartsOrIsReported()
{
    QFETCH(QStringList, files);
    QFETCH(QString, message);
    Medium medium;
    medium.putAll(files);
    medium.put(QStringLiteral("Protocol/protocol.pdf"));
    Rig rig(medium);
    rig.shell.openSucceeds = false; // no PDF viewer: not reported
    rig.click(QStringLiteral("SoftwareInstall"));
    rig.click(QStringLiteral("Protocol"));

    const QString setup = medium.path(QStringLiteral("Install/setup.exe"));
    QCOMPARE(rig.shell.started, files == QStringList{"Install/setup.exe"} ? QStringList{setup} : QStringList());
    QCOMPARE(rig.shell.opened, QStringList{medium.path(QStringLiteral("Protocol/protocol.pdf"))});
    QCOMPARE(rig.dialogs.messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QCOMPARE(rig.dialogs.messages[0].text, message.arg(setup));
    QVERIFY(rig.window.isVisible());
}

void TestLauncher::driverButtons_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("press"); // index into the six buttons, -1 for none

    QTest::newRow("windows alone") << QStringList{sixInstallers[4]} << QStringList{"BtnWindows"} << 4;
    QTest::newRow("mac alone") << QStringList{sixInstallers[5]} << QStringList{"BtnMac"} << 5;
    // The per-version buttons are never shown; click() still tells their installers apart.
    for (int i = 0; i < 4; ++i)
        QTest::newRow(qPrintable(sixDrivers[i])) << sixInstallers << QStringList{"BtnWindows", "BtnMac"} << i;
    QTest::newRow("per-version only") << sixInstallers.mid(0, 4) << QStringList() << -1;
    QTest::newRow("names in other case") << QStringList{"driver/usbdriver_windows.exe", "driver/USBDriver_Mac.exe"}
                                         << QStringList() << -1;
}

void TestLauncher::driverButtons()
{
    QFETCH(QStringList, files);
    QFETCH(int, press);
    Medium medium;
    medium.putAll(files);
    Rig rig(medium);
    rig.click(QStringLiteral("Drivers"));
    QVERIFY(rig.chooser()->isVisible());
    QCOMPARE(rig.chooser()->windowTitle(), QStringLiteral("USB Driver"));
    QTEST(rig.shown(sixDrivers), "shown");
    if (press < 0)
        return;
    rig.child<QPushButton>(sixDrivers[press])->click();
    QCOMPARE(rig.shell.started, QStringList{medium.path(sixInstallers[press])});
    QVERIFY(!rig.chooser()->isVisible());
    QVERIFY(rig.window.isVisible());

    // Gone between opening and the press: said, and the window closes all the same.
    QFile::remove(medium.path(sixInstallers[press]));
    rig.click(QStringLiteral("Drivers"));
    rig.child<QPushButton>(sixDrivers[press])->click();
    QCOMPARE(rig.shell.started.size(), 1);
    QCOMPARE(rig.dialogs.messages.value(0).text,
             QStringLiteral("The file %1 was not found.").arg(medium.path(sixInstallers[press])));
    QVERIFY(!rig.chooser()->isVisible());
}

void TestLauncher::driverWindowFloatsCentredAndIsReused()
{
    Medium medium;
    medium.putAll({"driver/USBDriver_windows.exe", "driver/USBDriver_mac.exe"});
    Rig rig(medium);
    rig.window.move(130, 90);
    rig.click(QStringLiteral("Drivers"));
    QWidget *chooser = rig.chooser();
    QCOMPARE(rig.shell.keptAbove, QList<QWidget *>{chooser});
    QCOMPARE(chooser->size(), QSize(px(4590, rig.window), px(2535, rig.window)));
    QVERIFY((chooser->geometry().center() - rig.window.geometry().center()).manhattanLength() <= 1);

    // Pressed again while open: the same window, where the user left it, checked afresh both ways.
    chooser->move(10, 20);
    QFile::remove(medium.path(QStringLiteral("driver/USBDriver_mac.exe")));
    rig.click(QStringLiteral("Drivers"));
    QCOMPARE(rig.window.findChildren<QWidget *>(QStringLiteral("USBDriver")), QList<QWidget *>{chooser});
    QCOMPARE(chooser->pos(), QPoint(10, 20));
    QCOMPARE(rig.shown(sixDrivers), QStringList{"BtnWindows"});
    medium.put(QStringLiteral("driver/USBDriver_mac.exe"));
    rig.click(QStringLiteral("Drivers"));
    QCOMPARE(rig.shown(sixDrivers), QStringList({"BtnWindows", "BtnMac"}));
    QCOMPARE(rig.shell.keptAbove.size(), 1);

    // Closed and opened again: centred and pinned on top anew.
    chooser->close();
    rig.click(QStringLiteral("Drivers"));
    QCOMPARE(rig.chooser(), chooser);
    QCOMPARE(rig.shell.keptAbove.size(), 2);
    QVERIFY((chooser->geometry().center() - rig.window.geometry().center()).manhattanLength() <= 1);
}

void TestLauncher::exitClosesEverything()
{
    Medium medium;
    medium.put(QStringLiteral("driver/USBDriver_windows.exe"));
    Rig rig(medium);
    rig.click(QStringLiteral("Drivers"));
    rig.click(QStringLiteral("Exitbtn"));
    // No window left open: quitting on the last window ends the program.
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

void TestLauncher::realInstallerRuns_data()
{
    QTest::addColumn<bool>("executable");
    QTest::newRow("executable") << true;
    QTest::newRow("not executable") << false;
}

void TestLauncher::realInstallerRuns()
{
    QFETCH(bool, executable);
    Medium medium;
    const QString marker = medium.path(QStringLiteral("installer-ran"));
    const QString setup = medium.path(QStringLiteral("Install/setup.exe"));
    medium.put(QStringLiteral("Install/setup.exe"), "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n");
    QFile::setPermissions(setup, executable ? QFile::ReadOwner | QFile::ExeOwner : QFile::ReadOwner);
    ui::QtShell shell;
    ui::ScriptedDialogs dialogs;
    launcher::AutoInterface window(medium.dir.path(), shell, dialogs);
    window.show();
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("SoftwareInstall")), Qt::LeftButton);
    if (executable) {
        QTRY_VERIFY(QFile::exists(marker));
        QVERIFY(dialogs.messages.isEmpty());
    } else {
        QCOMPARE(dialogs.messages.value(0).text, QStringLiteral("The program %1 could not be started.").arg(setup));
    }
    QVERIFY(window.isVisible());
}

QTEST_MAIN(TestLauncher)
#include "tst_launcher.moc"
