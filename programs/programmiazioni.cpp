// The programs register's own steps: the delete check, the menu, the
// duplication and the rebuild of PARAMETRIBLOB.

#include "programmiform.h"

#include "dbcontrols.h"
#include "dberrortext.h"
#include "duplicazione.h"
#include "guard.h"
#include "ibquery.h"
#include "menuprogrammaform.h"
#include "messages.h"
#include "parametriblob.h"
#include "tabform.h"
#include "vocimenu.h"

bool TProgrammiForm::ControlloDipendenti()
{
    if (QueryProgrammi->IsEmpty())
        return true;
    if (!rowExists({QStringLiteral("SELECT * FROM DETTMENU WHERE PROGRAMMA=:PROGRAMMA")},
                   {{QStringLiteral("PROGRAMMA"),
                     QueryProgrammi->FieldByName(QStringLiteral("CODICE"))->Value()}}))
        return true;
    Messages::warning(QStringLiteral("Ci sono dei menu legati a questo programma, si prega di "
                                     "eliminarli prima di cancellare questo record"));
    return false;
}

QList<TDipendente> TProgrammiForm::Dipendenti()
{
    const QString programma = QStringLiteral("PROGRAMMA");
    // The menu stays: a program with entries is not deleted.
    QList<TDipendente> elenco = {{QStringLiteral("DETTMENU"), programma, false},
                                 {QStringLiteral("DETTPROF"), programma, true},
                                 {QStringLiteral("DETTPROGETTI"), programma, true}};
    if (VociMenu::ConTraduzioni(QueryAux))
        elenco.append({QStringLiteral("LINGUEMENU"), programma, true});
    return elenco;
}

void TProgrammiForm::EliminaCollegati()
{
    // Left behind, the grants and links would pass to the next program
    // given this code.
    EliminaDipendenti(FCodice);
}

void TProgrammiForm::ButtonMenuClick()
{
    if (QueryProgrammi->IsEmpty()) {
        Messages::warning(QStringLiteral("Non c'è nessun programma selezionato"));
        return;
    }
    FCodice = EditCodice->text();
    {
        TMenuProgrammaForm menu(this, FTabForm, FCodice);
        Modal::exec(&menu);
    }
    // What the menu editor committed is shown; browsing, so nothing is asked.
    ButtonAggiornaClick();
    QueryProgrammi->Locate(QStringLiteral("CODICE"), FCodice);
}

void TProgrammiForm::ButtonDuplicaClick()
{
    if (QueryProgrammi->IsEmpty()) {
        Messages::warning(QStringLiteral("Per inserire un nuovo programma premere Nuovo"));
        return;
    }
    if (!Messages::confirm(QStringLiteral("Duplicare il programma corrente?")))
        return;
    // The row being edited goes into the table first (not yet committed),
    // so that the copy takes the code after a new or changed one instead of
    // the same.
    if (QueryProgrammi->State() == dsInsert || QueryProgrammi->State() == dsEdit)
        QueryProgrammi->Post();
    const QString sorgente = EditCodice->text();
    const QString nuovo = ProssimoCodice();

    DbErrorText::Failure errore;
    const Duplicazione::Esito esito = Duplicazione::Duplica(
        *QueryAux, *QueryAux2, sorgente,
        {nuovo, EditNome->text(), EditDescrizione->text(), EditIcona->text()}, &errore);
    if (esito == Duplicazione::Esito::ProgrammaNonInserito) {
        Messages::error(DbErrorText::under(
            QStringLiteral("Errore interno durante la duplicazione del programma corrente"), errore,
            false));
        return;
    }
    if (esito == Duplicazione::Esito::VociNonInserite) {
        Messages::error(DbErrorText::under(
            QStringLiteral("Errore interno durante la duplicazione delle voci di menu "
                           "associate al programma corrente"),
            errore, false));
        // The copy is undone already; in edit mode the question decides
        // about the row being edited.
        ButtonAggiornaClick();
        return;
    }
    if (Memorizzazione())
        QueryProgrammi->Locate(QStringLiteral("CODICE"), nuovo);
}

void TProgrammiForm::ButtonConversioneMemoClick()
{
    TIBDatabase *db = FTabForm->IBDatabase1;
    // Its own transaction, never waiting: a lock held elsewhere fails the
    // step at once instead of hanging the window.
    TIBTransaction propria;
    propria.Params = QStringList{QStringLiteral("nowait")};
    propria.setDefaultDatabase(db);

    ParametriBlob::RiprendiConversione(db, &propria);
    const ParametriBlob::Stato stato = ParametriBlob::StatoConversione(db, &propria);
    if (propria.InTransaction())
        propria.Commit();
    if (stato == ParametriBlob::Stato::CampoMancante) {
        Messages::warning(QStringLiteral("Campo \"PARAMETRIBLOB\" non trovato nella tabella "
                                         "\"DETTMENU\": impossibile procedere con la conversione"));
        return;
    }
    if (stato == ParametriBlob::Stato::GiaConvertito) {
        Messages::warning(QStringLiteral("Conversione già effettuata"));
        return;
    }
    if (!Messages::confirm(QStringLiteral("Effettuare la conversione?\r(Si consiglia di "
                                          "effettuare un back-up preventivo del database)")))
        return;

    const QVariant codice = QueryProgrammi->IsEmpty()
                                ? QVariant()
                                : QueryProgrammi->FieldByName(QStringLiteral("CODICE"))->Value();
    // The shared transaction is restarted in any case: ended first, it
    // holds nothing the rebuild could wait for.
    QueryProgrammi->Close();
    TIBTransaction *condivisa = FTabForm->IBTransaction1;
    if (condivisa->InTransaction())
        condivisa->Rollback();
    bool riuscita = true;
    try {
        ParametriBlob::Converti(db, &propria);
    } catch (const std::exception &e) {
        riuscita = false;
        Messages::error(
            DbErrorText::under(QStringLiteral("Errore interno durante la conversione:"), e));
    }
    condivisa->StartTransaction();
    QueryProgrammi->Open();
    if (!codice.isNull())
        QueryProgrammi->Locate(QStringLiteral("CODICE"), codice);
    if (riuscita)
        Messages::information(QStringLiteral("Conversione effettuata"));
}
