#pragma once

#include "ui/Printer.h"

namespace ui {

// Qt's own printing, for tests that check the PDF it writes, but never a printer of the
// machine the tests run on: the default printer is asked for through the print dialog too,
// whose scripted answer must name a PDF file (ScriptedDialogs stops the test otherwise).
class PdfPrintService final : public PrintService
{
public:
    Started choose(QWidget *parent, Dialogs &dialogs, const QString &documentName) override
    {
        return m_qt.choose(parent, dialogs, documentName);
    }
    Started defaultPrinter(QWidget *parent, Dialogs &dialogs, const QString &documentName) override
    {
        return m_qt.choose(parent, dialogs, documentName);
    }

private:
    QtPrintService m_qt;
};

} // namespace ui
