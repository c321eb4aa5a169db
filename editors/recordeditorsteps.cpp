// The record editor's steps: new, edit, save, cancel, refresh, delete and
// the code change.

#include "recordeditor.h"

#include "dberrortext.h"
#include "editorsql.h"
#include "guard.h"
#include "ibquery.h"
#include "ibsql.h"
#include "kivin1form.h"
#include "messages.h"
#include "tabform.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kTabellaVuota = QStringLiteral("La tabella è vuota");
const QString kCodiceInUso = QStringLiteral("Il codice scelto è già in uso");

QString textOf(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

} // namespace

// ---- Nuovo and Edit X --------------------------------------------------------

QString TRecordEditorForm::ProssimoCodice()
{
    QueryAux->Close();
    QueryAux->SQL = EditorSQL::maxCode(m_table.table, m_table.codeField, parentFields());
    bindParent(QueryAux);
    QueryAux->ExecQuery();
    const QVariant highest = QueryAux->Eof() ? QVariant() : QueryAux->Fields(0).Value();
    QueryAux->Close();
    if (highest.isNull())
        return QStringLiteral("1");
    return QString::number(highest.toLongLong() + 1);
}

QString TRecordEditorForm::ProssimoCodiceOltre(const QString &tabella, const QString &colonna)
{
    if (!m_massimoAltrove) {
        m_massimoAltrove = std::make_unique<TIBSQL>();
        m_massimoAltrove->setDatabase(FTabForm->IBDatabase1);
        m_massimoAltrove->setTransaction(FTabForm->IBTransaction1);
        m_massimoAltrove->SQL = EditorSQL::maxCode(tabella, colonna, {});
    }
    m_massimoAltrove->Close();
    m_massimoAltrove->ExecQuery();
    const QVariant altrove =
        m_massimoAltrove->Eof() ? QVariant() : m_massimoAltrove->Fields(0).Value();
    m_massimoAltrove->Close();
    const QString proprio = TRecordEditorForm::ProssimoCodice();
    if (altrove.isNull() || altrove.toLongLong() < proprio.toLongLong())
        return proprio;
    return QString::number(altrove.toLongLong() + 1);
}

TDipendentiChiave &TRecordEditorForm::dipendenti()
{
    if (!m_dipendenti)
        m_dipendenti = std::make_unique<TDipendentiChiave>(
            FTabForm->IBDatabase1, FTabForm->IBTransaction1, Dipendenti(), m_table.parentValues);
    return *m_dipendenti;
}

void TRecordEditorForm::EliminaDipendenti(const QVariant &codice)
{
    dipendenti().Elimina(codice);
}

void TRecordEditorForm::appendRow(const QString &code)
{
    MainQuery->Append();
    try {
        for (auto it = m_table.parentValues.cbegin(); it != m_table.parentValues.cend(); ++it)
            MainQuery->FieldByName(it.key())->setValue(it.value());
        if (!m_table.codeField.isEmpty()) {
            TField *key = MainQuery->FieldByName(m_table.codeField);
            // The highest code of the column is taken: no new code fits.
            if (code.toLongLong() > EditorSQL::maxCodeValue(key->DataType()))
                throw EDatabaseError(QStringLiteral("Nessun codice disponibile oltre %1")
                                         .arg(EditorSQL::maxCodeValue(key->DataType())));
            key->setAsString(code);
        }
        ValoriNuovoRecord();
    } catch (...) {
        // No half-made row stays behind the error box.
        MainQuery->Cancel();
        SettaggioInterfaccia(false);
        throw;
    }
}

void TRecordEditorForm::ButtonNuovoClick()
{
    if (!PrimaDelNuovo())
        return;
    FTabForm->ChiudiTransEAggiorna(MainQuery, FBookmark, FBookmarkValido, ButtonAggiorna);
    if (!ScegliChiaveNuova())
        return;
    // The code is read before the mode changes, so a failure leaves the
    // editor browsing.
    FCodice = m_table.codeField.isEmpty() ? QString() : ProssimoCodice();
    SettaggioInterfaccia(true);
    focusPrimoCampo();
    appendRow(FCodice);
}

void TRecordEditorForm::ButtonEditClick()
{
    if (MainQuery->IsEmpty()) {
        Messages::information(QStringLiteral("Non ci sono record da editare. Premere \"Nuovo\" "
                                             "per inserire un nuovo record"));
        return;
    }
    SettaggioInterfaccia(true);
    try {
        MainQuery->Edit();
    } catch (...) {
        SettaggioInterfaccia(false);
        throw;
    }
    focusPrimoCampo();
}

