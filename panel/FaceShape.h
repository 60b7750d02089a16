#pragma once

#include <QWidget>

namespace panel {

// One of the outline parts of the meter face (the case, the front plate, the display
// window, the key well, the jack panel, the groove line). Each part is a child widget of
// its own so that it keeps its role name, and draws itself with vectors over its whole
// rectangle. Parts are stacked in the order they are made; they take no mouse input, so
// clicks reach the keys above them.
class FaceShape : public QWidget
{
public:
    enum class Kind { Case, Plate, Display, KeyWell, JackPanel, Groove };

    FaceShape(Kind kind, const QString &name, const QRect &geometry, QWidget *parent);

    Kind kind() const { return m_kind; }
    // The display's glass, in the parent's coordinates: where readings may stand.
    static QRect glassOf(const QRect &displayGeometry);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintCase(QPainter &p) const;
    void paintPlate(QPainter &p) const;
    void paintDisplay(QPainter &p) const;
    void paintKeyWell(QPainter &p) const;
    void paintJackPanel(QPainter &p) const;
    void paintGroove(QPainter &p) const;

    Kind m_kind;
};

} // namespace panel
