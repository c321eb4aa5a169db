#pragma once

#include "tag.h"

#include <initializer_list>

class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QString;
class QVBoxLayout;
class QWidget;
class TDataSet;
class TDBEdit;

// The controls and layout pieces every window builds the same way.
namespace EditorWidgets {

// The widget with its object name, so that a window is built in one
// expression per control.
template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A data-aware control named and bound to its column; Tag 2 (enabled only
// while editing) unless the caller says otherwise.
template <typename T>
T *bound(QWidget *parent, const char *name, TDataSet *dataSet, const char *field, int tag = 2)
{
    auto *control = new T(parent);
    control->setObjectName(QLatin1String(name));
    control->bind(dataSet, QLatin1String(field));
    setTag(control, tag);
    return control;
}

// A key box: shown on the desktop colour, never typed into, enabled in both
// modes so its text stays readable.
void keyBox(QLineEdit *edit);
// A bound edit made a key box.
TDBEdit *keyEdit(QWidget *parent, const char *name, TDataSet *dataSet, const char *field);

// A flat caption button that never takes the focus.
QPushButton *captionButton(QWidget *parent, const QString &objectName, const QString &caption);
// A flat caption button over a control (Tag 2): clicking it focuses the
// control, when one is given, unless the caller connects it otherwise.
QPushButton *labelButton(QWidget *parent, const QString &objectName, const QString &caption,
                         QWidget *target);
// A named button without a parent yet (a layout or addCommand gives it one).
QPushButton *button(const char *name, const QString &caption, int tag = 0);
// A named button Enter does not press (in a dialog Enter is the default
// button's); without a parent, the layout gives it one.
QPushButton *pushButton(QWidget *parent, const char *name, const QString &caption);
// Buttons at the right end of a row, where a dialog keeps Ok and Cancel.
QHBoxLayout *buttonRow(std::initializer_list<QWidget *> buttons);
// A square "?" button that opens a help text.
QPushButton *helpButton(QWidget *parent, const char *name);
// A caption button over its control, as one cell of a fields grid.
QVBoxLayout *cell(QWidget *label, QWidget *control);
// A caption with its help button at its right.
QHBoxLayout *withHelp(QWidget *label, QWidget *help);

} // namespace EditorWidgets
