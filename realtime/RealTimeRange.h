#pragma once

#include "realtime/GraphRange.h"

#include <QWidget>

class QLineEdit;

namespace core {
struct AppState;
}

namespace realtime {

// The "Real Time Range" window: the top and bottom of both graphs and the points one sweep
// takes. The boxes open with the values in use and keep what the user typed while the
// window stays open; OK hands the entry on, and the owner checks and applies it. Closing
// it by its title bar changes nothing.
class RealTimeRange final : public QWidget
{
    Q_OBJECT
public:
    explicit RealTimeRange(const core::AppState &state, QWidget *parent = nullptr);

    GraphRangeEntry entry() const;
    // A box by its name: TextXMax, TextXMin, TextYMax, TextYMin, TextCounts.
    QLineEdit &box(const QString &name) const;

signals:
    void okPressed();

private:
    QLineEdit *m_xMax = nullptr;
    QLineEdit *m_xMin = nullptr;
    QLineEdit *m_yMax = nullptr;
    QLineEdit *m_yMin = nullptr;
    QLineEdit *m_counts = nullptr;
};

} // namespace realtime
