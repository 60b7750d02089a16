#include "launcher/StartInstaller.h"

#include "launcher/Medium.h"
#include "ui/Dialogs.h"
#include "ui/Shell.h"

#include <QDir>
#include <QWidget>

namespace launcher {

bool startInstaller(const QString &path, QWidget *owner, ui::Shell &shell, ui::Dialogs &dialogs)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (!isFile(path)) {
        dialogs.message(owner, ui::Dialogs::Icon::Warning, owner->windowTitle(),
                        QStringLiteral("The file %1 was not found.").arg(shown));
        return false;
    }
    if (!shell.startProgram(path)) {
        dialogs.message(owner, ui::Dialogs::Icon::Warning, owner->windowTitle(),
                        QStringLiteral("The program %1 could not be started.").arg(shown));
        return false;
    }
    return true;
}

} // namespace launcher
