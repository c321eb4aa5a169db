#pragma once

#include <QObject>
#include <QString>

// The class library gave every control an integer Tag; the editors use it to
// mark edit-only controls (2) and the status button's state (1 unsaved, 0
// saved). Kept here as a property of the object.
int Tag(const QObject *object);
void setTag(QObject *object, int tag);
