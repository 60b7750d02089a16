#include "panel/MeterFace.h"

#include "panel/FacePictures.h"
#include "panel/FaceShape.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

namespace panel {

namespace {

// Layout of the face, in pixels from its top-left corner. The display holds four text
// lines, each placed by its baseline so that a substitute font with other ascents still
// lines the units up with the digits.
constexpr QSize FaceSize(360, 588);
constexpr QRect CaseRect(0, 0, 360, 588);
constexpr QRect PlateRect(16, 18, 328, 552);
constexpr QRect TitleRect(72, 28, 216, 29);
constexpr QRect DisplayRect(32, 66, 296, 236);
constexpr QRect GrooveRect(34, 314, 292, 2);
constexpr QRect KeyWellRect(32, 326, 296, 116);
constexpr QRect JackPanelRect(32, 456, 296, 100);

constexpr int KeyTop = 338;
constexpr QSize KeySize(50, 40);
constexpr int KeyPitch = 56;
constexpr int SymbolSide = 29;
constexpr QSize OhmSignSize(15, 14);

const QColor Segment(24, 32, 22);     // dark LCD segments
const QColor Annunciator(58, 72, 54); // printed legends on the glass
const QColor Blue(0, 0, 255);
const QColor Red(200, 0, 0);
const QColor PlateText(236, 236, 230);

QFont timesBold(qreal points)
{
    QFont f(QStringLiteral("Times New Roman"));
    f.setStyleHint(QFont::Serif); // where it is missing, another serif face stands in
    f.setPointSizeF(points);
    f.setBold(true);
    return f;
}

QFont smallBold(const QFont &base)
{
    QFont f = base;
    f.setPointSizeF(8.25);
    f.setBold(true);
    return f;
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, const QFont &font, const QColor &colour,
                  Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    label->setAlignment(alignment);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    return label;
}

// Puts a one-line label so that its text's baseline falls on the given line.
void placeOnBaseline(QLabel *label, int left, int width, int baseline)
{
    const QFontMetrics fm(label->font());
    label->setGeometry(left, baseline - fm.ascent(), width, fm.height());
}

QLabel *makePicture(QWidget *parent, const QString &name, const QPixmap &pixmap, QPoint at)
{
    auto *picture = new QLabel(parent);
    picture->setObjectName(name);
    picture->setPixmap(pixmap);
    picture->setGeometry(QRect(at, pixmap.deviceIndependentSize().toSize()));
    return picture;
}

} // namespace

MeterFace::MeterFace(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("MeterFace"));
    setFixedSize(FaceSize);
    // Parts are stacked in the order they are made: the case first, the readings last.
    buildCase();
    buildDisplay();
    buildKeys();
    buildSymbols();
}

QSize MeterFace::faceSize()
{
    return FaceSize;
}

void MeterFace::buildCase()
{
    new FaceShape(FaceShape::Kind::Case, QStringLiteral("Shape1"), CaseRect, this);
    new FaceShape(FaceShape::Kind::Plate, QStringLiteral("Shape2"), PlateRect, this);
    new FaceShape(FaceShape::Kind::Display, QStringLiteral("Shape3"), DisplayRect, this);
    new FaceShape(FaceShape::Kind::KeyWell, QStringLiteral("Shape4"), KeyWellRect, this);
    new FaceShape(FaceShape::Kind::JackPanel, QStringLiteral("Shape5"), JackPanelRect, this);
    new FaceShape(FaceShape::Kind::Groove, QStringLiteral("Line1"), GrooveRect, this);

    auto *title = makeLabel(this, QStringLiteral("MeterName"), QStringLiteral("BATTERY TESTER"), timesBold(12),
                            PlateText, Qt::AlignCenter);
    title->setGeometry(TitleRect);
}