// ---- Memorizza, Annulla, Aggiorna ---------------------------------------------

bool TRecordEditorForm::Memorizzazione()
{
    if (!Validazioni())
        return false;
    QVariantList key;
    QVariant nuovo;
    if (MainQuery->Active() && !MainQuery->IsEmpty()) {
        key = currentKey();
        if (!m_table.codeField.isEmpty())
            nuovo = MainQuery->FieldByName(m_table.codeField)->Value();
        FCodice = textOf(m_table.codeField.isEmpty() ? key.value(0) : nuovo);
    }
    const bool sposta = !m_codiceSalvato.isNull() && !nuovo.isNull() &&
                        m_codiceSalvato.toLongLong() != nuovo.toLongLong() && !dipendenti().Vuoto();
    if (sposta) {
        // The save's status change forgets the member: the moves get a copy.
        const QVariant vecchio = m_codiceSalvato;
        dipendenti().Salva(vecchio, nuovo, [this] { SalvaRecord(); });
    } else {
        SalvaRecord();
    }
    if (!key.isEmpty())
        locateKey(key);
    SettaggioInterfaccia(false);
    DopoMemorizzazione();
    return true;
}

void TRecordEditorForm::SalvaRecord()
{
    FTabForm->ChiudiTransEAggiorna(MainQuery, FBookmark, FBookmarkValido, ButtonAggiorna);
}

void TRecordEditorForm::ButtonMemorizzaClick()
{
    if (!Editing()) {
        Messages::information(QStringLiteral("Non ci sono modifiche da salvare"));
        return;
    }
    Memorizzazione();
}

void TRecordEditorForm::Annullamento()
{
    FTabForm->AggiornaTabella(MainQuery, FBookmark, FBookmarkValido);
    SettaggioInterfaccia(false);
}

void TRecordEditorForm::ButtonAnnullaClick()
{
    if (Editing()) {
        if (Messages::confirm(QStringLiteral("Conferma l'annullamento delle modifiche apportate?")))
            Annullamento();
        return;
    }
    Messages::show(TMsgDlgType::Confirmation, QStringLiteral("Non ci sono modifiche da annullare"),
                   TMsgDlgButtons::Ok);
}

void TRecordEditorForm::ButtonAggiornaClick()
{
    if (!Editing()) {
        FBookmark = MainQuery->GetBookmark();
        FBookmarkValido = true;
        FTabForm->AggiornaTabella(MainQuery, FBookmark, true);
        return;
    }
    if (Messages::confirm(QStringLiteral(
            "Attenzione: sono state fatte delle modifiche che non sono state ancora salvate. "
            "Prima di aggiornare la griglia si desidera salvare gli aggiornamenti?")))
        Memorizzazione();
    else
        Annullamento();
}

// ---- Elimina -----------------------------------------------------------------

void TRecordEditorForm::ButtonEliminaClick()
{
    if (!ControlloDipendenti())
        return;
    TBookmark local = MainQuery->GetBookmark();
    const QVariantList key = MainQuery->IsEmpty() ? QVariantList() : currentKey();
    FCodice = textOf(key.value(0));
    FTabForm->AggiornaTabella(MainQuery, local, FBookmarkValido);
    if (MainQuery->IsEmpty()) {
        Messages::information(kTabellaVuota);
        return;
    }
    if (key.isEmpty() || !locateKey(key)) {
        Messages::warning(QStringLiteral("Il record selezionato non è stato trovato"));
        return;
    }
    if (!ControlloRigaTrovata())
        return;
    if (!Messages::confirm(QStringLiteral("Confermare la cancellazione del record?")))
        return;
    // Set while the shared transaction holds a delete not yet committed.
    bool inSospeso = false;
    try {
        MainQuery->Delete();
        inSospeso = true;
        EliminaCollegati();
        FTabForm->ChiudiTransazione(MainQuery, FBookmark, FBookmarkValido, ButtonAggiorna);
        inSospeso = false;
        DopoEliminazione();
        FTabForm->AggiornaTabella(MainQuery, local, FBookmarkValido);
    } catch (const std::exception &e) {
        Messages::error(DbErrorText::under(
            QStringLiteral("Errore interno: impossibile cancellare il record"), e));
        // A commit that failed has closed the query, and a half-done delete
        // must not wait in the shared transaction for the next save: show
        // the rows as they stand (the refresh rolls back).
        if (inSospeso || !MainQuery->Active())
            FTabForm->AggiornaTabella(MainQuery, local, true);
    }
}

