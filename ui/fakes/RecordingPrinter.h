#pragma once

#include "ui/Printer.h"

#include <QStringList>
#include <functional>

namespace ui {

// A print document that writes down what was drawn, one line per call.
class RecordingPrinter final : public PagePrinter
{
public:
    RecordingPrinter(QStringList &log, int width, int height)
        : m_log(log)
        , m_width(width)
        , m_height(height)
    {
    }

    bool failNewPage = false;
    bool failEnd = false;

    int pageWidth() const override { return m_width; }
    int pageHeight() const override { return m_height; }
    void setScale(double scale) override { m_log << QStringLiteral("scale %1").arg(scale); }
    void setFontSize(int points) override { m_log << QStringLiteral("font %1").arg(points); }
    void text(int x, int y, const QString &text) override
    {
        m_log << QStringLiteral("text %1 %2 [%3]").arg(x).arg(y).arg(text);
    }
    void line(int x1, int y1, int x2, int y2) override
    {
        m_log << QStringLiteral("line %1 %2 %3 %4").arg(x1).arg(y1).arg(x2).arg(y2);
    }
    void picture(const QRect &r, const QImage &image) override
    {
        m_log << QStringLiteral("picture %1 %2 %3 %4 of %5x%6")
                     .arg(r.x())
                     .arg(r.y())
                     .arg(r.width())
                     .arg(r.height())
                     .arg(image.width())
                     .arg(image.height());
    }
    bool newPage() override
    {
        m_log << QStringLiteral("page");
        return !failNewPage;
    }
    bool end() override
    {
        m_log << QStringLiteral("end");
        return !failEnd;
    }
    QString errorString() const override { return QStringLiteral("fake printer error"); }

private:
    QStringList &m_log;
    int m_width;
    int m_height;
};

// Hands out recording printers (A4's printable page by default), or a cancel, or a
// printer that cannot start.
class FakePrintService final : public PrintService
{
public:
    enum class Answer { Print, Cancel, Fail };
    Answer answer = Answer::Print;
    int width = 11622; // A4 less 5 mm margins, in twips
    int height = 16271;
    QStringList log;
    QStringList asked; // "choose" or "default", per request
    std::function<void(RecordingPrinter &)> configure;

    Started choose(QWidget *, Dialogs &, const QString &) override { return start(QStringLiteral("choose")); }
    Started defaultPrinter(QWidget *, Dialogs &, const QString &) override { return start(QStringLiteral("default")); }

private:
    Started start(const QString &how)
    {
        asked << how;
        if (answer == Answer::Cancel)
            return {};
        if (answer == Answer::Fail)
            return {nullptr, QStringLiteral("the printer is offline")};
        auto printer = std::make_unique<RecordingPrinter>(log, width, height);
        if (configure)
            configure(*printer);
        return {std::move(printer), {}};
    }
};

} // namespace ui
