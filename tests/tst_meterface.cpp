#include "panel/MeterFace.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

QLabel *label(const panel::MeterFace &face, const QString &name)
{
    return face.findChild<QLabel *>(name);
}

QImage imageOf(const QPixmap &pm)
{
    return pm.toImage().convertToFormat(QImage::Format_ARGB32);
}

bool hasInk(const QImage &img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) > 0)
                return true;
    return false;
}

} // namespace

class TestMeterFace : public QObject
{
    Q_OBJECT
private slots:
    void textsAtStart_data();
    void textsAtStart();
    void milliPrefixHiddenAtStart();
    void readingsFit_data();
    void readingsFit();
    void longDeviceNameIsShortenedInTheMiddle();
    void staleValuesAreDimmedNotChanged();
    void displayLinesDoNotOverlap();
    void picturesAreDrawnAndDistinct();
    void outlineLiesBeneathTheControls();
};

void TestMeterFace::textsAtStart_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("title") << "MeterName"
                           << "BATTERY TESTER";
    QTest::newRow("REL") << "Label3"
                         << "REL";
    QTest::newRow("FAIL") << "Label4"
                          << "FAIL";
    QTest::newRow("WARN") << "Label5"
                          << "WARN";
    QTest::newRow("PASS") << "Label6"
                          << "PASS";
    QTest::newRow("milli") << "LblMOhm"
                           << "m";
    QTest::newRow("volt unit") << "LblV"
                               << "V";
    QTest::newRow("link") << "LblCom"
                          << "COM1";
    // Empty until the first reading arrives.
    QTest::newRow("ohm") << "ValOhm"
                         << "";
    QTest::newRow("volt") << "ValVoltage"
                          << "";
    QTest::newRow("rec") << "LblRec"
                         << "";
    QTest::newRow("count") << "LblCount"
                           << "";
    QTest::newRow("file") << "LblFileName"
                          << "";
    QTest::newRow("hold key") << "SSCommand1"
                              << "HOLD";
    QTest::newRow("picture key") << "SSCommand3"
                                 << "";
    QTest::newRow("mem key") << "SSCommand4"
                             << "MEM";
    QTest::newRow("read key") << "SSCommand5"
                              << "READ";
    QTest::newRow("volt key") << "CmdVolTage"
                              << "V";
}

void TestMeterFace::textsAtStart()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    panel::MeterFace face;
    if (auto *key = face.findChild<QPushButton *>(name)) {
        QCOMPARE(key->text(), text);
        // A key without a caption shows its picture instead.
        QCOMPARE(key->icon().isNull(), !text.isEmpty());
        QCOMPARE(key->focusPolicy(), Qt::NoFocus);
        return;
    }
    QLabel *l = label(face, name);
    QVERIFY2(l, qPrintable(name));
    QCOMPARE(l->text(), text);
}

void TestMeterFace::milliPrefixHiddenAtStart()
{
    panel::MeterFace face;
    face.show();
    QVERIFY(QTest::qWaitForWindowExposed(&face));
    QVERIFY(!face.lblMOhm()->isVisible());
    QVERIFY(face.valOhm()->isVisible());
    QVERIFY(label(face, "Image1")->isVisible());
}

void TestMeterFace::readingsFit_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    for (const char *t : {"----", "OL", "999.9", "0.000", "40.00"})
        QTest::newRow(qPrintable(QStringLiteral("ohm %1").arg(QLatin1String(t)))) << "ValOhm" << t;
    for (const char *t : {"-12.34", "-OL", "OL", "3.700", "-0.000"})
        QTest::newRow(qPrintable(QStringLiteral("volt %1").arg(QLatin1String(t)))) << "ValVoltage" << t;
    for (const char *t : {"No COM", "Com16", "COM ttyUSB0"})
        QTest::newRow(qPrintable(QStringLiteral("link %1").arg(QLatin1String(t)))) << "LblCom" << t;
    QTest::newRow("count") << "LblCount"
                           << "69999";
    QTest::newRow("rec") << "LblRec"
                         << "Rec";
}

