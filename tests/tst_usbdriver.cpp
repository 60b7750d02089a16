#include "ScratchMedium.h"
#include "launcher/AutoInterface.h"
#include "ui/fakes/RecordingShell.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QPushButton>
#include <QtTest>

namespace {

const QStringList allSix{"winxp", "win7", "win8", "win10", "BtnWindows", "BtnMac"};

int px(int twips, const QWidget &w)
{
    return qRound(twips * w.logicalDpiX() / 1440.0);
}

struct Rig
{
    explicit Rig(const ScratchMedium &medium)
        : window(medium.folder(), shell, dialogs)
    {
        window.show();
    }

    ui::RecordingShell shell;
    ui::ScriptedDialogs dialogs;
    launcher::AutoInterface window;

    // The launcher's "Drivers" button, as the user presses it.
    QWidget *openChooser()
    {
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("Drivers")), Qt::LeftButton);
        return chooser();
    }
    QWidget *chooser() const { return window.findChild<QWidget *>(QStringLiteral("USBDriver")); }
    QPushButton *button(const QString &role) const { return chooser()->findChild<QPushButton *>(role); }
    QStringList shownButtons() const
    {
        QStringList out;
        for (const QString &role : allSix)
            if (!button(role)->isHidden())
                out << role;
        return out;
    }
};

} // namespace

class TestUsbDriver : public QObject
{
    Q_OBJECT
private slots:
    void offersInstallersOnTheMedium_data();
    void offersInstallersOnTheMedium();
    void eachButtonStartsItsInstaller_data();
    void eachButtonStartsItsInstaller();
    void windowsInstallerAlone();
    void floatsCentredOverTheLauncher();
    void pressedAgainShowsTheSameWindowChecked();
    void picture_data();
    void picture();
    void installerGoneBeforeThePress();
    void realDriverInstallerStarts();
};

void TestUsbDriver::offersInstallersOnTheMedium_data()
{
    QTest::addColumn<QStringList>("files"); // in driver/
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("windows") << QStringList{"USBDriver_windows.exe"} << QStringList{"BtnWindows"};
    QTest::newRow("mac") << QStringList{"USBDriver_mac.exe"} << QStringList{"BtnMac"};
    QTest::newRow("both") << QStringList{"USBDriver_mac.exe", "USBDriver_windows.exe"}
                          << QStringList{"BtnWindows", "BtnMac"};
    QTest::newRow("all six") << QStringList{"USBDriver_winxp.exe", "USBDriver_win7.exe", "USBDriver_win8.exe",
                                            "USBDriver_win10.exe", "USBDriver_windows.exe", "USBDriver_mac.exe"}
                             << QStringList{"BtnWindows", "BtnMac"};
    QTest::newRow("per-version only")
        << QStringList{"USBDriver_winxp.exe", "USBDriver_win7.exe", "USBDriver_win8.exe", "USBDriver_win10.exe"}
        << QStringList();
    QTest::newRow("names in other case") << QStringList{"usbdriver_windows.exe", "USBDriver_Mac.exe", "USBDriver_mac.EXE"}
                                         << QStringList();
    QTest::newRow("something else") << QStringList{"readme.txt"} << QStringList();
}

void TestUsbDriver::offersInstallersOnTheMedium()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, shown);
    ScratchMedium medium;
    for (const QString &f : files)
        medium.put(QStringLiteral("driver/") + f);
    Rig rig(medium);
    QWidget *chooser = rig.openChooser();
    QVERIFY(chooser->isVisible());
    QCOMPARE(chooser->windowTitle(), QStringLiteral("USB Driver"));
    QCOMPARE(rig.shownButtons(), shown);
    QVERIFY(rig.shell.started.isEmpty());
}

