#include "kivin2form.h"

#include <QLineEdit>

TKivIn2Form::TKivIn2Form(QWidget *owner)
    : TKivInForm(owner, QStringLiteral("Inserisci data e numero:"))
    , Edit2(new QLineEdit(Bevel1))
{
    Edit2->setObjectName(QStringLiteral("Edit2"));
    addValueBox(Edit2);
    // Created after the buttons, but Tab still goes from one value to the next.
    setTabOrder(Edit1, Edit2);
}
