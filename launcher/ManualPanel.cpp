#include "launcher/ManualPanel.h"

#include "launcher/Medium.h"
#include "ui/Twips.h"

#include <QFontMetrics>
#include <QListWidget>
#include <QRadioButton>
#include <algorithm>

namespace launcher {

namespace {

// Where the first option sits; every later one is placed from it.
constexpr TwipRect firstOptionPlace{120, 120, 2295, 255};

// Options stand 2400 twips apart in a row; one must end short of the next.
constexpr int ColumnTwips = 2400;
constexpr int GapTwips = 100;
constexpr int MarginTwips = 100; // added to the measured name, as the widths are designed

void paint(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Button, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

TwipRect nextOptionPlace(const TwipRect &previous, const TwipRect &first)
{
    TwipRect next = previous;
    next.top = previous.top + previous.height + 100;
    if (next.top >= 841) {
        next.top = first.top;
        next.left = previous.left + 2400;
    }
    return next;
}

ManualPanel::ManualPanel(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("HelpPictureBox"));
    paint(this, QColor(100, 200, 200));

    m_first = new QRadioButton(QStringLiteral("Dorvel-SW-HELP-EN_V1.0"), this);
    m_first->setObjectName(QStringLiteral("Option1"));
    m_first->setProperty("index", 0);
    m_first->setGeometry(toPixels(firstOptionPlace, *this));
    // Every pick clears its option again, which an exclusive group would refuse.
    m_first->setAutoExclusive(false);
    connect(m_first, &QRadioButton::clicked, this, [this] { pick(m_first); });

    // Keeps the names listed after the first; a record, never shown.
    m_names = new QListWidget(this);
    m_names->setObjectName(QStringLiteral("List1"));
    m_names->hide();
}

bool ManualPanel::fill(const QStringList &fileNames)
{
    if (fileNames.isEmpty())
        return false;
    removeExtraOptions();
    m_names->clear();

    m_optionFont = fittingFont(fileNames);
    TwipRect place = firstOptionPlace;
    dress(m_first, fileNames.first(), place);
    for (qsizetype i = 1; i < fileNames.size(); ++i) {
        m_names->addItem(fileNames.at(i));
        auto *option = new QRadioButton(this);
        option->setObjectName(QStringLiteral("Option1"));
        option->setProperty("index", int(i));
        option->setAutoExclusive(false);
        connect(option, &QRadioButton::clicked, this, [this, option] { pick(option); });
        place = nextOptionPlace(place, firstOptionPlace);
        dress(option, fileNames.at(i), place);
        option->show();
        m_extra.append(option);
    }
    // The empty name that ended the search.
    m_names->addItem(QString());
    return true;
}

void ManualPanel::dress(QRadioButton *option, const QString &fileName, const TwipRect &place)
{
    // A "&" in a name is shown as it is, not taken for a keyboard mnemonic; the caption
    // itself is kept for the choice.
    const QString caption = manualCaption(fileName);
    option->setProperty("caption", caption);
    option->setFont(m_optionFont);
    option->setText(QString(caption).replace(QLatin1Char('&'), QLatin1String("&&")));
    // Measured on the whole file name, ".pdf" included, which leaves room for the indicator.
    const int textTwips = ui::pixelsToTwipsX(QFontMetrics(m_optionFont).horizontalAdvance(fileName), *this);
    TwipRect sized = place;
    sized.width = textTwips + MarginTwips;
    option->setGeometry(toPixels(sized, *this));
    paint(option, QColor(100, 200, 200));
}

QFont ManualPanel::fittingFont(const QStringList &fileNames) const
{
    // The columns were laid out for a narrow font; in a platform's wider one an option
    // would reach into the next column and cover the caption there. Smaller, half a point
    // at a time, until the longest name's option ends short of the next column.
    QFont font = window()->font();
    for (;;) {
        int widest = 0;
        for (const QString &name : fileNames)
            widest = std::max(widest, QFontMetrics(font).horizontalAdvance(name));
        if (ui::pixelsToTwipsX(widest, *this) + MarginTwips <= ColumnTwips - GapTwips || font.pointSizeF() <= 6)
            return font;
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
}

void ManualPanel::removeExtraOptions()
{
    // deleteLater: the option being clicked is still inside its own click handling.
    for (QRadioButton *option : std::as_const(m_extra)) {
        option->hide();
        option->deleteLater();
    }
    m_extra.clear();
}

void ManualPanel::pick(QRadioButton *option)
{
    option->setChecked(false);
    const QVariant caption = option->property("caption");
    emit chosen(caption.isValid() ? caption.toString() : option->text());
}

} // namespace launcher
