#include "ui/DeviceManager.h"

#include "ui/PortNames.h"
#include "ui/Shell.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace ui {

void showDeviceManager(QWidget *parent, const PortEnumerator &ports, Shell &shell)
{
#ifdef Q_OS_WIN
    Q_UNUSED(ports);
    Q_UNUSED(parent);
    shell.openDocument(QStringLiteral("C:\\WINDOWS\\system32\\devmgmt.msc"));
#else
    Q_UNUSED(shell);
    const QList<SerialPortDescription> present = ports.ports();
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("DeviceManager"));
    dialog.setWindowTitle(QStringLiteral("Serial Ports"));
    auto *layout = new QVBoxLayout(&dialog);
    if (present.isEmpty())
        layout->addWidget(new QLabel(QStringLiteral("No serial port is present."), &dialog));
    auto *table = new QTableWidget(static_cast<int>(present.size()), 5, &dialog);
    table->setObjectName(QStringLiteral("PortTable"));
    table->setHorizontalHeaderLabels({QStringLiteral("Device"), QStringLiteral("Description"),
                                      QStringLiteral("Manufacturer"), QStringLiteral("Vendor:Product"),
                                      QStringLiteral("Serial number")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    for (int row = 0; row < present.size(); ++row) {
        const auto &p = present[row];
        const QString cells[] = {p.path, p.description, p.manufacturer, p.vendorProduct, p.serialNumber};
        for (int col = 0; col < 5; ++col)
            table->setItem(row, col, new QTableWidgetItem(cells[col]));
    }
    table->resizeColumnsToContents();
    table->setMinimumWidth(560);
    layout->addWidget(table);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.exec();
#endif
}

} // namespace ui
