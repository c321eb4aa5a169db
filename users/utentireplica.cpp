// The users editor's "Replica ditte": the dialog, then the users as the
// replication committed them.

#include "utentiform.h"

#include "ibquery.h"
#include "messages.h"
#include "replicaditteform.h"
#include "tabform.h"

void TUtentiForm::ButtonReplicaDitteClick()
{
    const int codice = QueryUtenti->Active() && !QueryUtenti->IsEmpty()
                           ? QueryUtenti->FieldByName(QStringLiteral("CODICE"))->AsInteger()
                           : 0;
    TReplicaDitteForm dialog(this, FTabForm);
    if (codice > 0)
        dialog.Imposta(codice);
    if (Modal::exec(&dialog) != mrOk)
        return;
    if (codice <= 0) {
        ButtonAggiornaClick();
        return;
    }
    // The replication committed on a transaction of its own: a new snapshot
    // shows its texts.
    TIBTransaction *tr = FTabForm->IBTransaction1;
    if (tr->InTransaction())
        tr->Rollback();
    tr->StartTransaction();
    QueryUtenti->Close();
    QueryUtenti->Open();
    locateKey({codice});
}
