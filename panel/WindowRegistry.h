#pragma once

#include "link/Views.h"

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace panel {

// Each secondary window exists once. The registry, owned by the main window, creates a
// window by role on first show, brings up the same instance afterwards, and forgets it
// when it closes.
class WindowRegistry final : public meter::Views
{
public:
    enum class Role { List, OhmGraph, VoltGraph, FileList, Memory, DataList, ListPlot };

    using Factory = std::function<QWidget *()>;
    // Called after the graph windows are shown, to start their sweep timers.
    using SweepStarter = std::function<void(QWidget *, int intervalMs)>;

    void setFactory(Role role, Factory factory) { m_factories[role] = std::move(factory); }
    void setSweepStarter(SweepStarter starter) { m_sweepStarter = std::move(starter); }

    // The window of a role if it is open, else nullptr.
    QWidget *window(Role role) const;
    bool isVisible(Role role) const;
    // Creates (if need be), shows and raises; nullptr when no window is registered for the role.
    QWidget *show(Role role);
    void close(Role role);
    void closeAll();

    // meter::Views
    bool ohmGraphVisible() const override { return isVisible(Role::OhmGraph); }
    bool voltGraphVisible() const override { return isVisible(Role::VoltGraph); }
    void closeOhmGraph() override { close(Role::OhmGraph); }
    void closeVoltGraph() override { close(Role::VoltGraph); }
    void showGraphs(int sweepIntervalMs) override;
    void closeList() override { close(Role::List); }
    void showList() override { show(Role::List); }

private:
    QHash<Role, Factory> m_factories;
    QHash<Role, QPointer<QWidget>> m_windows;
    SweepStarter m_sweepStarter;
};

} // namespace panel
