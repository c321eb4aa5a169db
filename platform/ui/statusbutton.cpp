#include "statusbutton.h"

#include "pathutil.h"
#include "tag.h"

#include <QAbstractButton>
#include <QIcon>
#include <QPainter>

QPixmap statusSquare(int tag, int side)
{
    QPixmap square(side, side);
    square.fill(Qt::transparent);
    QPainter p(&square);
    p.setPen(Qt::black);
    p.setBrush(tag == StatusSaved ? QColor(0, 160, 0) : QColor(210, 0, 0));
    p.drawRect(1, 1, side - 3, side - 3);
    return square;
}

void setStatusGlyph(QAbstractButton *button, int tag, const QString &pictureFile)
{
    if (!button)
        return;
    setTag(button, tag);
    QPixmap picture(resolvePath(pictureFile));
    if (picture.isNull())
        picture = statusSquare(tag, qMax(button->iconSize().height(), 8));
    button->setIcon(QIcon(picture));
}
