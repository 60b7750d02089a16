#pragma once

#include "ui/Shell.h"

#include <QStringList>

class QWidget;

namespace ui {

// Remembers what would have been opened or started; answers as the test says.
class RecordingShell final : public Shell
{
public:
    QStringList opened;
    QStringList started;
    QList<QWidget *> keptAbove;
    bool openSucceeds = true;
    bool startSucceeds = true;

    bool openDocument(const QString &path) override
    {
        opened.append(path);
        return openSucceeds;
    }
    bool startProgram(const QString &path, const QStringList & = {}) override
    {
        started.append(path);
        return startSucceeds;
    }
    void keepAbove(QWidget *window) override { keptAbove.append(window); }
};

} // namespace ui
