#include "kivin1form.h"

#include "infoform.h"

TKivIn1Form::TKivIn1Form(QWidget *owner)
    : TKivInForm(owner, QStringLiteral("Inserisci il valore:"))
{
    // A caller that sets no caption (the code change, the password) shows
    // the program's name rather than a placeholder.
    setWindowTitle(productTitle());
    setFont(QFont(QStringLiteral("Tahoma")));
}
