// The users editor's steps: new user, validation, the save of the user with
// the user's rows, the password and the pick lists.

#include "utentiform.h"

#include "dataerrors.h"
#include "dbcontrols.h"
#include "ibquery.h"
#include "kivin1form.h"
#include "messages.h"
#include "pravlinrows.h"
#include "ricprofform.h"
#include "ricprogform.h"
#include "tabform.h"
#include "utentiverifica.h"
#include "win1252.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

bool testuale(TFieldType type)
{
    switch (type) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftMemo:
    case ftFmtMemo:
        return true;
    default:
        return false;
    }
}

} // namespace

// ---- Nuovo -----------------------------------------------------------------------

bool TUtentiForm::PrimaDelNuovo()
{
    if (rowExists({QStringLiteral("SELECT * FROM PROFILI")}, {}))
        return true;
    Messages::warning(
        QStringLiteral("Si prega di configurare almeno un profilo prima di inserire un utente"));
    return false;
}

void TUtentiForm::ValoriNuovoRecord()
{
    for (const char *campo : {"MANTIENISTDMIN", "ABILITASCELTADISCO", "ACCESSOPRAVLIN"})
        QueryUtenti->FieldByName(QLatin1String(campo))->setValue(0);
}

// ---- Verifica --------------------------------------------------------------------

bool TUtentiForm::Verifica()
{
    Utenti::TDatiUtente dati;
    dati.profilo = EditProfilo->text();
    dati.mantieniStdMin = CheckMantieniStdMin->isChecked();
    dati.progetto = EditProgetto->text();
    dati.nomeUtente = EditNomeUtente->text();
    dati.ditta = EditDitta->text();
    dati.pravlin = MemoPravlin->text();
    return Utenti::Verifica(dati);
}

void TUtentiForm::ButtonVerificaClick()
{
    if (Verifica())
        Messages::information(QStringLiteral("Nessuna anomalia rilevata"));
}

void TUtentiForm::ButtonVerificaHelpClick()
{
    Messages::information(Utenti::RigheHelpVerifica().join(QLatin1Char('\r')));
}

bool TUtentiForm::Validazioni()
{
    return Verifica() && TestiMemorizzabili();
}

bool TUtentiForm::TestiMemorizzabili()
{
    // Checked before anything is written: a character the database's code
    // page cannot hold would otherwise stop the save half-way.
    for (int i = 0; i < QueryUtenti->FieldCount(); ++i) {
        TField *f = QueryUtenti->Fields(i);
        if (!testuale(f->DataType()))
            continue;
        const QString testo = f->AsString();
        if (Win1252::canEncode(testo))
            continue;
        QString messaggio =
            QStringLiteral("Il campo %1 contiene un carattere che non può essere memorizzato")
                .arg(f->FieldName());
        // The password is never shown, not even one character of it.
        if (f->FieldName() != QLatin1String("PWDUTENTE")) {
            for (const QChar c : testo) {
                if (!Win1252::canEncode(QString(c))) {
                    messaggio += QStringLiteral(": \"%1\"").arg(c);
                    break;
                }
            }
        }
        Messages::error(messaggio);
        return false;
    }
    return true;
}

// ---- The save ----------------------------------------------------------------------

void TUtentiForm::SalvaRecord()
{
    // The rows and the user go in one commit: until then nothing reaches
    // another connection, and a failure takes both back.
    TIBTransaction *tr = FTabForm->IBTransaction1;
    const QString testo = QueryUtenti->FieldByName(QStringLiteral("PRAVLIN"))->AsString();
    if (!tr->InTransaction())
        tr->StartTransaction();
    try {
        Pravlin::RiscriviTabPravlin(*FTabForm->IBDatabase1, *tr, FCodice, testo);
        QueryUtenti->Post();
    } catch (const Pravlin::ERigheTabPravlin &e) {
        tr->RollbackRetaining();
        Messages::error(e.testo(true));
        throw EAbort();
    } catch (...) {
        // A refused post: the save's own error follows, the editor keeps
        // the row being edited.
        if (tr->InTransaction())
            tr->RollbackRetaining();
        throw;
    }
    FTabForm->ChiudiTransEAggiorna(QueryUtenti, FBookmark, FBookmarkValido, ButtonAggiorna);
}

// ---- Password and pick lists -------------------------------------------------------

void TUtentiForm::ButtonPasswordClick()
{
    if (!QueryUtenti->Active() || QueryUtenti->IsEmpty())
        return;
    TKivIn1Form dialog(this);
    dialog.setFont(QFont(QStringLiteral("Tahoma")));
    dialog.Edit1->setMaxLength(kLunghezzaPassword);
    dialog.Edit1->setText(QueryUtenti->FieldByName(QStringLiteral("PWDUTENTE"))->AsString());
    dialog.Label1->setText(QStringLiteral("Inserire la nuova password"));
    Modal::exec(&dialog);
    if (dialog.Esito == 1) {
        // Stored as typed; an empty password is no password.
        const QString typed = dialog.Edit1->text();
        ScriviCampo(QStringLiteral("PWDUTENTE"), typed.isEmpty() ? QVariant() : QVariant(typed));
    }
    EditCodice->setFocus();
}

void TUtentiForm::ButtonProfiloClick()
{
    TRicProfForm list(this, FTabForm);
    EditProfilo->setFocus();
    if (Modal::exec(&list) == mrOk)
        ScriviCampo(QStringLiteral("PROFILOSICUREZZA"),
                    list.QueryProfili->FieldByName(QStringLiteral("CODICE"))->AsString());
}

void TUtentiForm::ButtonProgettoClick()
{
    TRicProgForm list(this, FTabForm);
    EditProgetto->setFocus();
    if (Modal::exec(&list) == mrOk)
        ScriviCampo(QStringLiteral("PROGETTO"),
                    list.QueryProgetti->FieldByName(QStringLiteral("CODICE"))->AsString());
}
