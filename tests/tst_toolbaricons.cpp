#include "panel/ToolbarIcons.h"

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
    void tenDistinctPictures();
    void positionsOutsideTheBarHaveNone_data();
    void positionsOutsideTheBarHaveNone();
    void drawnForHighDensityScreens();
    void saveButtonSwapsWithRecording();
};

void TestToolbarIcons::tenDistinctPictures()
{
    QList<QImage> seen;
    for (int position = 1; position <= 10; ++position) {
        const QIcon icon = panel::toolbarIcon(position);
        QVERIFY(!icon.isNull());
        const QImage img = imageOf(icon, 24);
        QCOMPARE(img.size(), QSize(24, 24));
        // A picture, not a speck: at least a tenth of the square is drawn.
        QVERIFY2(inkedPixels(img) > 24 * 24 / 10, qPrintable(QString::number(position)));
        QVERIFY2(!seen.contains(img), qPrintable(QStringLiteral("%1 repeats a picture").arg(position)));
        seen.append(img);
    }
}

void TestToolbarIcons::positionsOutsideTheBarHaveNone_data()
{
    QTest::addColumn<int>("position");
    QTest::newRow("0") << 0;
    QTest::newRow("11") << 11;
    QTest::newRow("-1") << -1;
}

void TestToolbarIcons::positionsOutsideTheBarHaveNone()
{
    QFETCH(int, position);
    QVERIFY(panel::toolbarIcon(position).isNull());
}

void TestToolbarIcons::drawnForHighDensityScreens()
{
    const QList<QSize> sizes = panel::toolbarIcon(1).availableSizes();
    QVERIFY(sizes.contains(QSize(24, 24)));
    QVERIFY(sizes.contains(QSize(48, 48)));
}

void TestToolbarIcons::saveButtonSwapsWithRecording()
{
    QCOMPARE(imageOf(panel::saveButtonIcon(false), 24), imageOf(panel::toolbarIcon(1), 24));
    QCOMPARE(imageOf(panel::saveButtonIcon(true), 24), imageOf(panel::toolbarIcon(8), 24));
}

QTEST_MAIN(TestToolbarIcons)
#include "tst_toolbaricons.moc"
