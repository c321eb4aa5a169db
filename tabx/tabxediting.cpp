// The table-services object's editing operations: the protocol, the
// standard questions, the delete with its recheck, emptying a table and the
// row lock before an edit.

#include "tabxform.h"

#include "dataerrors.h"
#include "editprotocol.h"
#include "iberror.h"
#include "ibsql.h"
#include "messages.h"
#include "statusbutton.h"
#include "tabxscratch.h"
#include "tag.h"

#include <QAbstractButton>

namespace {

const QString kGiaCancellato = QStringLiteral(
    "Questo record è già stato cancellato da un altro utente in un'altra sessione di lavoro");
const QString kAltriUtenti = QStringLiteral(
    "Attenzione: altri utenti stanno lavorando su questo record. Provare ad aggiornare la "
    "griglia. Nel caso in cui questo messaggio riapparisse, provare ad editare il record in un "
    "secondo momento.");

// Ends (rolling back) and restarts the default transaction of the query's
// database: what the questions' "discard" answers do.
void riavviaTransazione(TIBQuery *query, bool soloSeAttiva)
{
    TIBDatabase *db = query->Database();
    TIBTransaction *tr = db ? db->DefaultTransaction.data() : nullptr;
    if (!tr || (soloSeAttiva && !tr->InTransaction()))
        return;
    if (tr->InTransaction())
        tr->Rollback();
    tr->StartTransaction();
}

} // namespace

namespace TabXScratch {

TIBQuery *queryOf(TDataSet *dataSet, const char *operazione)
{
    auto *query = qobject_cast<TIBQuery *>(dataSet);
    if (!query || !query->Database())
        throw EDatabaseError(QStringLiteral("%1: il dataset non è una query su un database")
                                 .arg(QLatin1String(operazione)));
    return query;
}

TField *keyOf(TDataSet *dataSet)
{
    if (dataSet->FieldCount() == 0)
        throw EDatabaseError(QStringLiteral("Il dataset non ha campi: manca la chiave"));
    return dataSet->Fields(0);
}

std::unique_ptr<TIBSQL> statement(TIBQuery *query, const QStringList &sql)
{
    auto s = std::make_unique<TIBSQL>();
    s->setDatabase(query->Database());
    s->SQL = sql;
    return s;
}

} // namespace TabXScratch

using TabXScratch::keyOf;
using TabXScratch::queryOf;
using TabXScratch::statement;

void TTabXForm::AggiornaTabella(TDataSet *DataSet, const TBookmark &Bookmark, bool UsaBookmark)
{
    EditProtocol::AggiornaTabella(DataSet, Bookmark, UsaBookmark);
}

void TTabXForm::ChiudiTransazione(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                                  QAbstractButton *StatusButton)
{
    EditProtocol::ChiudiTransazione(DataSet, Bookmark, BookmarkValido, StatusButton, FileVerde);
}

void TTabXForm::ChiudiTransEAggiorna(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                                     QAbstractButton *StatusButton)
{
    EditProtocol::ChiudiTransEAggiorna(DataSet, Bookmark, BookmarkValido, StatusButton, FileVerde);
}

void TTabXForm::Annulla(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                        QAbstractButton *StatusButton)
{
    if (Tag(StatusButton) != StatusUnsaved ||
        !Messages::confirm(QStringLiteral("Conferma l'annullamento delle modifiche apportate?")))
        return;
    setStatusGlyph(StatusButton, StatusSaved, FileVerde);
    AggiornaTabella(DataSet, Bookmark, BookmarkValido);
}

void TTabXForm::Chiudi(TDataSet *DataSet, TBookmark &, bool &, QAbstractButton *StatusButton)
{
    if (Tag(StatusButton) != StatusUnsaved)
        return;
    TIBQuery *query = queryOf(DataSet, "Chiudi");
    // Yes leaves the changes in the transaction: the caller saves them.
    if (!Messages::confirm(QStringLiteral("Salvare le modifiche apportate?")))
        riavviaTransazione(query, true);
}

