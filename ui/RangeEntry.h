#pragma once

#include <QList>
#include <QString>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace ui {

// The parts the range windows (Plot Range, Real Time Range) are built of.

// A raised, centred panel that captions an entry box.
QLabel *captionPanel(const QString &name, const QString &caption, int margin, QWidget *parent);
// An entry box with its object name and, for screen readers, the name of what it holds.
QLineEdit *entryBox(const QString &name, const QString &accessibleName, QWidget *parent);
// The window's OK button, its default: a click or Return in any of the boxes calls onOk,
// as in a dialog.
QPushButton *okButton(const QString &name, const QList<QLineEdit *> &boxes, QWidget *window,
                      const std::function<void()> &onOk);

} // namespace ui
