#pragma once

#include <QObject>
#include <QString>

class QAbstractButton;

// The class library gave every control an integer Tag; the editors use it to
// mark edit-only controls (2) and the status button's state (1 unsaved, 0
// saved). Kept here as a property of the object.
int Tag(const QObject *object);
void setTag(QObject *object, int tag);

// Loads a button's picture from a file; a missing or unreadable file leaves
// the button without a picture rather than failing.
void loadGlyph(QAbstractButton *button, const QString &file);
