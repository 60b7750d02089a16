#include "ScratchMedium.h"
#include "launcher/AutoInterface.h"
#include "ui/fakes/RecordingShell.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <algorithm>

namespace {

const QStringList allButtons{"SoftwareInstall", "Drivers", "Protocol", "UserManual", "Exitbtn"};

// Twips to pixels the way a 1440-to-the-inch design meets the screen.
int px(int twips, const QWidget &w)
{
    return qRound(twips * w.logicalDpiX() / 1440.0);
}

struct Rig
{
    explicit Rig(const ScratchMedium &medium)
        : window(medium.folder(), shell, dialogs)
    {
    }

    ui::RecordingShell shell;
    ui::ScriptedDialogs dialogs;
    launcher::AutoInterface window;

    QWidget *child(const QString &name) const { return window.findChild<QWidget *>(name); }
    QWidget *panel() const { return child(QStringLiteral("HelpPictureBox")); }
    void click(const QString &name) const { QTest::mouseClick(child(name), Qt::LeftButton); }

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

} // namespace

class TestLauncher : public QObject
{
    Q_OBJECT
private slots:
    void offersWhatTheMediumHolds_data();
    void offersWhatTheMediumHolds();
    void pictures_data();
    void pictures();
    void manualCaptionAndFile_data();
    void manualCaptionAndFile();
    void sevenManualsMakeColumnsOfThree();
    void helpTogglesAndListsAfresh();
    void helpWithoutAnyPdf();
    void pickingAManualOpensExactlyIt();
    void protocolOpensTheDescription();
    void softwareInstall_data();
    void softwareInstall();
    void exitEndsTheProgram();
    void realInstallerStarts();
    void installerThatCannotRunIsReported();
};

void TestLauncher::offersWhatTheMediumHolds_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QStringList>("shown");

    const QStringList always{"SoftwareInstall", "Exitbtn"};
    QTest::newRow("empty medium") << QStringList() << QStringList() << always;
    QTest::newRow("everything") << QStringList{"Protocol/protocol.pdf", "help/a.pdf", "driver/USBDriver_mac.exe"}
                                << QStringList() << allButtons;
    QTest::newRow("protocol only") << QStringList{"Protocol/protocol.pdf"} << QStringList()
                                   << QStringList{"SoftwareInstall", "Protocol", "Exitbtn"};
    QTest::newRow("help holds no pdf") << QStringList{"help/readme.txt"} << QStringList()
                                       << QStringList{"SoftwareInstall", "UserManual", "Exitbtn"};
    QTest::newRow("hidden file in help") << QStringList{"help/.keep"} << QStringList()
                                         << QStringList{"SoftwareInstall", "UserManual", "Exitbtn"};
    QTest::newRow("any file in driver") << QStringList{"driver/readme.txt"} << QStringList()
                                        << QStringList{"SoftwareInstall", "Drivers", "Exitbtn"};
    QTest::newRow("empty folders") << QStringList() << QStringList{"help", "driver", "Protocol"} << always;
    QTest::newRow("only subfolders") << QStringList() << QStringList{"help/en", "driver/win"} << always;
    QTest::newRow("protocol file in other case") << QStringList{"Protocol/Protocol.pdf"} << QStringList() << always;
    QTest::newRow("protocol folder in other case") << QStringList{"protocol/protocol.pdf"} << QStringList() << always;
    QTest::newRow("protocol.pdf is a folder") << QStringList() << QStringList{"Protocol/protocol.pdf"} << always;
    QTest::newRow("help folder in other case") << QStringList{"Help/a.pdf", "Driver/x.exe"} << QStringList() << always;
}

void TestLauncher::offersWhatTheMediumHolds()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, folders);
    QFETCH(QStringList, shown);
    ScratchMedium medium;
    for (const QString &f : files)
        medium.put(f);
    for (const QString &f : folders)
        medium.putFolder(f);
    Rig rig(medium);
    QCOMPARE(rig.window.objectName(), QStringLiteral("AutoInterface"));
    QCOMPARE(rig.window.windowTitle(), QStringLiteral("Install Interface"));
    QVERIFY(rig.panel()->isHidden());
    for (const QString &name : allButtons)
        QVERIFY2(rig.child(name)->isHidden() != shown.contains(name), qPrintable(name));
}

void TestLauncher::pictures_data()
{
    QTest::addColumn<QByteArray>("board"); // "picture", "none" or "junk"
    QTest::addColumn<QByteArray>("icon");

    QTest::newRow("both") << QByteArray("picture") << QByteArray("picture");
    QTest::newRow("neither") << QByteArray("none") << QByteArray("none");
    QTest::newRow("unreadable files") << QByteArray("junk") << QByteArray("junk");
    QTest::newRow("background only") << QByteArray("picture") << QByteArray("none");
}

