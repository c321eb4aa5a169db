#include "abilitaditteform.h"

#include "dittetesto.h"
#include "editorwidgets.h"
#include "guard.h"
#include "ibsql.h"
#include "messages.h"
#include "tabform.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The selected items of one list go to the end of the other, in list order.
void sposta(QListWidget *da, QListWidget *a)
{
    for (int i = 0; i < da->count();) {
        if (!da->item(i)->isSelected()) {
            ++i;
            continue;
        }
        a->addItem(da->takeItem(i));
    }
    a->clearSelection();
}

QStringList voci(const QListWidget *lista)
{
    QStringList out;
    for (int i = 0; i < lista->count(); ++i)
        out.append(lista->item(i)->text());
    return out;
}

} // namespace

TAbilitaDitteForm::TAbilitaDitteForm(QWidget *owner, TTabForm *&tabForm, int codiceUtente)
    : QDialog(owner)
    , FTabForm(tabForm)
{
    setObjectName(QStringLiteral("AbilitaDitteForm"));
    setWindowTitle(QStringLiteral("AbilitaDitteForm"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    buildWindow();
    caricaDitte(codiceUtente);
}

void TAbilitaDitteForm::buildWindow()
{
    auto lista = [this](const char *nome) {
        auto *l = new QListWidget(this);
        l->setObjectName(QLatin1String(nome));
        l->setSelectionMode(QAbstractItemView::ExtendedSelection);
        return l;
    };
    ListBoxAttive = lista("ListBoxAttive");
    ListBoxDisattive = lista("ListBoxDisattive");
    ButtonDisattiva = EditorWidgets::pushButton(this, "ButtonDisattiva", QStringLiteral(">"));
    ButtonAttiva = EditorWidgets::pushButton(this, "ButtonAttiva", QStringLiteral("<"));
    ButtonOk = EditorWidgets::pushButton(this, "ButtonOk", QStringLiteral("Ok"));
    ButtonCancel = EditorWidgets::pushButton(this, "ButtonCancel", QStringLiteral("Cancel"));
    ButtonOk->setDefault(true);

    auto *attive = new QLabel(QStringLiteral("Ditte attive"), this);
    attive->setBuddy(ListBoxAttive);
    auto *disattive = new QLabel(QStringLiteral("Ditte non attive"), this);
    disattive->setBuddy(ListBoxDisattive);

    auto *frecce = new QVBoxLayout;
    frecce->addStretch(1);
    frecce->addWidget(ButtonDisattiva);
    frecce->addWidget(ButtonAttiva);
    frecce->addStretch(1);

    auto *liste = new QGridLayout;
    liste->addWidget(attive, 0, 0);
    liste->addWidget(disattive, 0, 2);
    liste->addWidget(ListBoxAttive, 1, 0);
    liste->addLayout(frecce, 1, 1);
    liste->addWidget(ListBoxDisattive, 1, 2);
    liste->setRowStretch(1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(liste, 1);
    layout->addLayout(EditorWidgets::buttonRow({ButtonOk, ButtonCancel}));
    resize(520, 360);

    Guard::connect(ButtonDisattiva, &QPushButton::clicked, this,
                   [this] { ButtonDisattivaClick(); });
    Guard::connect(ButtonAttiva, &QPushButton::clicked, this, [this] { ButtonAttivaClick(); });
    Guard::connect(ButtonOk, &QPushButton::clicked, this, [this] { done(mrOk); });
    Guard::connect(ButtonCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TAbilitaDitteForm::caricaDitte(int codiceUtente)
{
    TIBSQL *q = FTabForm->QueryAux;
    q->Close();
    q->SQL = QStringList{QStringLiteral("SELECT DISTINCT(INTESTAZIONE) FROM TABPRAVLIN WHERE"),
                         QStringLiteral("UTENTE=:UTENTE"), QStringLiteral("ORDER BY INTESTAZIONE")};
    q->ParamByName(QStringLiteral("UTENTE")).setAsInteger(codiceUtente);
    QStringList intestazioni;
    for (q->ExecQuery(); !q->Eof(); q->Next())
        intestazioni.append(q->Fields(0).AsString());
    q->Close();
    const DitteTesto::TListeDitte liste = DitteTesto::DividiDitte(intestazioni);
    ListBoxAttive->addItems(liste.Attive);
    ListBoxDisattive->addItems(liste.Disattive);
}

QStringList TAbilitaDitteForm::Disattive() const
{
    return voci(ListBoxDisattive);
}

void TAbilitaDitteForm::ButtonDisattivaClick()
{
    sposta(ListBoxAttive, ListBoxDisattive);
}

void TAbilitaDitteForm::ButtonAttivaClick()
{
    sposta(ListBoxDisattive, ListBoxAttive);
}
