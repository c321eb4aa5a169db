// The projects editor's own steps: the new row's default, the delete
// check, linking and unlinking programs, and the duplication.

#include "progettiform.h"

#include "dbcontrols.h"
#include "ibquery.h"
#include "ibsql.h"
#include "importmenuvalori.h"
#include "messages.h"
#include "tabform.h"

#include <QPushButton>

namespace {

const QString kNessunProgetto = QStringLiteral("Non c'è nessun progetto selezionato");

// A text as the projects' statements store it: "´" for each apostrophe,
// NULL when empty.
QVariant testo(const QString &s)
{
    return s.isEmpty() ? QVariant() : QVariant(FileScambioMenu::ConAccento(s));
}

} // namespace

void TProgettiForm::ValoriNuovoRecord()
{
    QueryProgetti->FieldByName(QStringLiteral("MODOMENUSISTEMA"))->setAsInteger(0);
}

bool TProgettiForm::ControlloDipendenti()
{
    if (!rowExists({QStringLiteral("SELECT * FROM DETTPROGETTI WHERE PROGETTO=:PROGETTO")},
                   {{QStringLiteral("PROGETTO"), codiceProgetto()}}))
        return true;
    Messages::warning(QStringLiteral("Ci sono dei collegamenti a programmi legati a questo "
                                     "progetto, si prega di eliminarli prima di cancellare "
                                     "questo record"));
    return false;
}

QList<TDipendente> TProgettiForm::Dipendenti()
{
    // Users keep the code of a deleted project.
    return {{QStringLiteral("DETTPROGETTI"), QStringLiteral("PROGETTO"), true},
            {QStringLiteral("UTENTI"), QStringLiteral("PROGETTO"), false}};
}

void TProgettiForm::EliminaCollegati()
{
    // Links written since the check would pass to the next project.
    EliminaDipendenti(FCodice);
}

QString TProgettiForm::ProssimoCodice()
{
    // A user still naming a deleted project must not be given a new one.
    return ProssimoCodiceOltre(QStringLiteral("UTENTI"), QStringLiteral("PROGETTO"));
}

bool TProgettiForm::esegui(const QStringList &sql, const QVariantMap &valori)
{
    QueryAux->Close();
    QueryAux->SQL = sql;
    try {
        for (auto it = valori.cbegin(); it != valori.cend(); ++it)
            QueryAux->ParamByName(it.key()).setValue(it.value());
        QueryAux->ExecQuery();
    } catch (const std::exception &e) {
        FErrore = DbErrorText::failureOf(e);
        return false;
    }
    QueryAux->Close();
    return true;
}

void TProgettiForm::ButtonAggiungiClick()
{
    bool avanti = true;
    if (QueryProgetti->IsEmpty()) {
        Messages::warning(kNessunProgetto);
        avanti = false;
    }
    if (!QueryProgr2->Active() || QueryProgr2->IsEmpty()) {
        Messages::warning(QStringLiteral(
            "Non c'è nessun programma disponibile da collegare al progetto corrente"));
        avanti = false;
    }
    if (avanti) {
        const QVariant progetto = codiceProgetto();
        for (const QString &programma : std::as_const(FProgrSelezionati2)) {
            const QVariantMap chiave = {{QStringLiteral("PROGETTO"), progetto},
                                        {QStringLiteral("PROGRAMMA"), programma.toInt()}};
            if (rowExists({QStringLiteral("SELECT * FROM DETTPROGETTI WHERE"),
                           QStringLiteral("(PROGETTO=:PROGETTO)AND"),
                           QStringLiteral("(PROGRAMMA=:PROGRAMMA)")},
                          chiave)) {
                Messages::warning(QStringLiteral("Il programma ") + programma +
                                  QStringLiteral(" risulta già presente ") +
                                  QStringLiteral("nei dettagli del progetto"));
                continue;
            }
            if (!esegui({QStringLiteral("INSERT INTO DETTPROGETTI(PROGETTO,PROGRAMMA) VALUES("),
                         QStringLiteral(":PROGETTO,"), QStringLiteral(":PROGRAMMA)")},
                        chiave))
                Messages::error(DbErrorText::under(
                    QStringLiteral("Errore interno di INSERT: impossibile aggiungere "
                                   "il programma ") +
                        programma + QStringLiteral(" ai dettagli progetto"),
                    FErrore, false));
        }
    }
    // Also after a refusal: the marks go and whatever stands is saved.
    FProgrSelezionati2.clear();
    Memorizzazione();
}

