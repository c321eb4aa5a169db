#include "kivin1form.h"

TKivIn1Form::TKivIn1Form(QWidget *owner)
    : TKivInForm(owner, QStringLiteral("Inserisci il valore:"))
{
    setFont(QFont(QStringLiteral("Tahoma")));
}
