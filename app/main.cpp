#include "panel/Startup.h"
#include "ui/AppIcon.h"
#include "ui/Clock.h"
#include "ui/Dialogs.h"
#include "ui/PortNames.h"
#include "ui/QtSerialPort.h"
#include "ui/Shell.h"
#include "ui/SoundTone.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (const auto status = panel::answerWithoutWindows(arguments, QStringLiteral(DORVEL_VERSION)))
        return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorvel"));
    QApplication::setApplicationVersion(QStringLiteral(DORVEL_VERSION));
    QApplication::setWindowIcon(ui::appIcon());
    // Lets the desktop match the windows to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.dorvel.Dorvel"));

    // Qt's own dialogs (file, print, message-box buttons) speak the desktop's language; the
    // program's own texts are the meter's and stay as they are.
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    ui::QtSerialPort comm1;
    ui::QtSerialPort probe;
    ui::QtPortEnumerator ports;
    ui::QtDialogs dialogs;
    ui::QtShell shell;
    ui::SystemClock clock;
    ui::SoundTone tone;
    return panel::RunDorvel(QApplication::arguments(), {comm1, probe, ports, dialogs, shell, clock, &tone});
}
