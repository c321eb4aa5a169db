#include "sostform.h"

#include "editorwidgets.h"
#include "guard.h"
#include "messages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QLineEdit *casella(QWidget *parent, const char *name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setMinimumWidth(e->fontMetrics().averageCharWidth() * 40);
    return e;
}

} // namespace

TSostForm::TSostForm(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , ButtonTag(
          EditorWidgets::captionButton(this, QStringLiteral("ButtonTag"), QStringLiteral("Tag")))
    , ButtonValoreCorrente(EditorWidgets::captionButton(
          this, QStringLiteral("ButtonValoreCorrente"), QStringLiteral("Valore Corrente")))
    , ButtonNuovoValore(EditorWidgets::captionButton(this, QStringLiteral("ButtonNuovoValore"),
                                                     QStringLiteral("Nuovo Valore")))
    , EditTag(casella(this, "EditTag"))
    , EditValoreCorrente(casella(this, "EditValoreCorrente"))
    , EditNuovoValore(casella(this, "EditNuovoValore"))
    , RadioSost(new QGroupBox(QStringLiteral("Sostituire"), this))
    , RadioSoloDitta(new QRadioButton(QStringLiteral("Solo nella ditta corrente"), RadioSost))
    , RadioTutteDitte(new QRadioButton(QStringLiteral("In tutte le ditte"), RadioSost))
    , ButtonOk(new QPushButton(QStringLiteral("Ok"), this))
    , ButtonCancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("SostForm"));
    setWindowTitle(QStringLiteral("Sostituisci"));
    RadioSost->setObjectName(QStringLiteral("RadioSost"));
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonOk->setDefault(true);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    RadioSoloDitta->setChecked(true);

    auto *campi = new QGridLayout;
    int riga = 0;
    for (auto [label, box] :
         {std::pair{ButtonTag, EditTag}, std::pair{ButtonValoreCorrente, EditValoreCorrente},
          std::pair{ButtonNuovoValore, EditNuovoValore}}) {
        campi->addWidget(label, riga, 0, Qt::AlignLeft);
        campi->addWidget(box, riga++, 1);
    }
    auto *radio = new QVBoxLayout(RadioSost);
    radio->addWidget(RadioSoloDitta);
    radio->addWidget(RadioTutteDitte);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(campi);
    layout->addWidget(RadioSost);
    layout->addLayout(EditorWidgets::buttonRow({ButtonOk, ButtonCancel}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Guard::connect(ButtonTag, &QPushButton::clicked, this, [this] { EditTag->setFocus(); });
    Guard::connect(ButtonValoreCorrente, &QPushButton::clicked, this,
                   [this] { EditValoreCorrente->setFocus(); });
    Guard::connect(ButtonNuovoValore, &QPushButton::clicked, this,
                   [this] { EditNuovoValore->setFocus(); });
    Guard::connect(ButtonOk, &QPushButton::clicked, this, [this] { done(mrOk); });
    Guard::connect(ButtonCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

int TSostForm::ItemIndex() const
{
    return RadioTutteDitte->isChecked() ? 1 : 0;
}

void TSostForm::setItemIndex(int index)
{
    (index == 1 ? RadioTutteDitte : RadioSoloDitta)->setChecked(true);
}
