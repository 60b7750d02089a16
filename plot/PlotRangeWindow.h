#pragma once

#include "plot/PlotMath.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace core {
struct AppState;
}

namespace plot {

// The "Plot Range" window: which rows are drawn and both scales. Its boxes show the plot
// settings each time it is shown and every time it is resized; OK hands the entry on, and
// the owner checks and applies it.
class PlotRangeWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit PlotRangeWindow(const core::AppState &state, QWidget *parent = nullptr);

    // The six boxes from the settings, as decimal text.
    void fill();
    RangeEntry entry() const;

    QLineEdit &box(const QString &name) const;

signals:
    void okPressed();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    const core::AppState &m_state;
    QLineEdit *m_from = nullptr;
    QLineEdit *m_to = nullptr;
    QLineEdit *m_ohmMin = nullptr;
    QLineEdit *m_ohmMax = nullptr;
    QLineEdit *m_voltMin = nullptr;
    QLineEdit *m_voltMax = nullptr;
};

} // namespace plot
