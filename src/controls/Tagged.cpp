#include "controls/Tagged.h"

#include <QObject>
#include <QVariant>

void setTag(QObject* object, int tag)
{
    if (object)
        object->setProperty("tag", tag);
}

int tagOf(const QObject* object)
{
    return object ? object->property("tag").toInt() : 0;
}
