#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <memory>

class QWidget;

namespace ui {

class Dialogs;

// One print document being produced. Coordinates are twips (1440 to the inch) from the
// top-left corner of the printable page; setScale() shrinks everything drawn afterwards,
// for layouts taller than the page.
class PagePrinter
{
public:
    virtual ~PagePrinter() = default;
    // The printable page, in twips at scale 1.
    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;
    virtual void setScale(double scale) = 0;
    virtual void setFontSize(int points) = 0;
    // Text with the top-left corner of its line at (x, y).
    virtual void text(int x, int y, const QString &text) = 0;
    virtual void line(int x1, int y1, int x2, int y2) = 0;
    virtual void picture(const QRect &target, const QImage &image) = 0;
    // False when the printer refused the page.
    virtual bool newPage() = 0;
    // Sends the document; false when it could not be finished.
    virtual bool end() = 0;
    // Ends a document that failed half-way: what a printer has taken goes out, but a file
    // would be a document without its end, and is removed.
    virtual void abandon() { end(); }
    virtual QString errorString() const = 0;
};

// Where print documents come from: the print dialog, or the default printer.
class PrintService
{
public:
    struct Started
    {
        std::unique_ptr<PagePrinter> printer; // null on cancel or failure
        QString error;                        // empty on cancel
    };

    virtual ~PrintService() = default;
    // Shows the print dialog through the dialogs seam.
    virtual Started choose(QWidget *parent, Dialogs &dialogs, const QString &documentName) = 0;
    // The system's default printer without asking; the dialog where there is none, so that
    // a desktop without a printer can still print to a PDF file.
    virtual Started defaultPrinter(QWidget *parent, Dialogs &dialogs, const QString &documentName) = 0;
};

class QtPrintService final : public PrintService
{
public:
    Started choose(QWidget *parent, Dialogs &dialogs, const QString &documentName) override;
    Started defaultPrinter(QWidget *parent, Dialogs &dialogs, const QString &documentName) override;
};

} // namespace ui
