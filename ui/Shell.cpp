#include "ui/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>
#include <QWidget>

namespace ui {

bool QtShell::openDocument(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtShell::startProgram(const QString &path, const QStringList &arguments)
{
    return QProcess::startDetached(path, arguments, QFileInfo(path).absolutePath());
}

void QtShell::keepAbove(QWidget *window)
{
    const bool wasVisible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    // Changing window flags hides a shown window; bring it back where it was.
    if (wasVisible)
        window->show();
}

} // namespace ui
