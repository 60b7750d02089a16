#include "panel/WindowRegistry.h"

namespace panel {

QWidget *WindowRegistry::window(Role role) const
{
    return m_windows.value(role).data();
}

bool WindowRegistry::isVisible(Role role) const
{
    const QWidget *w = window(role);
    return w && w->isVisible();
}

QWidget *WindowRegistry::show(Role role)
{
    QWidget *w = window(role);
    if (!w) {
        const auto factory = m_factories.value(role);
        if (!factory)
            return nullptr;
        w = factory();
        // Closing a window ends it; the next show loads a fresh one.
        w->setAttribute(Qt::WA_DeleteOnClose);
        m_windows[role] = w;
    }
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

void WindowRegistry::close(Role role)
{
    if (QWidget *w = window(role))
        w->close();
    m_windows.remove(role);
}

void WindowRegistry::closeAll()
{
    const auto roles = m_windows.keys();
    for (Role role : roles)
        close(role);
}

void WindowRegistry::destroyAll()
{
    const auto windows = m_windows.values();
    m_windows.clear();
    for (const QPointer<QWidget> &w : windows)
        delete w.data();
}

void WindowRegistry::showGraphs(int sweepIntervalMs)
{
    for (Role role : {Role::RealTimeX, Role::RealTimeY}) {
        QWidget *w = show(role);
        if (w && m_sweepStarter)
            m_sweepStarter(w, sweepIntervalMs);
    }
}

} // namespace panel
