#include "ui/Printer.h"

#include "ui/Dialogs.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRawFont>

namespace ui {

namespace {

// Ink gathered for one page. A ruled table draws every rule once per row, so most of its
// segments continue or repeat the one before; the PDF engine's cost is per call, so
// collinear pieces that touch are joined, repeats dropped, and the page's text goes out
// as one glyph run. The page looks the same; a 70,000-row list prints several times faster.
class PageInk
{
public:
    void addLine(int x1, int y1, int x2, int y2)
    {
        if (x1 == x2)
            addSpan(m_vertical, x1, std::min(y1, y2), std::max(y1, y2));
        else if (y1 == y2)
            addSpan(m_horizontal, y1, std::min(x1, x2), std::max(x1, x2));
        else
            m_other.append(QLine(x1, y1, x2, y2));
    }
    // False when the font lacks a glyph of the text: the caller draws it as text then.
    bool addText(const QRawFont &font, qreal x, qreal baseline, const QString &text)
    {
        const QList<quint32> glyphs = font.glyphIndexesForString(text);
        if (glyphs.size() != text.size())
            return false;
        const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            if (text.at(i) != QLatin1Char(' ')) {
                if (glyphs[i] == 0)
                    return false;
                m_glyphs.append(glyphs[i]);
                m_positions.append(QPointF(x, baseline));
            }
            x += advances[i].x();
        }
        return true;
    }
    void flush(QPainter &painter, const QRawFont &font)
    {
        QList<QLine> lines = std::move(m_other);
        for (auto it = m_vertical.cbegin(); it != m_vertical.cend(); ++it)
            for (const Span &s : it.value())
                lines.append(QLine(it.key(), s.from, it.key(), s.to));
        for (auto it = m_horizontal.cbegin(); it != m_horizontal.cend(); ++it)
            for (const Span &s : it.value())
                lines.append(QLine(s.from, it.key(), s.to, it.key()));
        if (!lines.isEmpty())
            painter.drawLines(lines);
        if (!m_glyphs.isEmpty()) {
            QGlyphRun run;
            run.setRawFont(font);
            run.setGlyphIndexes(m_glyphs);
            run.setPositions(m_positions);
            painter.drawGlyphRun(QPointF(0, 0), run);
        }
        m_vertical.clear();
        m_horizontal.clear();
        m_other.clear();
        m_glyphs.clear();
        m_positions.clear();
    }

private:
    struct Span
    {
        int from, to;
    };
    static void addSpan(QHash<int, QList<Span>> &spans, int at, int from, int to)
    {
        QList<Span> &list = spans[at];
        if (!list.isEmpty() && from <= list.last().to && to >= list.last().from) {
            list.last().from = std::min(list.last().from, from);
            list.last().to = std::max(list.last().to, to);
            return;
        }
        list.append({from, to});
    }

    QHash<int, QList<Span>> m_vertical;   // by x
    QHash<int, QList<Span>> m_horizontal; // by y
    QList<QLine> m_other;
    QList<quint32> m_glyphs;
    QList<QPointF> m_positions;
};

// QPainter on QPrinter, in twips: the painter's transform turns twips into printer dots,
// so the layout never sees the printer's resolution.
class QtPagePrinter final : public PagePrinter
{
public:
    explicit QtPagePrinter(std::unique_ptr<QPrinter> printer)
        : m_printer(std::move(printer))
    {
    }

    bool begin()
    {
        if (!m_painter.begin(m_printer.get()))
            return false;
        m_font = QApplication::font();
        applyTransform();
        setFontSize(11);
        // A cosmetic pen: hairline rules whatever the scale, and cheap for the PDF engine.
        m_painter.setPen(QPen(Qt::black, 0));
        return true;
    }

