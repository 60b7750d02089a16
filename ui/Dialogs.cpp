#include "ui/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>

namespace ui {

void QtDialogs::message(QWidget *parent, Icon icon, const QString &title, const QString &text)
{
    detailedMessage(parent, icon, title, text, {});
}

void QtDialogs::detailedMessage(QWidget *parent, Icon icon, const QString &title, const QString &text,
                                const QString &details)
{
    QMessageBox box(parent);
    switch (icon) {
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    }
    box.setWindowTitle(title);
    box.setText(text);
    if (!details.isEmpty())
        box.setInformativeText(details);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

std::optional<QString> QtDialogs::inputText(QWidget *parent, const QString &title, const QString &prompt,
                                            const QString &defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtDialogs::openFileName(QWidget *parent, const QString &filter)
{
    const QString file = QFileDialog::getOpenFileName(parent, QString(), m_folder.start(), qtFilter(filter));
    m_folder.chosen(file);
    return file;
}

void QtDialogs::notice(QWidget *parent, const QString &title, const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

QString QtDialogs::saveFileName(QWidget *parent, const QString &filter)
{
    // QFileDialog asks before replacing an existing file unless told otherwise.
    const QString file = QFileDialog::getSaveFileName(parent, QString(), m_folder.start(), qtFilter(filter));
    m_folder.chosen(file);
    return file;
}

bool QtDialogs::printSetup(QWidget *parent, QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void QtDialogs::showPorts(QWidget *parent, const QList<SerialPortDescription> &ports)
{
    const QList<SerialPortDescription> &present = ports;
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
}

QString DialogFolder::start() const
{
    if (!m_last.isEmpty())
        return m_last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void DialogFolder::chosen(const QString &file)
{
    if (!file.isEmpty())
        m_last = QFileInfo(file).absolutePath();
}

QString qtFilter(const QString &classicFilter)
{
    const QStringList parts = classicFilter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            continue;
        QString name = parts[i];
        // Qt's dialogs read the pattern from the parentheses; "*.*" would demand a dot.
        name.replace(QLatin1String("(*.*)"), QLatin1String("(*)"));
        out.append(name);
    }
    return out.join(QLatin1String(";;"));
}

} // namespace ui

namespace ui {

std::optional<Dialogs::CsvChoice> QtDialogs::csvChoice(QWidget *parent, const CsvChoice &defaults, bool offerMarkers)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Export CSV"));
    auto *form = new QFormLayout(&dialog);
    auto *separator = new QComboBox(&dialog);
    separator->setAccessibleName(QStringLiteral("Separator"));
    separator->addItem(QStringLiteral("Comma ( , )"), QChar(u','));
    separator->addItem(QStringLiteral("Semicolon ( ; )"), QChar(u';'));
    separator->setCurrentIndex(defaults.separator == QLatin1Char(';') ? 1 : 0);
    form->addRow(QStringLiteral("&Separator"), separator);
    auto *decimal = new QComboBox(&dialog);
    decimal->setAccessibleName(QStringLiteral("Decimal sign"));
    decimal->addItem(QStringLiteral("Point ( 1.5 )"), QChar(u'.'));
    decimal->addItem(QStringLiteral("Comma ( 1,5 )"), QChar(u','));
    decimal->setCurrentIndex(defaults.decimal == QLatin1Char(',') ? 1 : 0);
    form->addRow(QStringLiteral("&Decimal sign"), decimal);
    auto *markers = new QCheckBox(QStringLiteral("Keep OL, -OL and ---- as text"), &dialog);
    markers->setChecked(defaults.keepMarkers);
    markers->setVisible(offerMarkers);
    if (offerMarkers)
        form->addRow(markers);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    CsvChoice choice;
    choice.separator = separator->currentData().toChar();
    choice.decimal = decimal->currentData().toChar();
    choice.keepMarkers = offerMarkers && markers->isChecked();
    return choice;
}

} // namespace ui
