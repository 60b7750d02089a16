#pragma once

#include "ui/Dialogs.h"

#include <QList>
#include <QPrinter>
#include <QQueue>
#include <QStringList>
#include <functional>

namespace ui {

// Dialog answers queued by a test; every dialog shown is recorded.
class ScriptedDialogs final : public Dialogs
{
public:
    struct Message
    {
        Icon icon;
        QString title;
        QString text;
        QString details;
    };

    QList<Message> messages;
    QStringList notices;
    QStringList inputPrompts;
    QStringList filters;
    QQueue<std::optional<QString>> inputAnswers;
    QQueue<QString> openAnswers;
    QQueue<QString> saveAnswers;
    QQueue<bool> printAnswers;
    int printSetups = 0;
    QList<QList<SerialPortDescription>> portTables; // each port table shown
    // CSV choices: the queued answer, or the defaults as offered when none is queued.
    QQueue<std::optional<CsvChoice>> csvAnswers;
    QList<CsvChoice> csvDefaults; // the defaults each CSV dialog was shown with
    // Runs on an accepted print dialog, as the user's choices would (a PDF file, say).
    std::function<void(QPrinter &)> onPrintSetup;

    void message(QWidget *, Icon icon, const QString &title, const QString &text) override
    {
        messages.append({icon, title, text, {}});
    }
    void detailedMessage(QWidget *, Icon icon, const QString &title, const QString &text,
                         const QString &details) override
    {
        messages.append({icon, title, text, details});
    }
    void notice(QWidget *, const QString &, const QString &text) override { notices.append(text); }
    std::optional<QString> inputText(QWidget *, const QString &, const QString &prompt, const QString &) override
    {
        inputPrompts.append(prompt);
        return inputAnswers.isEmpty() ? std::nullopt : inputAnswers.dequeue();
    }
    QString openFileName(QWidget *, const QString &filter) override
    {
        filters.append(filter);
        return openAnswers.isEmpty() ? QString() : openAnswers.dequeue();
    }
    QString saveFileName(QWidget *, const QString &filter) override
    {
        filters.append(filter);
        return saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
    }
    void showPorts(QWidget *, const QList<SerialPortDescription> &ports) override { portTables.append(ports); }
    std::optional<CsvChoice> csvChoice(QWidget *, const CsvChoice &defaults, bool) override
    {
        csvDefaults.append(defaults);
        return csvAnswers.isEmpty() ? std::optional<CsvChoice>(defaults) : csvAnswers.dequeue();
    }
    bool printSetup(QWidget *, QPrinter &printer) override
    {
        ++printSetups;
        const bool accepted = printAnswers.isEmpty() ? false : printAnswers.dequeue();
        if (accepted && onPrintSetup)
            onPrintSetup(printer);
        // A test must never send a job to a real printer of the machine it runs on.
        if (accepted && (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty()))
            qFatal("An accepted print dialog must set a PDF output file (onPrintSetup).");
        return accepted;
    }
};

} // namespace ui