void TestLauncher::pictures()
{
    QFETCH(QByteArray, board);
    QFETCH(QByteArray, icon);
    ScratchMedium medium;
    // Small pictures: they must be stretched to reach the corners.
    if (board == "picture")
        medium.putPicture(QStringLiteral("picture/backimg.jpg"), QColor(200, 30, 30), QSize(20, 16), "JPG");
    if (icon == "picture")
        medium.putPicture(QStringLiteral("picture/setup.ico"), QColor(250, 160, 0), QSize(16, 16), "ICO");
    if (board == "junk")
        medium.put(QStringLiteral("picture/backimg.jpg"), "not a jpeg");
    if (icon == "junk")
        medium.put(QStringLiteral("picture/setup.ico"), "not an icon");
    Rig rig(medium);

    const QImage shot = rig.window.grab().toImage();
    const QColor corner = shot.pixelColor(shot.width() - 2, 2);
    // Along the middle row: the "Welcome" text, if any, leaves dark pixels.
    bool dark = false;
    for (int x = 0; x < shot.width(); ++x)
        dark = dark || qGray(shot.pixel(x, shot.height() / 2)) < 80;
    if (board == "picture") {
        QVERIFY2(nearColour(corner, QColor(200, 30, 30)), qPrintable(corner.name()));
        QVERIFY(!dark);
    } else {
        QCOMPARE(corner, QColor(100, 250, 200));
        QVERIFY(dark);
    }

    QWidget *product = rig.child(QStringLiteral("ProductPicture"));
    QCOMPARE(product->isHidden(), icon != "picture");
    if (icon == "picture") {
        const QPoint farCorner = product->mapTo(&rig.window, QPoint(product->width() - 1, product->height() - 1));
        QVERIFY(nearColour(shot.pixelColor(farCorner), QColor(250, 160, 0)));
        QCOMPARE(product->size(), QSize(px(735, rig.window), px(735, rig.window)));
    }
}

void TestLauncher::manualCaptionAndFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("opened"); // relative to the medium

    QTest::newRow("design example") << "Dorvel-SW-HELP-FR_V1.1.pdf" << "Dorvel-SW-HELP-FR_V1.1"
                                    << "help/Dorvel-SW-HELP-FR_V1.1.pdf";
    QTest::newRow("upper-case extension") << "MANUAL.PDF" << "MANUAL.PDF" << "help/MANUAL.PDF.pdf";
    QTest::newRow("mixed-case extension") << "Guide.Pdf" << "Guide.Pdf" << "help/Guide.Pdf.pdf";
    QTest::newRow("cut at the first .pdf") << "notes.pdf.pdf" << "notes" << "help/notes.pdf";
    QTest::newRow("blanks kept") << "User Guide EN.pdf" << "User Guide EN" << "help/User Guide EN.pdf";
    QTest::newRow("hidden file") << ".draft.pdf" << ".draft" << "help/.draft.pdf";
    QTest::newRow("only the extension") << ".pdf" << "" << "help/.pdf";
}

void TestLauncher::manualCaptionAndFile()
{
    QFETCH(QString, file);
    QFETCH(QString, caption);
    QFETCH(QString, opened);
    ScratchMedium medium;
    medium.put(QStringLiteral("help/") + file);
    Rig rig(medium);
    rig.window.show();
    rig.click(QStringLiteral("UserManual"));
    QVERIFY(!rig.panel()->isHidden());
    const auto options = rig.options();
    QCOMPARE(options.size(), 1);
    QCOMPARE(options[0]->text(), caption);
    // Width: the whole file name in the window's font plus 100 twips.
    const int expected = rig.window.fontMetrics().horizontalAdvance(file) + px(100, rig.window);
    QVERIFY2(qAbs(options[0]->width() - expected) <= 1, qPrintable(QString::number(options[0]->width())));

    QTest::mouseClick(options[0], Qt::LeftButton);
    QCOMPARE(rig.shell.opened, QStringList{medium.path(opened)});
    QVERIFY(!options[0]->isChecked());
    QVERIFY(rig.panel()->isHidden());
}

