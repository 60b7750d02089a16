#include "launcher/AutoInterface.h"

#include "launcher/DriverChooser.h"
#include "launcher/ManualPanel.h"
#include "launcher/PictureBox.h"
#include "launcher/StartInstaller.h"
#include "launcher/TwipRect.h"
#include "ui/Shell.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace launcher {

AutoInterface::AutoInterface(const QString &folder, ui::Shell &shell, ui::Dialogs &dialogs, QWidget *parent)
    : QWidget(parent)
    , m_medium(folder)
    , m_shell(shell)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("AutoInterface"));
    setWindowTitle(QStringLiteral("Install Interface"));
    setFixedSize(toPixels({0, 0, 7620, 6375}, *this).size());
    // The twip layout was drawn for the classic 8-point dialog font: at the desktop's usual
    // 9 or 10 points "Software Install" and the manual names outgrow their places.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    // Centred on the screen; the size is fixed, so this needs nothing shown yet.
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }

    m_board = new PictureBox({QColor(100, 250, 200), QStringLiteral("Welcome"), 36}, this);
    m_board->setObjectName(QStringLiteral("BoardPicture"));
    m_board->setGeometry(rect());

    m_product = new PictureBox({}, m_board);
    m_product->setObjectName(QStringLiteral("ProductPicture"));
    m_product->setGeometry(toPixels({120, 120, 735, 735}, *this));

    QPushButton *install = addButton(QStringLiteral("SoftwareInstall"), QStringLiteral("Software Install"), 0);
    QPushButton *drivers = addButton(QStringLiteral("Drivers"), QStringLiteral("Drivers"), 1);
    QPushButton *protocol = addButton(QStringLiteral("Protocol"), QStringLiteral("Protocol"), 2);
    QPushButton *help = addButton(QStringLiteral("UserManual"), QStringLiteral("Help"), 3);
    QPushButton *exit = addButton(QStringLiteral("Exitbtn"), QStringLiteral("Exit"), 4);

    m_help = new ManualPanel(m_board);
    m_help->setGeometry(toPixels({120, 3840, 7335, 1335}, *this));
    m_help->hide();

    connect(install, &QPushButton::clicked, this, &AutoInterface::softwareInstall);
    connect(drivers, &QPushButton::clicked, this, &AutoInterface::drivers);
    connect(protocol, &QPushButton::clicked, this, &AutoInterface::protocol);
    connect(help, &QPushButton::clicked, this, &AutoInterface::userManual);
    connect(exit, &QPushButton::clicked, this, &AutoInterface::close);
    connect(m_help, &ManualPanel::chosen, this, &AutoInterface::openManual);

    // Only what the medium holds now is offered; installing and leaving always are.
    protocol->setVisible(isFile(m_medium.protocol()));
    help->setVisible(holdsAnyFile(m_medium.helpFolder()));
    drivers->setVisible(holdsAnyFile(m_medium.driverFolder()));

    m_board->load(m_medium.boardImage());
    m_product->setVisible(m_product->load(m_medium.productImage()));
}

AutoInterface::~AutoInterface() = default;

QPushButton *AutoInterface::addButton(const QString &role, const QString &caption, int slot)
{
    // One row along the bottom: 1260 twips wide, 210 apart, 240 from either edge.
    auto *button = new QPushButton(caption, m_board);
    button->setObjectName(role);
    button->setGeometry(toPixels({240 + slot * 1470, 5280, 1260, 495}, *this));
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, QColor(100, 200, 200));
    button->setPalette(palette);
    fitCaption(*button);
    return button;
}

void fitCaption(QPushButton &button)
{
    // The room the style leaves for the text: the button less its margins on both sides.
    const int margin = button.style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
    const int room = button.width() - 2 * margin;
    QFont font = button.font();
    // Half a point at a time, no smaller than six points: a caption that long is cut.
    while (QFontMetrics(font).horizontalAdvance(button.text()) > room && font.pointSizeF() > 6.0)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    if (font != button.font())
        button.setFont(font);
}

void AutoInterface::softwareInstall()
{
    startInstaller(m_medium.setup(), this, m_shell, m_dialogs);
}

void AutoInterface::drivers()
{
    if (!m_chooser)
        m_chooser = new DriverChooser(m_medium, m_shell, m_dialogs, this);
    m_chooser->open();
}

void AutoInterface::protocol()
{
    // As with the manuals, a desktop without a PDF viewer is not reported.
    m_shell.openDocument(m_medium.protocol());
}

void AutoInterface::userManual()
{
    if (m_help->isHidden()) {
        m_help->show();
        // A help folder without any PDF: nothing to offer, the panel goes away again.
        if (!m_help->fill(listManuals(m_medium.helpFolder())))
            m_help->hide();
        return;
    }
    m_help->hide();
    m_help->removeExtraOptions();
}

void AutoInterface::openManual(const QString &caption)
{
    m_shell.openDocument(m_medium.helpFolder() + caption + QStringLiteral(".pdf"));
    m_help->hide();
    m_help->removeExtraOptions();
}

void AutoInterface::closeEvent(QCloseEvent *event)
{
    // The driver window is a window of its own; left open it would keep the program alive.
    if (m_chooser)
        m_chooser->close();
    event->accept();
}

} // namespace launcher
