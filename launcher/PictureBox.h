#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace launcher {

// A picture stretched over the whole box, or, when there is none, a plain colour with a
// centred caption. Painting always starts from the loaded pixmap, so covering the window
// loses nothing.
class PictureBox : public QWidget
{
    Q_OBJECT
public:
    struct Fallback
    {
        QColor colour;
        QString text;
        int pointSize = 0;
    };

    explicit PictureBox(Fallback fallback, QWidget *parent = nullptr);

    // False when the file is missing or cannot be read as a picture; the fallback shows then.
    bool load(const QString &path);
    bool hasPicture() const { return !m_picture.isNull(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Fallback m_fallback;
    QPixmap m_picture;
};

} // namespace launcher
