#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace panel {

// The main window's picture of the hand-held meter: case, display, keys and the symbols
// printed on the case, with the live reading and the link and recording states on the
// display. It only shows; the main window writes the readings and states through the
// accessors. Its controls keep their role names as object names (ValOhm, LblCom, Label3,
// SSCommand1, Image2, Shape1, ...), so that tests and the main window find them by role.
//
// The face has one fixed size: the case is drawn for it, and the readings are laid out
// so that the widest texts ("-12.34", "----") fit at the fonts given, with room to spare
// when a wider substitute font is all the system has.
class MeterFace : public QWidget
{
    Q_OBJECT
public:
    explicit MeterFace(QWidget *parent = nullptr);

    static QSize faceSize();
    QSize sizeHint() const override { return faceSize(); }

    QLabel *valOhm() const { return m_valOhm; }
    QLabel *valVoltage() const { return m_valVoltage; }
    QLabel *lblMOhm() const { return m_lblMOhm; }
    QLabel *lblCom() const { return m_lblCom; }
    QLabel *lblRec() const { return m_lblRec; }
    QLabel *lblCount() const { return m_lblCount; }
    QLabel *lblFileName() const { return m_lblFileName; }

    // The link label: a long device name is shortened in the middle so that the state
    // word in front and the name's end stay readable; the whole text is its tool tip.
    void setLinkText(const QString &text);
    // While the link is lost the last values stay, drawn dimmed so that nobody takes them
    // for a fresh reading; their texts do not change.
    void setReadingStale(bool stale);
    bool isReadingStale() const { return m_stale; }

private:
    void buildCase();
    void buildDisplay();
    void buildKeys();
    void buildSymbols();

    QLabel *m_valOhm = nullptr;
    QLabel *m_valVoltage = nullptr;
    QLabel *m_lblMOhm = nullptr;
    QLabel *m_lblCom = nullptr;
    QLabel *m_lblRec = nullptr;
    QLabel *m_lblCount = nullptr;
    QLabel *m_lblFileName = nullptr;
    bool m_stale = false;
};

} // namespace panel