void TestUsbDriver::eachButtonStartsItsInstaller_data()
{
    QTest::addColumn<QString>("role");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("installer");

    QTest::newRow("winxp") << "winxp" << "Windows XP" << "driver/USBDriver_winxp.exe";
    QTest::newRow("win7") << "win7" << "Windows 7" << "driver/USBDriver_win7.exe";
    QTest::newRow("win8") << "win8" << "Windows 8" << "driver/USBDriver_win8.exe";
    QTest::newRow("win10") << "win10" << "Windows 10" << "driver/USBDriver_win10.exe";
    QTest::newRow("BtnWindows") << "BtnWindows" << "Windows" << "driver/USBDriver_windows.exe";
    QTest::newRow("BtnMac") << "BtnMac" << "Mac" << "driver/USBDriver_mac.exe";
}

void TestUsbDriver::eachButtonStartsItsInstaller()
{
    QFETCH(QString, role);
    QFETCH(QString, caption);
    QFETCH(QString, installer);
    ScratchMedium medium;
    for (const char *name : {"winxp", "win7", "win8", "win10", "windows", "mac"})
        medium.put(QStringLiteral("driver/USBDriver_%1.exe").arg(QLatin1String(name)));
    Rig rig(medium);
    rig.openChooser();
    QCOMPARE(rig.button(role)->text(), caption);
    // The per-version buttons are never shown; click() reaches them all the same.
    rig.button(role)->click();
    QCOMPARE(rig.shell.started, QStringList{medium.path(installer)});
    QVERIFY(!rig.chooser()->isVisible());
    QVERIFY(rig.window.isVisible());
    QVERIFY(rig.dialogs.messages.isEmpty());
}

void TestUsbDriver::windowsInstallerAlone()
{
    ScratchMedium medium;
    medium.put(QStringLiteral("driver/USBDriver_windows.exe"));
    Rig rig(medium);
    rig.openChooser();
    QCOMPARE(rig.shownButtons(), QStringList{"BtnWindows"});
    QVERIFY(rig.button(QStringLiteral("BtnWindows"))->isVisible());
    QTest::mouseClick(rig.button(QStringLiteral("BtnWindows")), Qt::LeftButton);
    QCOMPARE(rig.shell.started, QStringList{medium.path(QStringLiteral("driver/USBDriver_windows.exe"))});
    QVERIFY(!rig.chooser()->isVisible());
    QVERIFY(rig.window.isVisible());
}