void MeterFace::buildDisplay()
{
    const QRect glass = FaceShape::glassOf(DisplayRect);
    const int left = glass.left() + 10;
    const int right = glass.right() - 10;
    const QFont small = smallBold(font());

    const QStringList legends{QStringLiteral("REL"), QStringLiteral("FAIL"), QStringLiteral("WARN"),
                              QStringLiteral("PASS")};
    const int legendWidth = (right - left) / int(legends.size());
    for (int i = 0; i < legends.size(); ++i) {
        auto *legend =
            makeLabel(this, QStringLiteral("Label%1").arg(i + 3), legends.at(i), small, Annunciator, Qt::AlignCenter);
        legend->setGeometry(left + i * legendWidth, glass.top() + 6, legendWidth, 18);
    }

    // Units stand right of the digits, on the digits' baseline.
    const int ohmBaseline = glass.top() + 96;
    const int unitLeft = right - OhmSignSize.width() - 14;
    m_valOhm =
        makeLabel(this, QStringLiteral("ValOhm"), QString(), timesBold(36), Blue, Qt::AlignRight | Qt::AlignVCenter);
    placeOnBaseline(m_valOhm, left, unitLeft - left - 2, ohmBaseline);
    m_lblMOhm = makeLabel(this, QStringLiteral("LblMOhm"), QStringLiteral("m"), small, Segment,
                          Qt::AlignRight | Qt::AlignVCenter);
    placeOnBaseline(m_lblMOhm, unitLeft, 13, ohmBaseline);
    m_lblMOhm->setVisible(false); // shown while the range is in milliohms
    const qreal ratio = devicePixelRatioF();
    makePicture(this, QStringLiteral("Image1"), ohmSign(OhmSignSize, Segment, ratio),
                QPoint(right - OhmSignSize.width() + 1, ohmBaseline - OhmSignSize.height() + 1));

    const int voltBaseline = ohmBaseline + 48;
    m_valVoltage = makeLabel(this, QStringLiteral("ValVoltage"), QString(), timesBold(24), Segment,
                             Qt::AlignRight | Qt::AlignVCenter);
    placeOnBaseline(m_valVoltage, left + 60, unitLeft - left - 60 + 6, voltBaseline);
    auto *volts =
        makeLabel(this, QStringLiteral("LblV"), QStringLiteral("V"), small, Segment, Qt::AlignLeft | Qt::AlignVCenter);
    placeOnBaseline(volts, unitLeft + 8, right - unitLeft - 7, voltBaseline);

    // The status line: the link on the left, the recording and its count on the right.
    const int statusBaseline = voltBaseline + 36;
    const int countWidth = 48;
    const int recWidth = 32;
    const int recLeft = right + 1 - countWidth - 2 - recWidth;
    m_lblCom = makeLabel(this, QStringLiteral("LblCom"), QStringLiteral("COM1"), timesBold(15.75), Segment,
                         Qt::AlignLeft | Qt::AlignVCenter);
    placeOnBaseline(m_lblCom, left, recLeft - 4 - left, statusBaseline);

    QFont recFont = font();
    recFont.setBold(true);
    m_lblRec = makeLabel(this, QStringLiteral("LblRec"), QString(), recFont, Red, Qt::AlignLeft | Qt::AlignVCenter);
    placeOnBaseline(m_lblRec, recLeft, recWidth, statusBaseline);
    m_lblCount =
        makeLabel(this, QStringLiteral("LblCount"), QString(), recFont, Red, Qt::AlignRight | Qt::AlignVCenter);
    placeOnBaseline(m_lblCount, right + 1 - countWidth, countWidth, statusBaseline);
    m_lblFileName =
        makeLabel(this, QStringLiteral("LblFileName"), QString(), font(), Red, Qt::AlignLeft | Qt::AlignVCenter);
    placeOnBaseline(m_lblFileName, left, right - left + 1, statusBaseline + 22);
}

