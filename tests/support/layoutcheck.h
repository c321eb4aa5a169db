#pragma once

#include <QImage>
#include <QStringList>

class QWidget;

// What a user would see as a broken window: a visible widget that leaves its
// parent's inside (a frame's border included), one smaller than its contents
// need (a clipped text), or two visible siblings that overlap. The window
// must be shown and laid out. Each fault is one readable line.
QStringList layoutFaults(const QWidget *window);

// The window as the screen shows it; also saved as <name>.png into the
// folder named by TEST_SCREENSHOTS, when that is set.
QImage windowPicture(QWidget *window, const QString &name);