void TestUsbDriver::floatsCentredOverTheLauncher()
{
    ScratchMedium medium;
    medium.put(QStringLiteral("driver/USBDriver_mac.exe"));
    Rig rig(medium);
    rig.window.move(130, 90);
    QWidget *chooser = rig.openChooser();
    QCOMPARE(rig.shell.keptAbove, QList<QWidget *>{chooser});
    QCOMPARE(chooser->size(), QSize(px(4590, *chooser), px(2535, *chooser)));
    QCOMPARE(rig.window.size(), QSize(px(7620, rig.window), px(6375, rig.window)));
    const QPoint offset = chooser->geometry().center() - rig.window.geometry().center();
    QVERIFY2(offset.manhattanLength() <= 1, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    QCOMPARE(rig.button(QStringLiteral("BtnMac"))->geometry(),
             QRect(px(2400, *chooser), px(1800, *chooser), px(2175, *chooser), px(615, *chooser)));
}

void TestUsbDriver::pressedAgainShowsTheSameWindowChecked()
{
    ScratchMedium medium;
    medium.put(QStringLiteral("driver/USBDriver_windows.exe"));
    medium.put(QStringLiteral("driver/USBDriver_mac.exe"));
    Rig rig(medium);
    QWidget *first = rig.openChooser();
    first->move(10, 20); // the user moved it

    medium.remove(QStringLiteral("driver/USBDriver_mac.exe"));
    QCOMPARE(rig.openChooser(), first);
    QCOMPARE(rig.window.findChildren<QWidget *>(QStringLiteral("USBDriver")).size(), 1);
    QVERIFY(first->isVisible());
    QCOMPARE(first->pos(), QPoint(10, 20));
    QCOMPARE(rig.shownButtons(), QStringList{"BtnWindows"});

    // An installer copied on while the window stays open gets its button back.
    medium.put(QStringLiteral("driver/USBDriver_mac.exe"));
    rig.openChooser();
    QCOMPARE(rig.shownButtons(), QStringList({"BtnWindows", "BtnMac"}));
    QCOMPARE(rig.shell.keptAbove.size(), 1);

    // Closed and opened again: centred and pinned on top afresh.
    first->close();
    QCOMPARE(rig.openChooser(), first);
    QCOMPARE(rig.shell.keptAbove.size(), 2);
    QVERIFY((first->geometry().center() - rig.window.geometry().center()).manhattanLength() <= 1);
    QVERIFY(rig.shell.started.isEmpty());
}

void TestUsbDriver::picture_data()
{
    QTest::addColumn<QByteArray>("picture"); // "picture", "none", "junk"
    QTest::newRow("picture") << QByteArray("picture");
    QTest::newRow("missing") << QByteArray("none");
    QTest::newRow("unreadable") << QByteArray("junk");
}

void TestUsbDriver::picture()
{
    QFETCH(QByteArray, picture);
    ScratchMedium medium;
    medium.put(QStringLiteral("driver/USBDriver_windows.exe"));
    if (picture == "picture")
        medium.putPicture(QStringLiteral("picture/driver.jpg"), QColor(20, 90, 20), QSize(12, 8), "JPG");
    if (picture == "junk")
        medium.put(QStringLiteral("picture/driver.jpg"), "GIF89a");
    Rig rig(medium);
    QWidget *chooser = rig.openChooser();

    const QImage shot = chooser->grab().toImage();
    const QColor corner = shot.pixelColor(2, 2);
    bool dark = false; // the "Driver Install" text across the middle
    for (int x = 0; x < shot.width(); ++x)
        dark = dark || qGray(shot.pixel(x, shot.height() / 2)) < 80;
    if (picture == "picture") {
        QVERIFY2(nearColour(corner, QColor(20, 90, 20)), qPrintable(corner.name()));
    } else {
        QCOMPARE(corner, QColor(100, 150, 180));
        QVERIFY(dark);
    }
}

void TestUsbDriver::installerGoneBeforeThePress()
{
    ScratchMedium medium;
    medium.put(QStringLiteral("driver/USBDriver_windows.exe"));
    Rig rig(medium);
    rig.openChooser();
    medium.remove(QStringLiteral("driver/USBDriver_windows.exe"));
    QTest::mouseClick(rig.button(QStringLiteral("BtnWindows")), Qt::LeftButton);
    QVERIFY(rig.shell.started.isEmpty());
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QCOMPARE(rig.dialogs.messages[0].text, QStringLiteral("The file %1 was not found.")
                                               .arg(medium.path(QStringLiteral("driver/USBDriver_windows.exe"))));
    QCOMPARE(rig.dialogs.messages[0].title, QStringLiteral("USB Driver"));
    QVERIFY(!rig.chooser()->isVisible());
}

void TestUsbDriver::realDriverInstallerStarts()
{
    ScratchMedium medium;
    const QString marker = medium.path(QStringLiteral("driver-ran"));
    medium.putScript(QStringLiteral("driver/USBDriver_mac.exe"), marker);
    ui::QtShell shell;
    ui::ScriptedDialogs dialogs;
    launcher::AutoInterface window(medium.folder(), shell, dialogs);
    window.show();
    window.drivers();
    auto *mac = window.findChild<QPushButton *>(QStringLiteral("BtnMac"));
    QVERIFY(mac->isVisible());
    QTest::mouseClick(mac, Qt::LeftButton);
    QTRY_VERIFY(QFile::exists(marker));
    QVERIFY(dialogs.messages.isEmpty());
}

QTEST_MAIN(TestUsbDriver)
#include "tst_usbdriver.moc"