void TTabXForm::AggiornamentoDaPulsante(TDataSet *DataSet, TBookmark &Bookmark,
                                        bool &BookmarkValido, QAbstractButton *StatusButton)
{
    if (Tag(StatusButton) == StatusUnsaved) {
        TIBQuery *query = queryOf(DataSet, "AggiornamentoDaPulsante");
        if (Messages::confirm(QStringLiteral(
                "Attenzione: sono state fatte delle modifiche che non sono state ancora salvate. "
                "Prima di aggiornare la griglia si desidera salvare gli aggiornamenti?"))) {
            DataSet->MoveBy(0); // posts
            setStatusGlyph(StatusButton, StatusSaved, FileVerde);
        } else {
            riavviaTransazione(query, false);
        }
    }
    // Refreshing always commits and reopens.
    ChiudiTransEAggiorna(DataSet, Bookmark, BookmarkValido, StatusButton);
}

bool TTabXForm::Elimina(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                        QAbstractButton *StatusButton)
{
    const TBookmark riga = DataSet->GetBookmark();
    const QVariant valore = DataSet->FieldCount() > 0 ? DataSet->Fields(0)->Value() : QVariant();

    // Reread first: another user may have deleted or changed the row.
    AggiornaTabella(DataSet, riga, BookmarkValido);
    if (DataSet->IsEmpty()) {
        Messages::information(QStringLiteral("La tabella è vuota"));
        return false;
    }
    if (!Messages::confirm(QStringLiteral("Conferma la cacellazione del record?")))
        return false;
    if (!DataSet->Locate(keyOf(DataSet)->FieldName(), valore)) {
        Messages::warning(kGiaCancellato);
        return false;
    }
    bool eliminato = false;
    try {
        DataSet->Delete();
        ChiudiTransazione(DataSet, Bookmark, BookmarkValido, StatusButton);
        eliminato = true;
        AggiornaTabella(DataSet, riga, true);
    } catch (const std::exception &) {
        Messages::warning(QStringLiteral(
            "Impossibile cancellare questo record, altri utenti stanno lavorando su questo "
            "record."));
        // A delete left pending would go with the caller's next save.
        AggiornaTabella(DataSet, riga, true);
    }
    return eliminato;
}

void TTabXForm::Azzera(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                       QAbstractButton *StatusButton, const QString &Tabella)
{
    TIBQuery *query = queryOf(DataSet, "Azzera");
    if (!Messages::confirm(QStringLiteral("Confermare l'azzeramento della tabella?")))
        return;
    try {
        AggiornaTabella(DataSet, Bookmark, BookmarkValido);
        statement(query, {QStringLiteral("DELETE FROM ") + Tabella})->ExecQuery();
        ChiudiTransEAggiorna(DataSet, Bookmark, BookmarkValido, StatusButton);
    } catch (const std::exception &) {
        Messages::plain(QStringLiteral("Impossibile azzerare la tabella!"));
        // Rows deleted before the failure would go with the caller's next save.
        AggiornaTabella(DataSet, Bookmark, BookmarkValido);
    }
}

void TTabXForm::EventoBeforeEditDataSet(TDataSet *DataSet, QAbstractButton *StatusButton,
                                        const QString &Tabella)
{
    TIBQuery *query = queryOf(DataSet, "EventoBeforeEditDataSet");
    TField *chiave = keyOf(DataSet);
    const QString nome = chiave->FieldName();
    // Rewriting the key with itself makes this transaction the row's holder
    // until it ends; nothing is committed here.
    auto blocco = statement(query, {QStringLiteral("UPDATE ") + Tabella,
                                    QStringLiteral("SET ") + nome + QStringLiteral("=:NUOVA"),
                                    QStringLiteral("WHERE ") + nome + QStringLiteral("=:CHIAVE")});
    try {
        blocco->ParamByName(QStringLiteral("NUOVA")).setValue(chiave->Value());
        blocco->ParamByName(QStringLiteral("CHIAVE")).setValue(chiave->Value());
        blocco->ExecQuery();
        if (blocco->RowsAffected() > 0) {
            setStatusGlyph(StatusButton, StatusUnsaved, FileRosso);
            return;
        }
        Messages::warning(kGiaCancellato);
    } catch (const EIBError &e) {
        if (e.isLockConflict())
            Messages::warning(kAltriUtenti);
        else
            Messages::error(e.message());
    } catch (const std::exception &e) {
        Messages::error(QString::fromUtf8(e.what()));
    }
    throw EAbort();
}
