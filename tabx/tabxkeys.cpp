// New keys for the suite's tables and the generators behind them.

#include "tabxform.h"

#include "field.h"
#include "ibsql.h"
#include "statusbutton.h"
#include "tabxscratch.h"

#include <QAbstractButton>

using TabXScratch::keyOf;
using TabXScratch::queryOf;
using TabXScratch::statement;

namespace {

QStringList prossimoValore(const QString &generatore)
{
    return {QStringLiteral("SELECT GEN_ID(") + generatore +
            QStringLiteral(",1) FROM RDB$DATABASE")};
}

qint64 primoIntero(TIBSQL &s)
{
    s.ExecQuery();
    return s.Eof() || s.Fields(0).IsNull() ? 0 : s.Fields(0).AsInt64();
}

// Appends a row keyed `chiave`, then saves it. A number another user took
// meanwhile is refused by the table's primary key: the row is dropped and
// rolled back, and the database's error reaches the caller. The caller's own
// changes went with the save before the number was read.
void aggiungiESalva(TTabXForm &x, TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                    QAbstractButton *StatusButton, qint64 chiave)
{
    try {
        DataSet->Append();
        keyOf(DataSet)->setAsLargeInt(chiave);
        x.ChiudiTransEAggiorna(DataSet, Bookmark, BookmarkValido, StatusButton);
    } catch (...) {
        if (DataSet->State() == dsInsert)
            DataSet->Cancel();
        x.AggiornaTabella(DataSet, Bookmark, BookmarkValido);
        throw;
    }
}

} // namespace

void TTabXForm::NuovoIntSuLast(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                               QAbstractButton *StatusButton)
{
    ChiudiTransEAggiorna(DataSet, Bookmark, BookmarkValido, StatusButton);
    DataSet->Last();
    const qint64 ultimo = DataSet->IsEmpty() ? 0 : keyOf(DataSet)->AsLargeInt();
    aggiungiESalva(*this, DataSet, Bookmark, BookmarkValido, StatusButton, ultimo + 1);
}

void TTabXForm::NuovoIntSuMax(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                              QAbstractButton *StatusButton, const QString &Tabella)
{
    TIBQuery *query = queryOf(DataSet, "NuovoIntSuMax");
    ChiudiTransEAggiorna(DataSet, Bookmark, BookmarkValido, StatusButton);
    auto massimo = statement(query, {QStringLiteral("SELECT MAX(") + keyOf(DataSet)->FieldName() +
                                     QStringLiteral(") FROM ") + Tabella});
    const qint64 valore = primoIntero(*massimo);
    massimo.reset();
    aggiungiESalva(*this, DataSet, Bookmark, BookmarkValido, StatusButton, valore + 1);
}

void TTabXForm::NuovoIntSuGeneratore(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                                     QAbstractButton *StatusButton, const QString &,
                                     const QString &Generatore)
{
    TIBQuery *query = queryOf(DataSet, "NuovoIntSuGeneratore");
    ChiudiTransEAggiorna(DataSet, Bookmark, BookmarkValido, StatusButton);
    const qint64 valore = primoIntero(*statement(query, prossimoValore(Generatore)));
    try {
        DataSet->Append();
        keyOf(DataSet)->setAsLargeInt(valore);
        DataSet->MoveBy(0); // posts; the caller saves
    } catch (...) {
        if (DataSet->State() == dsInsert)
            DataSet->Cancel();
        throw;
    }
    setStatusGlyph(StatusButton, StatusUnsaved, FileRosso);
}

void TTabXForm::NuovoIntSuGenSQL(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                                 QAbstractButton *StatusButton, const QString &Tabella,
                                 const QString &Generatore)
{
    TIBQuery *query = queryOf(DataSet, "NuovoIntSuGenSQL");
    BookmarkValido = false;
    ChiudiTransEAggiorna(DataSet, Bookmark, BookmarkValido, StatusButton);
    const QString nome = keyOf(DataSet)->FieldName();
    const qint64 valore = primoIntero(*statement(query, prossimoValore(Generatore)));
    // Firebird wants INTO; a caller may have written it with the table.
    const bool conInto = Tabella.trimmed().startsWith(QLatin1String("INTO "), Qt::CaseInsensitive);
    auto inserimento =
        statement(query, {(conInto ? QStringLiteral("INSERT ") : QStringLiteral("INSERT INTO ")) +
                              Tabella + QStringLiteral("(") + nome + QStringLiteral(")"),
                          QStringLiteral("VALUES (:CHIAVE)")});
    inserimento->ParamByName(QStringLiteral("CHIAVE")).setAsInt64(valore);
    inserimento->ExecQuery();
    inserimento.reset();
    BookmarkValido = false;
    ChiudiTransEAggiorna(DataSet, Bookmark, BookmarkValido, StatusButton);
    DataSet->First();
}

bool TTabXForm::CreaGeneratore(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                               QAbstractButton *StatusButton, const QString &Generatore)
{
    TIBQuery *query = queryOf(DataSet, "CreaGeneratore");
    try {
        statement(query, {QStringLiteral("CREATE GENERATOR ") + Generatore})->ExecQuery();
        ChiudiTransEAggiorna(DataSet, Bookmark, BookmarkValido, StatusButton);
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

bool TTabXForm::SetGeneratore(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                              QAbstractButton *StatusButton, const QString &Generatore,
                              qint32 Valore)
{
    TIBQuery *query = queryOf(DataSet, "SetGeneratore");
    bool riuscito = true;
    try {
        statement(query, {QStringLiteral("SET GENERATOR ") + Generatore + QStringLiteral(" TO ") +
                          QString::number(Valore)})
            ->ExecQuery();
    } catch (const std::exception &) {
        riuscito = false;
    }
    ChiudiTransEAggiorna(DataSet, Bookmark, BookmarkValido, StatusButton);
    return riuscito;
}

bool TTabXForm::CheckGeneratore(TDataSet *DataSet, const QString &Generatore)
{
    // A cast wider than the column: a longer name finds nothing instead of failing.
    auto s = statement(queryOf(DataSet, "CheckGeneratore"),
                       {QStringLiteral("SELECT RDB$GENERATOR_NAME"),
                        QStringLiteral("FROM RDB$GENERATORS"),
                        QStringLiteral("WHERE RDB$GENERATOR_NAME=CAST(:NOME AS VARCHAR(32765))")});
    s->ParamByName(QStringLiteral("NOME")).setAsString(Generatore);
    s->ExecQuery();
    return !s->Eof();
}

QString TTabXForm::ValoreGeneratore(const QString &Generatore)
{
    TIBSQL s;
    s.setDatabase(IBDatabase1);
    s.setTransaction(IBTransaction1);
    s.SQL = QStringList{QStringLiteral("SELECT"),
                        QStringLiteral("  GEN_ID(") + Generatore + QStringLiteral(",1) AS VALORE"),
                        QStringLiteral("FROM"), QStringLiteral("  RDB$DATABASE")};
    s.ExecQuery();
    return s.FieldByName(QStringLiteral("VALORE")).AsString();
}
