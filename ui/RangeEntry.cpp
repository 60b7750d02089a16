#include "ui/RangeEntry.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ui {

QLabel *captionPanel(const QString &name, const QString &caption, int margin, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Raised);
    label->setAlignment(Qt::AlignCenter);
    label->setMargin(margin);
    return label;
}

QLineEdit *entryBox(const QString &name, const QString &accessibleName, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(accessibleName);
    return edit;
}

QPushButton *okButton(const QString &name, const QList<QLineEdit *> &boxes, QWidget *window,
                      const std::function<void()> &onOk)
{
    auto *ok = new QPushButton(QStringLiteral("OK"), window);
    ok->setObjectName(name);
    ok->setDefault(true);
    ok->setAutoDefault(true);
    QObject::connect(ok, &QPushButton::clicked, window, onOk);
    for (QLineEdit *edit : boxes)
        QObject::connect(edit, &QLineEdit::returnPressed, window, onOk);
    return ok;
}

} // namespace ui
