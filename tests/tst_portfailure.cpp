// Why a port did not open: the words the user reads, and the real serial port telling a
// missing device, a device held by another program and a device the user may not open apart.
#include "meter/PortFailure.h"
#include "ui/QtSerialPort.h"

#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <fcntl.h>
#include <grp.h>
#include <pty.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using Open = ui::SerialPort::OpenResult;

class TestPortFailure : public QObject
{
    Q_OBJECT
private slots:
    void eachReasonSaysWhatToDo();
    void realPortTellsTheReasonsApart();
    void userWithoutPermissionIsToldSo();
};

void TestPortFailure::eachReasonSaysWhatToDo()
{
    const QString denied =
        meter::openFailureDetails("/dev/ttyUSB0", Open::NoPermission, "Permission denied", "dialout");
    QVERIFY(denied.contains("/dev/ttyUSB0"));
    QVERIFY(denied.contains("permission denied"));
    QVERIFY(denied.contains("\"dialout\""));
    QVERIFY(denied.contains("sudo usermod -aG dialout $USER"));
    QVERIFY(denied.contains("log out and in again"));
    // Another system's group name is the one to join.
    QVERIFY(meter::openFailureDetails("/dev/ttyUSB0", Open::NoPermission, {}, "uucp")
                .contains("sudo usermod -aG uucp $USER"));
    // Nobody joins root's group or the terminals': the adapters' usual group is named.
    for (const char *group : {"", "root", "tty"}) {
        const QString text = meter::openFailureDetails("/dev/ttyUSB0", Open::NoPermission, {}, group);
        QVERIFY2(text.contains("sudo usermod -aG dialout $USER"), group);
        QVERIFY2(!text.contains("-aG root") && !text.contains("-aG tty"), group);
    }

    QVERIFY(meter::openFailureDetails("/dev/ttyS0", Open::AlreadyInUse, {}, {})
                .contains("/dev/ttyS0 is locked or in use by another program"));
    // The program ends after the message: another port is chosen at the next start.
    QCOMPARE(meter::openFailureDetails("/dev/ttyACM0", Open::NotFound, {}, {}),
             QStringLiteral("/dev/ttyACM0 is not present.\n"
                            "Is the meter's adapter plugged in? Start Dorvel again and choose another port."));
    QCOMPARE(meter::openFailureDetails("/dev/ttyS3", Open::Failed, "Input/output error", {}),
             QStringLiteral("/dev/ttyS3 could not be opened: Input/output error."));
}

namespace {

struct Pty
{
    int master = -1;
    int slave = -1;
    QString path;
    Pty()
    {
        char name[256] = {};
        if (::openpty(&master, &slave, name, nullptr, nullptr) == 0)
            path = QString::fromLocal8Bit(name);
    }
    ~Pty()
    {
        if (slave >= 0)
            ::close(slave);
        if (master >= 0)
            ::close(master);
    }
};

} // namespace

void TestPortFailure::realPortTellsTheReasonsApart()
{
    ui::QtSerialPort missing;
    missing.setPortName(QStringLiteral("/dev/dorvel-no-such-device"));
    QCOMPARE(missing.open(), Open::NotFound);

    Pty pty;
    QVERIFY(!pty.path.isEmpty());
    ui::QtSerialPort first, second;
    first.setPortName(pty.path);
    QCOMPARE(first.open(), Open::Opened);
    // The first holder's lock keeps a second one out, and that is "in use", not "denied".
    second.setPortName(pty.path);
    const Open again = second.open();
    QVERIFY2(again == Open::AlreadyInUse || again == Open::Opened, qPrintable(second.errorString()));
    if (again == Open::Opened)
        qInfo("this system lets a second program open a held terminal");
    first.close();
    second.close();

    struct stat info = {};
    QVERIFY(::stat(QFile::encodeName(pty.path).constData(), &info) == 0);
    const struct group *g = ::getgrgid(info.st_gid);
    QCOMPARE(first.deviceGroup(), g ? QString::fromLocal8Bit(g->gr_name) : QString());
}

void TestPortFailure::userWithoutPermissionIsToldSo()
{
    // A device the user may not open: a terminal only its owner may use, opened as someone else.
    // Root opens everything, so the test becomes the unprivileged "nobody" in a child process.
    const struct passwd *nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || !nobody)
        QSKIP("needs root to become another user");
    Pty pty;
    QVERIFY(!pty.path.isEmpty());
    QVERIFY(::chmod(QFile::encodeName(pty.path).constData(), 0600) == 0);
    QVERIFY(::chown(QFile::encodeName(pty.path).constData(), 0, 0) == 0);

    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
            ::_exit(100);
        ui::QtSerialPort port;
        port.setPortName(pty.path);
        ::_exit(static_cast<int>(port.open()));
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), static_cast<int>(Open::NoPermission));
}

QTEST_GUILESS_MAIN(TestPortFailure)
#include "tst_portfailure.moc"