void TProgettiForm::ButtonTogliClick()
{
    bool avanti = true;
    if (QueryProgetti->IsEmpty()) {
        Messages::warning(kNessunProgetto);
        avanti = false;
    }
    if (!QueryProgr1->Active() || QueryProgr1->IsEmpty()) {
        Messages::warning(QStringLiteral("Non c'è nessun programma legato al progetto corrente"));
        avanti = false;
    }
    if (!avanti)
        return;
    const QVariant progetto = codiceProgetto();
    for (const QString &programma : std::as_const(FProgrSelezionati1)) {
        if (!esegui({QStringLiteral("DELETE FROM DETTPROGETTI WHERE"),
                     QStringLiteral("(PROGETTO=:PROGETTO)AND"),
                     QStringLiteral("(PROGRAMMA=:PROGRAMMA)")},
                    {{QStringLiteral("PROGETTO"), progetto},
                     {QStringLiteral("PROGRAMMA"), programma.toInt()}}))
            Messages::error(DbErrorText::under(
                QStringLiteral("Errore interno di DELETE: impossibile eliminare il "
                               "programma ") +
                    programma + QStringLiteral(" dai dettagli progetto"),
                FErrore, false));
    }
    Memorizzazione();
    FProgrSelezionati1.clear();
}

void TProgettiForm::ButtonDuplicaClick()
{
    if (QueryProgetti->IsEmpty()) {
        Messages::warning(QStringLiteral("Per inserire un nuovo progetto premere il tasto Nuovo"));
        return;
    }
    if (!Messages::confirm(QStringLiteral("Confermare la duplicazione del progetto corrente?")))
        return;
    FTabForm->ChiudiTransEAggiorna(QueryProgetti, FBookmark, FBookmarkValido, ButtonAggiorna);

    const int nuovo = ProssimoCodice().toInt();
    const int modo = qMax(RadioModoMenuSistema->ItemIndex(), 0);
    if (!esegui({QStringLiteral("INSERT INTO PROGETTI("), QStringLiteral("CODICE,"),
                 QStringLiteral("NOME,"), QStringLiteral("DESCRIZIONE,"),
                 QStringLiteral("MODOMENUSISTEMA"), QStringLiteral(")"), QStringLiteral("VALUES("),
                 QStringLiteral(":CODICE,"), QStringLiteral(":NOME,"),
                 QStringLiteral(":DESCRIZIONE,"), QStringLiteral(":MODOMENUSISTEMA"),
                 QStringLiteral(")")},
                {{QStringLiteral("CODICE"), nuovo},
                 {QStringLiteral("NOME"), testo(EditNome->text())},
                 {QStringLiteral("DESCRIZIONE"), testo(EditDescrizione->text())},
                 {QStringLiteral("MODOMENUSISTEMA"), modo}})) {
        Messages::error(DbErrorText::under(
            QStringLiteral("Errore interno durante la duplicazione del progetto"), FErrore, false));
        return;
    }

    bool avanti = true;
    QueryProgr1->DisableControls();
    try {
        for (QueryProgr1->First(); avanti && !QueryProgr1->Eof(); QueryProgr1->Next()) {
            if (!esegui({QStringLiteral("INSERT INTO DETTPROGETTI (PROGETTO,PROGRAMMA) VALUES("),
                         QStringLiteral(":PROGETTO,"), QStringLiteral(":PROGRAMMA)")},
                        {{QStringLiteral("PROGETTO"), nuovo},
                         {QStringLiteral("PROGRAMMA"),
                          QueryProgr1->FieldByName(QStringLiteral("CODICE"))->Value()}})) {
                avanti = false;
                Messages::error(DbErrorText::under(
                    QStringLiteral("Errore interno durante la duplicazione delle "
                                   "associazioni programmi al progetto"),
                    FErrore, false));
            }
        }
        QueryProgr1->First();
    } catch (...) {
        QueryProgr1->EnableControls();
        throw;
    }
    QueryProgr1->EnableControls();

    if (!avanti) {
        // In browse mode: the shared transaction is rolled back, and with it
        // the new project and every link copied so far.
        ButtonAggiornaClick();
        return;
    }
    if (Memorizzazione())
        QueryProgetti->Locate(QStringLiteral("CODICE"), nuovo);
}