void TestMeterFace::longDeviceNameIsShortenedInTheMiddle()
{
    panel::MeterFace face;
    const QString text = QStringLiteral("Com usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    face.setLinkText(text);
    QLabel *l = face.lblCom();
    const QFontMetrics fm(l->font());
    QVERIFY(fm.horizontalAdvance(l->text()) <= l->contentsRect().width());
    QVERIFY(l->text().startsWith(QStringLiteral("Com ")));
    QVERIFY(l->text().endsWith(QStringLiteral("port0")));
    QVERIFY(l->text().contains(QChar(0x2026)));
    QCOMPARE(l->toolTip(), text);
    // A short name is shown whole and needs no tip.
    face.setLinkText(QStringLiteral("Com16"));
    QCOMPARE(l->text(), QStringLiteral("Com16"));
    QVERIFY(l->toolTip().isEmpty());
}

void TestMeterFace::staleValuesAreDimmedNotChanged()
{
    panel::MeterFace face;
    face.valOhm()->setText(QStringLiteral("25.00"));
    const QColor fresh = face.valOhm()->palette().color(QPalette::WindowText);
    face.setReadingStale(true);
    QCOMPARE(face.valOhm()->text(), QStringLiteral("25.00"));
    const QColor dim = face.valOhm()->palette().color(QPalette::WindowText);
    QCOMPARE(dim.rgb(), fresh.rgb());
    QVERIFY(dim.alphaF() < 0.5);
    face.setReadingStale(true); // twice is once
    face.setReadingStale(false);
    QCOMPARE(face.valOhm()->palette().color(QPalette::WindowText), fresh);
}

void TestMeterFace::readingsFit()
{
    // Measured with whatever font the system substitutes for the one asked for.
    QFETCH(QString, name);
    QFETCH(QString, text);
    panel::MeterFace face;
    QLabel *l = label(face, name);
    const QFontMetrics fm(l->font());
    QVERIFY2(fm.horizontalAdvance(text) <= l->contentsRect().width(),
             qPrintable(QStringLiteral("%1 px wide in %2 px").arg(fm.horizontalAdvance(text)).arg(l->width())));
    QVERIFY(fm.height() <= l->contentsRect().height());
}

void TestMeterFace::displayLinesDoNotOverlap()
{
    panel::MeterFace face;
    const QStringList names{"Label3",     "Label4", "Label5", "Label6", "ValOhm",   "LblMOhm",    "Image1",
                            "ValVoltage", "LblV",   "LblCom", "LblRec", "LblCount", "LblFileName"};
    const QRect display = face.findChild<QWidget *>(QStringLiteral("Shape3"))->geometry();
    for (int i = 0; i < names.size(); ++i) {
        const QRect a = label(face, names[i])->geometry();
        QVERIFY2(display.contains(a), qPrintable(names[i]));
        for (int j = i + 1; j < names.size(); ++j)
            QVERIFY2(!a.intersects(label(face, names[j])->geometry()),
                     qPrintable(names[i] + QStringLiteral(" overlaps ") + names[j]));
    }
}

void TestMeterFace::picturesAreDrawnAndDistinct()
{
    panel::MeterFace face;
    QList<QImage> seen;
    for (int i = 1; i <= 12; ++i) {
        const QString name = QStringLiteral("Image%1").arg(i);
        QLabel *picture = label(face, name);
        QVERIFY2(picture, qPrintable(name));
        const QPixmap pm = picture->pixmap();
        QVERIFY2(!pm.isNull(), qPrintable(name));
        if (i > 1)
            QCOMPARE(pm.deviceIndependentSize().toSize(), QSize(29, 29));
        const QImage img = imageOf(pm);
        QVERIFY2(hasInk(img), qPrintable(name));
        QVERIFY2(!seen.contains(img), qPrintable(name + QStringLiteral(" repeats another picture")));
        seen.append(img);
    }
    const QImage key = imageOf(face.findChild<QPushButton *>(QStringLiteral("SSCommand3"))->icon().pixmap(26));
    QVERIFY(hasInk(key));
}

void TestMeterFace::outlineLiesBeneathTheControls()
{
    panel::MeterFace face;
    QCOMPARE(face.minimumSize(), face.maximumSize());
    const QRect bounds = face.rect();
    const QObjectList children = face.children();
    qsizetype lastShape = -1;
    for (const char *name : {"Shape1", "Shape2", "Shape3", "Shape4", "Shape5", "Line1"}) {
        auto *shape = face.findChild<QWidget *>(QLatin1String(name));
        QVERIFY2(shape, name);
        QVERIFY(bounds.contains(shape->geometry()));
        // Clicks pass through the drawing to the keys.
        QVERIFY(shape->testAttribute(Qt::WA_TransparentForMouseEvents));
        lastShape = qMax(lastShape, children.indexOf(shape));
    }
    // Children paint in creation order: a control made before the outline would vanish
    // under it.
    for (QWidget *w : face.findChildren<QWidget *>()) {
        if (qobject_cast<QLabel *>(w) || qobject_cast<QPushButton *>(w)) {
            QVERIFY2(children.indexOf(w) > lastShape, qPrintable(w->objectName()));
            QVERIFY2(bounds.contains(w->geometry()), qPrintable(w->objectName()));
        }
    }
}

QTEST_MAIN(TestMeterFace)
#include "tst_meterface.moc"