// ---- Azzera --------------------------------------------------------------------

bool TRecordEditorForm::AzzeraRighe(const QString &confirmation, const QStringList &sql,
                                    const QVariantMap &params)
{
    return AzzeraRigheCollegate(confirmation, QList<QStringList>{sql}, params);
}

bool TRecordEditorForm::AzzeraRigheCollegate(const QString &confirmation,
                                             const QList<QStringList> &statements,
                                             const QVariantMap &params)
{
    if (MainQuery->IsEmpty()) {
        Messages::information(QStringLiteral("La tebella è vuota"));
        return false;
    }
    if (!Messages::confirm(confirmation))
        return false;
    TBookmark segno = MainQuery->GetBookmark();
    try {
        for (const QStringList &sql : statements) {
            QueryAux->Close();
            QueryAux->SQL = sql;
            for (auto it = params.cbegin(); it != params.cend(); ++it)
                if (TIBValue *p = QueryAux->Params().FindParam(it.key()))
                    p->setValue(it.value());
            QueryAux->ExecQuery();
            QueryAux->Close();
        }
        // A full commit: the rows are gone for everybody.
        FTabForm->IBTransaction1->Commit();
    } catch (const std::exception &e) {
        Messages::error(DbErrorText::under(
            QStringLiteral("Errore interno di DELETE: impossibile azzerare i dettagli"), e, false));
        // An earlier statement's rows must not wait in the shared
        // transaction for the next save: the refresh rolls back and shows
        // the rows as they stand.
        FTabForm->AggiornaTabella(MainQuery, segno, false);
        return false;
    }
    // Then the status button's refresh.
    FBookmark = segno;
    FBookmarkValido = true;
    FTabForm->AggiornaTabella(MainQuery, FBookmark, true);
    return true;
}

// ---- Writing a field -------------------------------------------------------------

void TRecordEditorForm::ScriviCampo(const QString &field, const QVariant &value)
{
    if (MainQuery->State() == dsBrowse)
        MainQuery->Edit();
    MainQuery->FieldByName(field)->setValue(value);
}

// ---- The code change -------------------------------------------------------------

void TRecordEditorForm::ButtonCodiceClick()
{
    if (m_table.codeField.isEmpty() || !MainQuery->Active() || MainQuery->IsEmpty())
        return;
    TField *keyField = MainQuery->FieldByName(m_table.codeField);
    TKivIn1Form dialog(this);
    dialog.setFont(QFont(QStringLiteral("Tahoma")));
    dialog.Edit1->setText(keyField->AsString());
    dialog.Label1->setText(PromptNuovoCodice());
    Modal::exec(&dialog);
    if (dialog.Esito == 1) {
        const QString typed = dialog.Edit1->text();
        const auto code = EditorSQL::parseCode(typed, keyField->DataType());
        if (typed.isEmpty()) {
            Messages::warning(QStringLiteral("Si prega di inserire un valore"));
        } else if (!code) {
            // Only a number the key column can hold reaches the database.
            Messages::error(QStringLiteral("Il codice deve essere un numero intero compreso tra "
                                           "%1 e %2")
                                .arg(EditorSQL::minCode(keyField->DataType()))
                                .arg(EditorSQL::maxCodeValue(keyField->DataType())));
        } else {
            QVariantMap params;
            for (const QString &k : m_table.keyFields)
                params.insert(k, k == m_table.codeField ? QVariant(*code)
                                                        : MainQuery->FieldByName(k)->Value());
            if (rowExists(EditorSQL::keyExists(m_table.table, m_table.keyFields), params) ||
                !dipendenti().InUso(*code).isEmpty()) {
                Messages::warning(kCodiceInUso);
            } else {
                // The stored code, whose dependants the save moves.
                if (MainQuery->State() != dsInsert && m_codiceSalvato.isNull())
                    m_codiceSalvato = keyField->Value();
                ScriviCampo(m_table.codeField, *code);
            }
        }
    }
    if (QWidget *edit = EditChiave())
        edit->setFocus();
}
