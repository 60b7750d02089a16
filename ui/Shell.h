#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace ui {

// The desktop shell: open a document in its viewer, start a program, keep a window on top.
class Shell
{
public:
    virtual ~Shell() = default;
    // False when the document could not be handed to a viewer.
    virtual bool openDocument(const QString &path) = 0;
    // Starts a program on its own, in its own folder; false when it could not be started.
    virtual bool startProgram(const QString &path, const QStringList &arguments = {}) = 0;
    // Asks the window manager to keep the window above all others.
    virtual void keepAbove(QWidget *window) = 0;
};

class QtShell final : public Shell
{
public:
    bool openDocument(const QString &path) override;
    bool startProgram(const QString &path, const QStringList &arguments = {}) override;
    void keepAbove(QWidget *window) override;
};

} // namespace ui
