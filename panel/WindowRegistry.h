#pragma once

#include "realtime/Views.h"

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace files {
class FileListWindow;
}
namespace realtime {
class RealTimeList;
class RealTimeGraph;
class RealTimeRange;
} // namespace realtime
namespace logger {
class MemoryWindow;
class DataListWindow;
} // namespace logger
namespace plot {
class PlotWindow;
class PlotRangeWindow;
} // namespace plot

namespace packs {
class PackBuilderWindow;
}
namespace sorting {
class SortingWindow;
}

namespace panel {

// The secondary windows, named as the windows are.
enum class Role {
    List,
    RealTimeX,
    RealTimeY,
    RealTimeRange,
    FileList,
    Memory,
    DataList,
    ListPlot2,
    Plot2Range,
    Sorting,
    PackBuilder
};

// The window class of each role: a role gives back its window's own type. A role without a
// specialisation here has no window yet.
template <Role R>
struct RoleWindow
{
    using type = QWidget;
};
template <>
struct RoleWindow<Role::List>
{
    using type = realtime::RealTimeList;
};
template <>
struct RoleWindow<Role::RealTimeX>
{
    using type = realtime::RealTimeGraph;
};
template <>
struct RoleWindow<Role::RealTimeY>
{
    using type = realtime::RealTimeGraph;
};
template <>
struct RoleWindow<Role::RealTimeRange>
{
    using type = realtime::RealTimeRange;
};
template <>
struct RoleWindow<Role::FileList>
{
    using type = files::FileListWindow;
};
template <>
struct RoleWindow<Role::Memory>
{
    using type = logger::MemoryWindow;
};
template <>
struct RoleWindow<Role::DataList>
{
    using type = logger::DataListWindow;
};
template <>
struct RoleWindow<Role::ListPlot2>
{
    using type = plot::PlotWindow;
};
template <>
struct RoleWindow<Role::Plot2Range>
{
    using type = plot::PlotRangeWindow;
};
template <>
struct RoleWindow<Role::Sorting>
{
    using type = sorting::SortingWindow;
};
template <>
struct RoleWindow<Role::PackBuilder>
{
    using type = packs::PackBuilderWindow;
};

// Each secondary window exists once. The registry, owned by the main window, creates a
// window by role on first show, brings up the same instance afterwards, and forgets it
// when it closes.
class WindowRegistry final : public realtime::Views
{
public:
    using Role = panel::Role;
    using Factory = std::function<QWidget *()>;
    // Called after the graph windows are shown, to start their sweep timers.
    using SweepStarter = std::function<void(QWidget *, int intervalMs)>;

    template <Role R>
    void setFactory(std::function<typename RoleWindow<R>::type *()> factory)
    {
        m_factories[R] = [factory = std::move(factory)]() -> QWidget * { return factory(); };
    }
    void setSweepStarter(SweepStarter starter) { m_sweepStarter = std::move(starter); }

    // The window of a role if it is open, else nullptr.
    QWidget *window(Role role) const;
    bool isVisible(Role role) const;
    // Creates (if need be), shows and raises; nullptr when no window is registered for the role.
    QWidget *show(Role role);

    // The typed forms; the caller includes the window's header.
    template <Role R>
    typename RoleWindow<R>::type *window() const
    {
        return static_cast<typename RoleWindow<R>::type *>(window(R));
    }
    template <Role R>
    typename RoleWindow<R>::type *show()
    {
        return static_cast<typename RoleWindow<R>::type *>(show(R));
    }
    void close(Role role);
    void closeAll();
    // Deletes every window still open, at once: for the main window's end, when no event loop
    // is left to run a deferred delete.
    void destroyAll();
    ~WindowRegistry() override { destroyAll(); }

    // realtime::Views
    bool ohmGraphVisible() const override { return isVisible(Role::RealTimeX); }
    bool voltGraphVisible() const override { return isVisible(Role::RealTimeY); }
    void closeOhmGraph() override { close(Role::RealTimeX); }
    void closeVoltGraph() override { close(Role::RealTimeY); }
    void showGraphs(int sweepIntervalMs) override;
    void closeList() override { close(Role::List); }
    void showList() override { show(Role::List); }

private:
    QHash<Role, Factory> m_factories;
    QHash<Role, QPointer<QWidget>> m_windows;
    SweepStarter m_sweepStarter;
};

} // namespace panel
