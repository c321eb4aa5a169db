#pragma once

#include <QString>

class QAbstractButton;
class TBookmark;
class TDataSet;

// The editing protocol every editor follows, whichever object offers it: the
// archive object and the table-services object each pass their own green
// picture. A query's own transaction is the one ended and restarted; any
// other dataset is only closed and reopened.
namespace EditProtocol {

// Refresh or cancel: close, roll back and restart the transaction (every
// open editor's uncommitted work on it goes), reopen, back to the remembered
// row; a row that no longer exists leaves the dataset on its first row.
void AggiornaTabella(TDataSet *dataSet, const TBookmark &bookmark, bool usaBookmark);

// Save: post what is pending, remember the row, commit, turn the status
// button green. A failed post or commit reaches the caller and the button
// keeps its state.
void ChiudiTransazione(TDataSet *dataSet, TBookmark &bookmark, bool &bookmarkValido,
                       QAbstractButton *statusButton, const QString &fileVerde);

// ChiudiTransazione, then AggiornaTabella with the row and flag it produced.
void ChiudiTransEAggiorna(TDataSet *dataSet, TBookmark &bookmark, bool &bookmarkValido,
                          QAbstractButton *statusButton, const QString &fileVerde);

} // namespace EditProtocol
