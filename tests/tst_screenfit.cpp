#include "ui/ListWindow.h"
#include "ui/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtTest>

namespace {

// A list window with no buttons of its own.
class PlainList final : public ui::ListWindow
{
public:
    using ui::ListWindow::ListWindow;
    void buttonClick(const QString &) override {}
};

} // namespace

// Windows placed past the edge of the screen come back onto it, no further than needed.
class TestScreenFit : public QObject
{
    Q_OBJECT
private slots:
    void fitted_data();
    void fitted();
    void listWindowBesideAMainWindowNearTheEdge();
};

void TestScreenFit::fitted_data()
{
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QPoint>("topLeft");
    const QRect screen(0, 0, 1600, 1200);
    // The Data Logger beside the main window, 86 px past the right edge.
    QTest::newRow("86 px past the right") << QRect(1114 + 86, 0, 486, 400) << screen << QPoint(1114, 0);
    QTest::newRow("fits: stays") << QRect(1000, 100, 500, 400) << screen << QPoint(1000, 100);
    QTest::newRow("touches the right edge: stays") << QRect(1100, 0, 500, 400) << screen << QPoint(1100, 0);
    QTest::newRow("one pixel past") << QRect(1101, 0, 500, 400) << screen << QPoint(1100, 0);
    QTest::newRow("past the bottom") << QRect(0, 1000, 300, 400) << screen << QPoint(0, 800);
    QTest::newRow("past both") << QRect(1500, 1100, 300, 400) << screen << QPoint(1300, 800);
    QTest::newRow("wider than the screen: at its left") << QRect(200, 0, 2000, 300) << screen << QPoint(0, 0);
    // A desktop whose panel takes the top 32 px, on a second screen to the right.
    const QRect second(1600, 32, 1024, 736);
    QTest::newRow("second screen, past the right") << QRect(2400, 40, 300, 200) << second << QPoint(2324, 40);
    QTest::newRow("second screen, taller than it") << QRect(1700, 100, 300, 900) << second << QPoint(1700, 32);
    QTest::newRow("left of the area is left alone") << QRect(-50, 100, 300, 200) << screen << QPoint(-50, 100);
}

void TestScreenFit::fitted()
{
    QFETCH(QRect, frame);
    QFETCH(QRect, available);
    QFETCH(QPoint, topLeft);
    QCOMPARE(ui::fittedTopLeft(frame, available), topLeft);
}

void TestScreenFit::listWindowBesideAMainWindowNearTheEdge()
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget main;
    main.setGeometry(area.right() - 300, area.top() + 10, 200, 100);
    main.show();
    PlainList list({QStringLiteral("No.s"), QStringLiteral("Date")},
                   {QStringLiteral("00000"), QStringLiteral("0000/00/00")});
    list.resize(250, 200);
    list.placeBeside(main);
    list.show();
    const QRect frame = list.frameGeometry();
    QVERIFY2(frame.right() <= area.right(), qPrintable(QStringLiteral("%1 > %2").arg(frame.right()).arg(area.right())));
    QCOMPARE(frame.right(), area.right()); // no further than needed
    QCOMPARE(list.size(), QSize(250, 200));

    // Where there is room, the window stays right beside the main window.
    main.move(area.left(), area.top() + 10);
    list.placeBeside(main);
    QCOMPARE(list.frameGeometry().left(), main.frameGeometry().right() + 1);
}

QTEST_MAIN(TestScreenFit)
#include "tst_screenfit.moc"
