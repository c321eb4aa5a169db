#pragma once

#include "tag.h"

class QLineEdit;
class QWidget;
class TDataSet;
class TDBEdit;

// The controls every record editor builds the same way in its fields panel.
namespace EditorWidgets {

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

} // namespace EditorWidgets
