// The users editor's company tools: activation and the options import.

#include "utentiform.h"

#include "abilitaditteform.h"
#include "acqdafileform.h"
#include "dbcontrols.h"
#include "dittetesto.h"
#include "ibquery.h"
#include "messages.h"

namespace {

const QString kPravlin = QStringLiteral("PRAVLIN");

} // namespace

void TUtentiForm::ButtonAbilitaDitteClick()
{
    // The lists come from the user's rows, so the user is saved first; a
    // refused or failed save ends here with nothing written.
    if (Editing() && !Memorizzazione())
        return;
    if (!QueryUtenti->Active() || QueryUtenti->IsEmpty())
        return;
    ButtonEditClick();
    if (!Editing())
        return;
    TAbilitaDitteForm dialog(this, FTabForm,
                             QueryUtenti->FieldByName(QStringLiteral("CODICE"))->AsInteger());
    if (Modal::exec(&dialog) != mrOk)
        return;
    // Into the edit buffer only: Memorizza checks and saves it with the
    // rows, Annulla drops it.
    const QString testo = QueryUtenti->FieldByName(kPravlin)->AsString();
    const QString segnato = DitteTesto::SegnaInattive(testo, dialog.Disattive());
    if (segnato != testo)
        ScriviCampo(kPravlin, segnato);
}

void TUtentiForm::ButtonAcqDaFileClick()
{
    if (!Editing())
        return;
    TAcqDaFileForm dialog(this, FTabForm);
    if (Modal::exec(&dialog) != mrOk)
        return;
    const QString ditta = dialog.DittaScelta();
    const QStringList righe = dialog.RigheScelte();
    ScriviCampo(kPravlin, DitteTesto::AccodaDitta(MemoPravlin->text(), ditta, righe));
}
