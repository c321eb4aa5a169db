#pragma once

#include <QList>
#include <QRect>
#include <QScrollArea>
#include <QSize>

class QWidget;

// The desktop conventions every window keeps: it never opens larger than the
// screen's free area, and Tab goes through it as the eye reads it.
namespace ScreenFit {

// The free area of the screen the window opens on (the owner's screen, else
// the primary one), less room for the window's title bar and border.
QSize roomFor(const QWidget *window);
// Sizes the window to what it wants within the room, and moves it inside the
// screen's free area.
void fitToScreen(QWidget *window, const QSize &wanted);
// What a window not sized yet would take (its layout's hint), kept on screen.
void keepOnScreen(QWidget *window);

// The controls Tab may reach inside the root, in reading order: top to
// bottom in bands that nothing crosses, left to right in columns within a
// band, recursively.
QList<QWidget *> readingOrder(QWidget *root);
// Sets the window's Tab chain to that order.
void orderTabs(QWidget *window);
// Orders the Tab chain each time the window is shown, once it is laid out.
void orderTabsOnShow(QWidget *window);
// The first control in reading order that takes typed text and is enabled.
QWidget *firstTypable(QWidget *root);

} // namespace ScreenFit

// A field panel that scrolls when the window cannot give it the room it
// asks for; otherwise it asks for all of it, as the panel alone would.
class TScrollPanel : public QScrollArea
{
    Q_OBJECT
public:
    explicit TScrollPanel(QWidget *panel, QWidget *parent = nullptr);
    QSize sizeHint() const override;
};
