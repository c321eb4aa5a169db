#include "kivin1form.h"

#include <QFrame>
#include <QLabel>

TKivIn1Form::TKivIn1Form(QWidget *owner)
    : TKivInForm(owner, QStringLiteral("Inserisci il valore:"))
{
    setFont(QFont(QStringLiteral("Tahoma")));
    setFixedSize(384, 121);
    Bevel1->setGeometry(8, 8, 281, 105);
    // Sized once the font is known.
    Label1->adjustSize();
}
