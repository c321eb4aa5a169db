#include "kivinform.h"

#include "messages.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

// Fixed positions rather than layouts: callers move and resize the
// components by pixels, as they were designed.
TKivInForm::TKivInForm(QWidget *owner, const QString &prompt)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , Bevel1(new QFrame(this))
    , Label1(new QLabel(prompt, this))
    , Edit1(new QLineEdit(this))
    , OKBtn(new QPushButton(QStringLiteral("OK"), this))
    , CancelBtn(new QPushButton(QStringLiteral("Annulla"), this))
{
    setWindowTitle(QStringLiteral("Dialog"));

    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(16, 24);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(16, 48, 257, 21);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(300, 8, 75, 25);
    OKBtn->setDefault(true);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(300, 38, 75, 25);

    connect(OKBtn, &QPushButton::clicked, this, [this] {
        Esito = 1;
        done(mrOk);
    });
    connect(CancelBtn, &QPushButton::clicked, this, [this] {
        Esito = 2;
        done(mrCancel);
    });
}

bool TKivInForm::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        Edit1->setFocus();
    return QDialog::event(e);
}

void TKivInForm::showEvent(QShowEvent *e)
{
    // The label grows with the prompt the caller gave it.
    Label1->adjustSize();
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    QDialog::showEvent(e);
}

void TKivInForm::keyPressEvent(QKeyEvent *e)
{
    // Esc is the Cancel button, not a plain close.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        CancelBtn->click();
        return;
    }
    QDialog::keyPressEvent(e);
}
