#include "kivinform.h"

#include "guard.h"
#include "messages.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
// How much a value box shows, in average characters of the dialog's font.
constexpr int kValueChars = 48;
} // namespace

TKivInForm::TKivInForm(QWidget *owner, const QString &prompt)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , Bevel1(new QFrame(this))
    , Label1(new QLabel(prompt, Bevel1))
    , Edit1(new QLineEdit(Bevel1))
    , OKBtn(new QPushButton(QStringLiteral("OK"), this))
    , CancelBtn(new QPushButton(QStringLiteral("Annulla"), this))
    , m_values(new QVBoxLayout(Bevel1))
{
    setWindowTitle(QStringLiteral("Dialog"));

    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));

    m_values->addWidget(Label1);
    m_values->addWidget(Edit1);
    m_values->addStretch();
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(Bevel1, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    sizeValueBoxes();

    Guard::connect(OKBtn, &QPushButton::clicked, this, [this] {
        Esito = 1;
        done(mrOk);
    });
    Guard::connect(CancelBtn, &QPushButton::clicked, this, [this] {
        Esito = 2;
        done(mrCancel);
    });
}

void TKivInForm::addValueBox(QLineEdit *box)
{
    m_values->insertWidget(m_values->count() - 1, box);
    sizeValueBoxes();
}

void TKivInForm::sizeValueBoxes()
{
    const int width = fontMetrics().averageCharWidth() * kValueChars;
    for (QLineEdit *box : Bevel1->findChildren<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly))
        box->setMinimumWidth(width);
}

bool TKivInForm::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        Edit1->setFocus();
    return QDialog::event(e);
}

void TKivInForm::changeEvent(QEvent *e)
{
    // Callers set the font after creating the dialog.
    if (e->type() == QEvent::FontChange)
        sizeValueBoxes();
    QDialog::changeEvent(e);
}

void TKivInForm::showEvent(QShowEvent *e)
{
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
