#include "tag.h"

#include "pathutil.h"

#include <QAbstractButton>
#include <QIcon>
#include <QPixmap>
#include <QVariant>

int Tag(const QObject *object)
{
    return object ? object->property("Tag").toInt() : 0;
}

void setTag(QObject *object, int tag)
{
    if (object)
        object->setProperty("Tag", tag);
}

void loadGlyph(QAbstractButton *button, const QString &file)
{
    if (!button)
        return;
    const QPixmap picture(resolvePath(file));
    button->setIcon(picture.isNull() ? QIcon() : QIcon(picture));
}
