// Turns a manual written in Markdown into a PDF file with Qt's own text layout and PDF
// writer. A line "<!-- pagebreak -->" starts a new page; pictures are found relative to
// the source file and scaled down to the page width.
//
//   dorvel-manual-pdf [--font FAMILY] [--title TITLE] SOURCE.md OUTPUT.pdf
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPageLayout>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextStream>
#include <QUrl>

namespace {

constexpr int Dpi = 300;

// Every picture no wider than the text: Qt lays images out at their own pixel size.
void fitPictures(QTextDocument &doc, const QString &folder, qreal textWidth)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            if (!image.isValid())
                continue;
            const QSize size = QImageReader(folder + QLatin1Char('/') + image.name()).size();
            if (!size.isValid())
                continue;
            // A screen pixel is a unit of the layout; at most the text's width.
            qreal width = size.width();
            if (width > textWidth)
                width = textWidth;
            image.setWidth(width);
            image.setHeight(width * size.height() / size.width());
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    }
}

} // namespace

int main(int argc, char *argv[])
{
    // Fonts and images need a GUI application, a screen does not.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption font(QStringLiteral("font"), QStringLiteral("Text font family."),
                                  QStringLiteral("FAMILY"));
    const QCommandLineOption title(QStringLiteral("title"), QStringLiteral("PDF title."), QStringLiteral("TITLE"));
    parser.addOption(font);
    parser.addOption(title);
    parser.addPositionalArgument(QStringLiteral("source"), QStringLiteral("The manual in Markdown."));
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("The PDF file to write."));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    QTextStream err(stderr);
    if (files.size() != 2) {
        err << "dorvel-manual-pdf: a source and an output file are needed\n";
        return 2;
    }
    QFile source(files[0]);
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text)) {
        err << "dorvel-manual-pdf: " << files[0] << ": " << source.errorString() << '\n';
        return 1;
    }
    const QString text = QString::fromUtf8(source.readAll());
    const QString folder = QFileInfo(files[0]).absolutePath();

    QPdfWriter writer(files[1]);
    writer.setResolution(Dpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18),
                                     QPageLayout::Millimeter));
    writer.setCreator(QStringLiteral("Dorvel"));
    writer.setTitle(parser.isSet(title) ? parser.value(title) : QFileInfo(files[0]).baseName());

    QTextDocument doc;
    doc.setBaseUrl(QUrl::fromLocalFile(folder + QLatin1Char('/')));
    QFont base(parser.isSet(font) ? parser.value(font) : QStringLiteral("DejaVu Sans"), 10);
    doc.setDefaultFont(base);

    const QStringList pages = text.split(
        QRegularExpression(QStringLiteral("^\\s*<!--\\s*pagebreak\\s*-->\\s*$"), QRegularExpression::MultilineOption));
    QTextCursor cursor(&doc);
    for (int i = 0; i < pages.size(); ++i) {
        QTextDocument part;
        part.setBaseUrl(doc.baseUrl());
        part.setDefaultFont(base);
        part.setMarkdown(pages[i]);
        if (i > 0) {
            QTextBlockFormat breakBefore;
            breakBefore.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            cursor.insertBlock(breakBefore);
        }
        cursor.insertFragment(QTextDocumentFragment(&part));
    }
    // The layout's unit is a pixel of a 96 dpi screen, as for the windows pictured.
    const qreal textWidth = writer.pageLayout().paintRect(QPageLayout::Point).width() * 96.0 / 72.0;
    fitPictures(doc, folder, textWidth * 0.9);
    doc.print(&writer);
    return 0;
}
