#pragma once

#include "launcher/Medium.h"

#include <QWidget>

class QPushButton;

namespace ui {
class Dialogs;
class Shell;
} // namespace ui

namespace launcher {

class DriverChooser;
class ManualPanel;
class PictureBox;

// Shrinks the font of a button whose caption does not fit between the style's margins,
// for that button only.
void fitCaption(QPushButton &button);

// Gatefold's one window (AutoInterface): install the software, pick a USB driver installer,
// open a manual or the protocol description, leave. Targets missing from the medium when the
// window loads are not offered.
class AutoInterface : public QWidget
{
    Q_OBJECT
public:
    // `folder` is where the medium's files are looked for: the program file's folder.
    AutoInterface(const QString &folder, ui::Shell &shell, ui::Dialogs &dialogs, QWidget *parent = nullptr);
    ~AutoInterface() override;

    void softwareInstall();
    void drivers();
    void protocol();
    void userManual();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QPushButton *addButton(const QString &role, const QString &caption, int slot);
    void openManual(const QString &caption);

    Medium m_medium;
    ui::Shell &m_shell;
    ui::Dialogs &m_dialogs;
    PictureBox *m_board = nullptr;
    PictureBox *m_product = nullptr;
    ManualPanel *m_help = nullptr;
    DriverChooser *m_chooser = nullptr; // made on the first "Drivers", then kept
};

} // namespace launcher