    int pageWidth() const override { return toTwips(m_printer->pageRect(QPrinter::Inch).width()); }
    int pageHeight() const override { return toTwips(m_printer->pageRect(QPrinter::Inch).height()); }
    void setScale(double scale) override
    {
        m_ink.flush(m_painter, m_rawFont);
        m_scale = scale;
        applyTransform();
    }
    void setFontSize(int points) override
    {
        m_ink.flush(m_painter, m_rawFont);
        // A point is 20 twips; the painter's transform does the rest.
        m_font.setPixelSize(points * 20);
        m_painter.setFont(m_font);
        m_rawFont = QRawFont::fromFont(m_font);
        m_ascent = m_painter.fontMetrics().ascent();
    }
    void text(int x, int y, const QString &text) override
    {
        if (!m_rawFont.isValid() || !m_ink.addText(m_rawFont, x, y + m_ascent, text))
            m_painter.drawText(QPointF(x, y + m_ascent), text);
    }
    void line(int x1, int y1, int x2, int y2) override { m_ink.addLine(x1, y1, x2, y2); }
    void picture(const QRect &target, const QImage &image) override
    {
        m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
        m_painter.drawImage(target, image);
    }
    bool newPage() override
    {
        m_ink.flush(m_painter, m_rawFont);
        return m_printer->newPage();
    }
    bool end() override
    {
        m_ink.flush(m_painter, m_rawFont);
        const bool ok = m_painter.end() && m_printer->printerState() != QPrinter::Error;
        // A PDF cut off half-way (the disk full) has no end and opens nowhere; the message
        // says it could not be written, so nothing of it stays behind.
        if (!ok)
            removeFile();
        return ok;
    }
    void abandon() override
    {
        end();
        removeFile();
    }
    QString errorString() const override
    {
        if (!m_printer->outputFileName().isEmpty())
            return QStringLiteral("The file \"%1\" could not be written.").arg(m_printer->outputFileName());
        return QStringLiteral("The printer \"%1\" reported an error.").arg(m_printer->printerName());
    }

private:
    void removeFile()
    {
        const QString file = m_printer->outputFileName();
        if (!file.isEmpty() && QFileInfo(file).isFile())
            QFile::remove(file);
    }
    static int toTwips(double inches) { return static_cast<int>(inches * TwipsPerInch); }
    void applyTransform()
    {
        const double dots = m_printer->resolution() / TwipsPerInch;
        m_painter.resetTransform();
        m_painter.scale(dots * m_scale, dots * m_scale);
    }

    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    QFont m_font;
    QRawFont m_rawFont;
    qreal m_ascent = 0;
    double m_scale = 1.0;
    PageInk m_ink;
};

// The print dialog offers "<document name>.pdf" in the home folder when printing to a
// file, so the name must not carry a folder separator: "Plot Data/File" would point into
// a "Plot Data" folder that does not exist. Characters no file system takes become "-".
QString fileSafeDocumentName(const QString &documentName)
{
    QString name = documentName;
    for (QChar &c : name) {
        if (c < QLatin1Char(' ') || QStringView(u"/\\:*?\"<>|").contains(c))
            c = QLatin1Char('-');
    }
    return name.trimmed();
}

std::unique_ptr<QPrinter> newPrinter(const QString &documentName)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(fileSafeDocumentName(documentName));
    // Small margins, as a printer's own unprintable edge: the ruled tables are laid out
    // for nearly the whole height of an A4 sheet.
    printer->setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
    return printer;
}

PrintService::Started startOn(std::unique_ptr<QPrinter> printer)
{
    auto page = std::make_unique<QtPagePrinter>(std::move(printer));
    if (!page->begin())
        return {nullptr, page->errorString()};
    return {std::move(page), {}};
}

} // namespace

PrintService::Started QtPrintService::choose(QWidget *parent, Dialogs &dialogs, const QString &documentName)
{
    auto printer = newPrinter(documentName);
    if (!dialogs.printSetup(parent, *printer))
        return {};
    return startOn(std::move(printer));
}

PrintService::Started QtPrintService::defaultPrinter(QWidget *parent, Dialogs &dialogs, const QString &documentName)
{
    if (QPrinterInfo::defaultPrinter().isNull())
        return choose(parent, dialogs, documentName);
    auto printer = newPrinter(documentName);
    printer->setPrinterName(QPrinterInfo::defaultPrinter().printerName());
    return startOn(std::move(printer));
}

} // namespace ui