void MeterFace::buildKeys()
{
    const QString keyStyle =
        QStringLiteral("QPushButton { color: #1c1d1f; border: 1px solid #0e0f10; border-bottom: 4px solid #0b0c0d;"
                       " border-radius: 8px; background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                       " stop:0 #f4f4f0, stop:0.55 #d2d3ce, stop:1 #a9aba6); }"
                       "QPushButton:pressed { border-bottom-width: 2px; margin-top: 2px;"
                       " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #c9cac5, stop:1 #9d9f9a); }");
    QFont keyFont = font();
    keyFont.setBold(true);

    const struct
    {
        const char *name;
        const char *caption;
    } keys[] = {
        {"SSCommand1", "HOLD"}, {"SSCommand3", ""}, {"SSCommand4", "MEM"}, {"SSCommand5", "READ"}, {"CmdVolTage", "V"}};
    const int first = KeyWellRect.left() + (KeyWellRect.width() - 4 * KeyPitch - KeySize.width()) / 2;
    for (int i = 0; i < int(std::size(keys)); ++i) {
        // Keys of the drawing only: they press like keys and do nothing. They take no
        // keyboard focus, so typing never lands on them.
        auto *key = new QPushButton(QString::fromLatin1(keys[i].caption), this);
        key->setObjectName(QString::fromLatin1(keys[i].name));
        key->setFont(keyFont);
        key->setStyleSheet(keyStyle);
        key->setFocusPolicy(Qt::NoFocus);
        key->setGeometry(QRect(QPoint(first + i * KeyPitch, KeyTop), KeySize));
    }
    auto *lightKey = findChild<QPushButton *>(QStringLiteral("SSCommand3"));
    lightKey->setIcon(faceSymbol(FaceSymbol::Backlight, 26, devicePixelRatioF()));
    lightKey->setIconSize(QSize(26, 26));
}

void MeterFace::buildSymbols()
{
    const qreal ratio = devicePixelRatioF();
    auto symbol = [&](int image, FaceSymbol which, QPoint at) {
        makePicture(this, QStringLiteral("Image%1").arg(image), faceSymbol(which, SymbolSide, ratio), at);
    };
    // Beside the title: the power and the PC link of the meter.
    symbol(2, FaceSymbol::Power, QPoint(40, TitleRect.top()));
    symbol(3, FaceSymbol::Link, QPoint(CaseRect.width() - 40 - SymbolSide, TitleRect.top()));

    // One legend under each key.
    const FaceSymbol legends[] = {FaceSymbol::Battery, FaceSymbol::Resistance, FaceSymbol::DcVolts, FaceSymbol::Memory,
                                  FaceSymbol::AutoOff};
    const int first = KeyWellRect.left() + (KeyWellRect.width() - 4 * KeyPitch - KeySize.width()) / 2;
    for (int i = 0; i < 5; ++i)
        symbol(4 + i, legends[i],
               QPoint(first + i * KeyPitch + (KeySize.width() - SymbolSide) / 2, KeyTop + KeySize.height() + 16));

    // Between the two jacks: the probe and the safety marks.
    const FaceSymbol marks[] = {FaceSymbol::Probe, FaceSymbol::Warning, FaceSymbol::DoubleInsulation,
                                FaceSymbol::Temperature};
    const int markPitch = SymbolSide + 5;
    const int markLeft = JackPanelRect.center().x() + 1 - (3 * markPitch + SymbolSide) / 2;
    const int markTop = JackPanelRect.top() + JackPanelRect.height() / 2 - 8 - SymbolSide / 2;
    for (int i = 0; i < 4; ++i)
        symbol(9 + i, marks[i], QPoint(markLeft + i * markPitch, markTop));
}

void MeterFace::setLinkText(const QString &text)
{
    const QFontMetrics fm(m_lblCom->font());
    const QString shown = fm.elidedText(text, Qt::ElideMiddle, m_lblCom->width());
    m_lblCom->setText(shown);
    m_lblCom->setToolTip(shown == text ? QString() : text);
    m_lblCom->setAccessibleName(text);
}

void MeterFace::setReadingStale(bool stale)
{
    if (stale == m_stale)
        return;
    m_stale = stale;
    for (QLabel *value : {m_valOhm, m_valVoltage, m_lblMOhm}) {
        QPalette pal = value->palette();
        QColor colour = pal.color(QPalette::WindowText);
        // Dimmed is the same colour at a third of its strength over the glass.
        colour.setAlphaF(stale ? 0.35 : 1.0);
        pal.setColor(QPalette::WindowText, colour);
        value->setPalette(pal);
    }
}

} // namespace panel
