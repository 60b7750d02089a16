#include "ui/ToolbarIcons.h"

#include <QtTest>

namespace {

QImage imageOf(const QIcon &icon, int side)
{
    return icon.pixmap(QSize(side, side)).toImage().convertToFormat(QImage::Format_ARGB32);
}

int inkedPixels(const QImage &img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += qAlpha(img.pixel(x, y)) > 0;
    return n;
}

} // namespace

class TestToolbarIcons : public QObject
{
    Q_OBJECT
private slots:
    void everyPictureDistinct();
    void positionsOutsideTheBarHaveNone();
    void saveButtonSwapsWithRecording();
};

void TestToolbarIcons::everyPictureDistinct()
{
    QList<QImage> seen;
    // The main window's ten and the secondary windows' pictures, all told apart.
    for (int position = 0; position <= int(ui::Tool::Sort); ++position) {
        const QIcon icon = ui::toolIcon(ui::Tool(position));
        QVERIFY(!icon.isNull());
        const QImage img = imageOf(icon, 24);
        QCOMPARE(img.size(), QSize(24, 24));
        // A picture, not a speck: at least a tenth of the square is drawn.
        QVERIFY2(inkedPixels(img) > 24 * 24 / 10, qPrintable(QString::number(position)));
        QVERIFY2(!seen.contains(img), qPrintable(QStringLiteral("%1 repeats a picture").arg(position)));
        seen.append(img);
    }
    // Drawn for high-density screens too.
    QVERIFY(ui::toolbarIcon(1).availableSizes().contains(QSize(48, 48)));
}

void TestToolbarIcons::positionsOutsideTheBarHaveNone()
{
    for (int position : {0, 12, -1})
        QVERIFY2(ui::toolbarIcon(position).isNull(), qPrintable(QString::number(position)));
}

void TestToolbarIcons::saveButtonSwapsWithRecording()
{
    QCOMPARE(imageOf(ui::saveButtonIcon(false), 24), imageOf(ui::toolbarIcon(1), 24));
    QCOMPARE(imageOf(ui::saveButtonIcon(true), 24), imageOf(ui::toolbarIcon(8), 24));
}

QTEST_MAIN(TestToolbarIcons)
#include "tst_toolbaricons.moc"
