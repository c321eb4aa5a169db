#include "editprotocol.h"

#include "busycursor.h"
#include "dataset.h"
#include "ibquery.h"
#include "statusbutton.h"

#include <QAbstractButton>

namespace {

TIBTransaction *transactionOf(TDataSet *dataSet)
{
    auto *query = qobject_cast<TIBQuery *>(dataSet);
    return query ? query->Transaction() : nullptr;
}

} // namespace

namespace EditProtocol {

void AggiornaTabella(TDataSet *dataSet, const TBookmark &bookmark, bool usaBookmark)
{
    // Reopening fetches every row.
    const BusyCursor busy;
    dataSet->Close();
    if (TIBTransaction *tr = transactionOf(dataSet)) {
        // The transaction is shared: every open editor's uncommitted work goes.
        if (tr->InTransaction())
            tr->Rollback();
        tr->StartTransaction();
    }
    dataSet->Open();
    // A row that no longer exists leaves the dataset on its first row.
    if (usaBookmark)
        dataSet->GotoBookmark(bookmark);
}

void ChiudiTransazione(TDataSet *dataSet, TBookmark &bookmark, bool &bookmarkValido,
                       QAbstractButton *statusButton, const QString &fileVerde)
{
    // Posting may wait for a row another program holds.
    const BusyCursor busy;
    TIBTransaction *tr = transactionOf(dataSet);
    if (dataSet->Active()) {
        dataSet->MoveBy(0); // posts a pending insert or edit
        bookmark = dataSet->GetBookmark();
        if (tr && tr->InTransaction())
            tr->Commit();
        bookmarkValido = true;
    } else {
        if (tr && tr->InTransaction())
            tr->Commit();
        bookmarkValido = false;
    }
    setStatusGlyph(statusButton, StatusSaved, fileVerde);
}

void ChiudiTransEAggiorna(TDataSet *dataSet, TBookmark &bookmark, bool &bookmarkValido,
                          QAbstractButton *statusButton, const QString &fileVerde)
{
    ChiudiTransazione(dataSet, bookmark, bookmarkValido, statusButton, fileVerde);
    AggiornaTabella(dataSet, bookmark, bookmarkValido);
}

} // namespace EditProtocol
