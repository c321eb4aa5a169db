#include "editorwidgets.h"

#include "dbcontrols.h"
#include "dbgrid.h"

namespace EditorWidgets {

void keyBox(QLineEdit *edit)
{
    setTag(edit, 0);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, clBackground);
    edit->setPalette(p);
}

TDBEdit *keyEdit(QWidget *parent, const char *name, TDataSet *dataSet, const char *field)
{
    auto *edit = bound<TDBEdit>(parent, name, dataSet, field, 0);
    keyBox(edit);
    return edit;
}

} // namespace EditorWidgets
