#pragma once

#include "ui/PortNames.h"

#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>

class QWidget;
class QPrinter;

namespace ui {

// Every modal dialog of the programs goes through here, so tests can script the answers.
class Dialogs
{
public:
    enum class Icon { Information, Warning, Critical, Question };

    virtual ~Dialogs() = default;

    virtual void message(QWidget *parent, Icon icon, const QString &title, const QString &text) = 0;
    // A message with a second, smaller paragraph under it: the why and the what-to-do.
    virtual void detailedMessage(QWidget *parent, Icon icon, const QString &title, const QString &text,
                                 const QString &details)
    {
        Q_UNUSED(details);
        message(parent, icon, title, text);
    }
    // A message that does not wait for its answer: the program runs on behind it.
    virtual void notice(QWidget *parent, const QString &title, const QString &text) = 0;
    // std::nullopt on cancel.
    virtual std::optional<QString> inputText(QWidget *parent, const QString &title, const QString &prompt,
                                             const QString &defaultText) = 0;
    // The filters are in the classic "Name (*.ext)|*.ext|" form. Empty result on cancel.
    virtual QString openFileName(QWidget *parent, const QString &filter) = 0;
    // Asks before replacing an existing file. Empty result on cancel.
    virtual QString saveFileName(QWidget *parent, const QString &filter) = 0;
    // False on cancel.
    virtual bool printSetup(QWidget *parent, QPrinter &printer) = 0;
    // The serial ports present, in a table; returns when the user closes it.
    virtual void showPorts(QWidget *parent, const QList<SerialPortDescription> &ports) = 0;

    // How a spreadsheet export is written: the field separator (',' or ';') and the decimal
    // sign ('.' or ','); keepMarkers writes "OL", "-OL" and "----" instead of empty cells.
    struct CsvChoice
    {
        QChar separator = QLatin1Char(',');
        QChar decimal = QLatin1Char('.');
        bool keepMarkers = false;
    };
    // Asks with the defaults preset; the marker choice is offered only when the table can
    // hold markers. std::nullopt on cancel.
    virtual std::optional<CsvChoice> csvChoice(QWidget *parent, const CsvChoice &defaults, bool offerMarkers) = 0;
};

// Where the file dialogs open: the user's Documents folder (or home) the first time in a
// run, then the folder of the last file chosen.
class DialogFolder
{
public:
    QString start() const;
    // A chosen file; an empty one (a cancelled dialog) changes nothing.
    void chosen(const QString &file);

private:
    QString m_last;
};

class QtDialogs final : public Dialogs
{
public:
    void message(QWidget *parent, Icon icon, const QString &title, const QString &text) override;
    void detailedMessage(QWidget *parent, Icon icon, const QString &title, const QString &text,
                         const QString &details) override;
    void notice(QWidget *parent, const QString &title, const QString &text) override;
    std::optional<QString> inputText(QWidget *parent, const QString &title, const QString &prompt,
                                     const QString &defaultText) override;
    QString openFileName(QWidget *parent, const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &filter) override;
    bool printSetup(QWidget *parent, QPrinter &printer) override;
    void showPorts(QWidget *parent, const QList<SerialPortDescription> &ports) override;
    std::optional<CsvChoice> csvChoice(QWidget *parent, const CsvChoice &defaults, bool offerMarkers) override;

private:
    DialogFolder m_folder;
};

// "Dorvel (*.Dvm)|*.Dvm|All Files (*.*)|*.*|" -> "Dorvel (*.Dvm);;All Files (*)".
QString qtFilter(const QString &classicFilter);

} // namespace ui