void TestLauncher::sevenManualsMakeColumnsOfThree()
{
    ScratchMedium medium;
    // Made out of order and in mixed case: listed by name whatever the case.
    for (const char *name : {"zh.pdf", "EN.pdf", "it.pdf", "de.pdf", "JA.pdf", "FR.pdf", "es.pdf"})
        medium.put(QStringLiteral("help/") + QLatin1String(name));
    medium.put(QStringLiteral("help/readme.txt"));
    Rig rig(medium);
    rig.window.show();
    rig.click(QStringLiteral("UserManual"));

    QCOMPARE(rig.captions(), QStringList({"de", "EN", "es", "FR", "it", "JA", "zh"}));
    const QList<QPoint> twips{{120, 120},  {120, 475},  {120, 830}, {2520, 120},
                              {2520, 475}, {2520, 830}, {4920, 120}};
    const auto options = rig.options();
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(options[i]->pos(), QPoint(px(twips[i].x(), rig.window), px(twips[i].y(), rig.window)));
        QCOMPARE(options[i]->height(), px(255, rig.window));
        QVERIFY(options[i]->isVisible());
    }
    const QRect panel = rig.panel()->geometry();
    QCOMPARE(panel, QRect(px(120, rig.window), px(3840, rig.window), px(7335, rig.window), px(1335, rig.window)));

    // The listing record: every name after the first, then the empty name that ended it.
    auto *list = rig.window.findChild<QListWidget *>(QStringLiteral("List1"));
    QStringList recorded;
    for (int i = 0; i < list->count(); ++i)
        recorded << list->item(i)->text();
    QCOMPARE(recorded, QStringList({"EN.pdf", "es.pdf", "FR.pdf", "it.pdf", "JA.pdf", "zh.pdf", ""}));
}

void TestLauncher::helpTogglesAndListsAfresh()
{
    ScratchMedium medium;
    for (const char *name : {"a.pdf", "b.pdf", "c.pdf", "d.pdf", "e.pdf"})
        medium.put(QStringLiteral("help/") + QLatin1String(name));
    Rig rig(medium);
    rig.window.show();

    rig.click(QStringLiteral("UserManual"));
    QVERIFY(rig.panel()->isVisible());
    QCOMPARE(rig.captions(), QStringList({"a", "b", "c", "d", "e"}));

    rig.click(QStringLiteral("UserManual"));
    QVERIFY(!rig.panel()->isVisible());
    QCOMPARE(rig.options().size(), 1);

    // Fewer manuals the next time: only those are offered, and closing removes just those.
    for (const char *name : {"b.pdf", "c.pdf", "e.pdf"})
        medium.remove(QStringLiteral("help/") + QLatin1String(name));
    rig.click(QStringLiteral("UserManual"));
    QCOMPARE(rig.captions(), QStringList({"a", "d"}));
    rig.click(QStringLiteral("UserManual"));
    QCOMPARE(rig.captions(), QStringList({"a"}));

    // More again.
    for (const char *name : {"f.pdf", "g.pdf", "h.pdf", "i.pdf"})
        medium.put(QStringLiteral("help/") + QLatin1String(name));
    rig.click(QStringLiteral("UserManual"));
    QCOMPARE(rig.captions(), QStringList({"a", "d", "f", "g", "h", "i"}));
    QVERIFY(rig.shell.opened.isEmpty());
}

void TestLauncher::helpWithoutAnyPdf()
{
    ScratchMedium medium;
    medium.put(QStringLiteral("help/readme.txt"));
    Rig rig(medium);
    rig.window.show();
    QVERIFY(rig.child(QStringLiteral("UserManual"))->isVisible());

    for (int press = 0; press < 2; ++press) {
        rig.click(QStringLiteral("UserManual"));
        QVERIFY(rig.panel()->isHidden());
        QCOMPARE(rig.captions(), QStringList{"Dorvel-SW-HELP-EN_V1.0"});
    }
    // A manual copied in later is found at the next press.
    medium.put(QStringLiteral("help/late.pdf"));
    rig.click(QStringLiteral("UserManual"));
    QVERIFY(!rig.panel()->isHidden());
    QCOMPARE(rig.captions(), QStringList{"late"});
    QVERIFY(rig.shell.opened.isEmpty());
    QVERIFY(rig.dialogs.messages.isEmpty());
}

void TestLauncher::pickingAManualOpensExactlyIt()
{
    ScratchMedium medium;
    for (const char *name : {"1-DE.pdf", "2-EN.pdf", "3-ES.pdf", "4-FR.pdf", "5-IT.pdf", "6-JA.pdf", "7-ZH.pdf"})
        medium.put(QStringLiteral("help/") + QLatin1String(name));
    Rig rig(medium);
    rig.window.show();

    rig.click(QStringLiteral("UserManual"));
    QTest::mouseClick(rig.options().at(4), Qt::LeftButton);
    QCOMPARE(rig.shell.opened, QStringList{medium.path(QStringLiteral("help/5-IT.pdf"))});
    QVERIFY(rig.panel()->isHidden());
    QCOMPARE(rig.options().size(), 1);

    // The panel builds again after the picked option itself was removed; the first option works too.
    rig.click(QStringLiteral("UserManual"));
    QCOMPARE(rig.options().size(), 7);
    QTest::mouseClick(rig.options().at(0), Qt::LeftButton);
    QCOMPARE(rig.shell.opened.last(), medium.path(QStringLiteral("help/1-DE.pdf")));
    QCOMPARE(rig.shell.opened.size(), 2);
}

