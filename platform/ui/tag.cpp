#include "tag.h"

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
