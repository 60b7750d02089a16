#include "panel/Wiring.h"

#include "core/AppState.h"
#include "files/FileListWindow.h"
#include "panel/WindowRegistry.h"
#include "printing/Printing.h"

namespace panel {

Wiring::Wiring(WiringContext context, QObject *parent)
    : QObject(parent)
    , m_ctx(context)
{
    wireFiles();
}

void Wiring::wireFiles()
{
    m_ctx.views.setFactory<Role::FileList>([this] {
        auto *list = new files::FileListWindow(m_ctx.state, m_ctx.dialogs);
        connect(list, &files::FileListWindow::printRequested, this,
                [this, list] { m_ctx.printing.PrintGrid(list, list->grid()); });
        return list;
    });
}

void Wiring::openFileList(const QString &path)
{
    // A fresh window for every file: it starts from its load values.
    if (m_ctx.views.isVisible(Role::FileList))
        m_ctx.views.close(Role::FileList);
    auto *list = m_ctx.views.show<Role::FileList>();
    list->placeBeside(m_ctx.mainWindow);
    list->load(path);
}

bool Wiring::appendListRow(const QString &row)
{
    // The real-time list window takes the rows once it exists; until then there is
    // nothing to fail.
    Q_UNUSED(row);
    return true;
}

} // namespace panel
