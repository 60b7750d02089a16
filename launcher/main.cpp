#include "launcher/AutoInterface.h"
#include "ui/Dialogs.h"
#include "ui/Shell.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gatefold"));

    ui::QtShell shell;
    ui::QtDialogs dialogs;
    // The medium's files lie beside the program file, wherever the medium is mounted.
    launcher::AutoInterface window(QCoreApplication::applicationDirPath(), shell, dialogs);
    window.show();
    // Closing the window (or "Exit") closes the driver window too and the last window ends the program.
    return app.exec();
}