void TestLauncher::protocolOpensTheDescription()
{
    ScratchMedium medium;
    medium.put(QStringLiteral("Protocol/protocol.pdf"));
    Rig rig(medium);
    rig.shell.openSucceeds = false; // no PDF viewer: not reported
    rig.window.show();
    rig.click(QStringLiteral("Protocol"));
    QCOMPARE(rig.shell.opened, QStringList{medium.path(QStringLiteral("Protocol/protocol.pdf"))});
    QVERIFY(rig.dialogs.messages.isEmpty());
    QVERIFY(rig.shell.started.isEmpty());
}

void TestLauncher::softwareInstall_data()
{
    QTest::addColumn<QByteArray>("setup"); // "file", "none", "folder"
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QStringList>("started");
    QTest::addColumn<QString>("message"); // %1: the installer's path

    QTest::newRow("present") << QByteArray("file") << true << QStringList{"Install/setup.exe"} << "";
    QTest::newRow("missing") << QByteArray("none") << true << QStringList() << "The file %1 was not found.";
    QTest::newRow("a folder of that name") << QByteArray("folder") << true << QStringList()
                                           << "The file %1 was not found.";
    QTest::newRow("will not start") << QByteArray("file") << false << QStringList{"Install/setup.exe"}
                                    << "The program %1 could not be started.";
}

void TestLauncher::softwareInstall()
{
    QFETCH(QByteArray, setup);
    QFETCH(bool, starts);
    QFETCH(QStringList, started);
    QFETCH(QString, message);
    ScratchMedium medium;
    if (setup == "file")
        medium.put(QStringLiteral("Install/setup.exe"));
    if (setup == "folder")
        medium.putFolder(QStringLiteral("Install/setup.exe"));
    Rig rig(medium);
    rig.shell.startSucceeds = starts;
    rig.window.show();
    rig.click(QStringLiteral("SoftwareInstall"));

    for (QString &s : started)
        s = medium.path(s);
    QCOMPARE(rig.shell.started, started);
    if (message.isEmpty()) {
        QVERIFY(rig.dialogs.messages.isEmpty());
    } else {
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.messages[0].text, message.arg(medium.path(QStringLiteral("Install/setup.exe"))));
        QCOMPARE(rig.dialogs.messages[0].title, QStringLiteral("Install Interface"));
    }
    QVERIFY(rig.window.isVisible());
}

void TestLauncher::exitEndsTheProgram()
{
    ScratchMedium medium;
    medium.put(QStringLiteral("driver/USBDriver_windows.exe"));
    Rig rig(medium);
    rig.window.show();
    rig.click(QStringLiteral("Drivers"));
    QWidget *chooser = rig.child(QStringLiteral("USBDriver"));
    QVERIFY(chooser->isVisible());

    rig.click(QStringLiteral("Exitbtn"));
    QVERIFY(!rig.window.isVisible());
    QVERIFY(!chooser->isVisible());
    // No window left open, so the application's quit-on-last-window ends the program.
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

void TestLauncher::realInstallerStarts()
{
    ScratchMedium medium;
    const QString marker = medium.path(QStringLiteral("installer-ran"));
    medium.putScript(QStringLiteral("Install/setup.exe"), marker);
    ui::QtShell shell;
    ui::ScriptedDialogs dialogs;
    launcher::AutoInterface window(medium.folder(), shell, dialogs);
    window.show();
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("SoftwareInstall")), Qt::LeftButton);
    QTRY_VERIFY(QFile::exists(marker));
    QVERIFY(dialogs.messages.isEmpty());
    QVERIFY(window.isVisible());
}

void TestLauncher::installerThatCannotRunIsReported()
{
    ScratchMedium medium;
    const QString marker = medium.path(QStringLiteral("installer-ran"));
    medium.putScript(QStringLiteral("Install/setup.exe"), marker, false);
    ui::QtShell shell;
    ui::ScriptedDialogs dialogs;
    launcher::AutoInterface window(medium.folder(), shell, dialogs);
    window.softwareInstall();
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].text, QStringLiteral("The program %1 could not be started.")
                                           .arg(medium.path(QStringLiteral("Install/setup.exe"))));
    QVERIFY(!QFile::exists(marker));
}

QTEST_MAIN(TestLauncher)
#include "tst_launcher.moc"
