#include "kivin2form.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

// The server prompt moves the label by pixels to make room for its two lines.
TKivIn2Form::TKivIn2Form(QWidget *owner)
    : TKivInForm(owner, QStringLiteral("Inserisci data e numero:"))
    , Edit2(new QLineEdit(this))
{
    setFixedSize(384, 145);
    Bevel1->setGeometry(8, 8, 281, 129);
    Label1->adjustSize();
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(16, 80, 257, 21);
    // Created after the buttons, but Tab still goes from one value to the next.
    setTabOrder(Edit1, Edit2);
}
