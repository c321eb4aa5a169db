#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

class QAbstractButton;

// The editors' status button (ButtonAggiorna): Tag 0 with a green glyph
// while everything is saved, Tag 1 with a red one while there are unsaved
// changes.
enum TStatusTag { StatusSaved = 0, StatusUnsaved = 1 };

// Sets the button's Tag and glyph. The glyph is the picture file when it can
// be read; otherwise a square painted in the state's colour, so the mode
// stays visible without the pictures folder.
void setStatusGlyph(QAbstractButton *button, int tag, const QString &pictureFile);

// The painted stand-in: green for Tag 0, red for any other.
QPixmap statusSquare(int tag, int side = 16);
