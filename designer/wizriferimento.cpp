#include "wizcsdfinestra.h"

#include "databaselocation.h"
#include "guard.h"
#include "ibdatabase.h"
#include "ibsql.h"

// The reference database: its catalogue gives the generators, the tables and
// a table's columns.

namespace {

// RDB$RELATION_NAME and its kin.
constexpr int kLunghezzaNomiCatalogo = 31;

QString cartellaDi(const QString &percorso)
{
    const int taglio =
        qMax(percorso.lastIndexOf(QLatin1Char('\\')), percorso.lastIndexOf(QLatin1Char('/')));
    return percorso.left(taglio + 1);
}

} // namespace

QStringList TWizCSDFinestra::interroga(const QStringList &sql, const QString *tabella)
{
    TIBSQL query;
    query.setDatabase(DatabaseRif);
    query.setTransaction(TransactionRif);
    query.SQL = sql;
    if (tabella)
        query.ParamByName(QStringLiteral("TABELLA")).setAsString(*tabella);
    QStringList nomi;
    for (query.ExecQuery(); !query.Eof(); query.Next())
        nomi.append(query.FieldByName(QStringLiteral("NOME")).AsString());
    query.Close();
    return nomi;
}

bool TWizCSDFinestra::ApriDatabaseRif(const QString &percorsoDatabase)
{
    const QString cartella = cartellaDi(percorsoDatabase);
    // A reference database is only read: a file that does not open is not
    // replaced by a new empty one.
    if (!ApriDatabase(DatabaseRif, cartella, percorsoDatabase.mid(cartella.size()), QString(),
                      QString(), m_owner, nullptr, false))
        return false;
    TransactionRif->ensureStarted();

    m_generatoreLista = true;
    m_vociGeneratori =
        QStringList{QString()} + interroga({
                                     QStringLiteral("SELECT"),
                                     QStringLiteral("  TRIM(RDB$GENERATOR_NAME) AS NOME"),
                                     QStringLiteral("FROM"),
                                     QStringLiteral("  RDB$GENERATORS"),
                                     QStringLiteral("WHERE"),
                                     QStringLiteral("  RDB$GENERATOR_NAME NOT CONTAINING '$'"),
                                     QStringLiteral("ORDER BY"),
                                     QStringLiteral("  RDB$GENERATOR_NAME"),
                                 });
    if (!m_vociGeneratori.contains(m_generatore))
        m_generatore.clear();
    m_decodificaLista = true;
    m_tabelle = interroga({
        QStringLiteral("SELECT"),
        QStringLiteral("  TRIM(RDB$RELATION_NAME) AS NOME"),
        QStringLiteral("FROM"),
        QStringLiteral("  RDB$RELATIONS"),
        QStringLiteral("WHERE"),
        QStringLiteral("  RDB$RELATION_NAME NOT CONTAINING '$'"),
        QStringLiteral("ORDER BY"),
        QStringLiteral("  RDB$RELATION_NAME"),
    });
    ricaricaColonneDecodifica();
    changed();
    return true;
}

void TWizCSDFinestra::CaricaCampiTabella(const QString &nomeTabella, QStringList &lista)
{
    if (!DatabaseRif->Connected())
        return;
    // The name is bound: a typed name with an apostrophe is just a name. A
    // name longer than the catalogue's names names no table (bound, it
    // would not even fit the parameter); blanks at its end never count in
    // the catalogue's comparison.
    QString nome = nomeTabella;
    while (nome.endsWith(QLatin1Char(' ')))
        nome.chop(1);
    if (nome.size() > kLunghezzaNomiCatalogo)
        return;
    lista += interroga(
        {
            QStringLiteral("SELECT"),
            QStringLiteral("  TRIM(RDB$FIELD_NAME) AS NOME"),
            QStringLiteral("FROM"),
            QStringLiteral("  RDB$RELATION_FIELDS"),
            QStringLiteral("WHERE"),
            QStringLiteral("  RDB$RELATION_NAME=:TABELLA"),
            QStringLiteral("  AND"),
            QStringLiteral("  RDB$FIELD_NAME NOT CONTAINING '$'"),
            QStringLiteral("ORDER BY"),
            QStringLiteral("  RDB$FIELD_POSITION"),
        },
        &nome);
}

void TWizCSDFinestra::CaricaTabella(const QString &percorsoDatabase, const QString &nomeTabella)
{
    if (!ApriDatabaseRif(percorsoDatabase))
        return;
    QStringList colonne;
    CaricaCampiTabella(nomeTabella, colonne);
    for (const QString &colonna : colonne)
        AggiungiCampo(TabCampi->Count() + 1, colonna);
    TabCampi->SetCorrente(0);
    SetNomeTabella(nomeTabella);
    SetTitolo(nomeTabella);
}

void TWizCSDFinestra::ricaricaColonneDecodifica()
{
    m_colonneDecodifica.clear();
    const TCampoRiga *riga = TabCampi->RigaCorrente();
    if (riga && !riga->DecodificaTabella.isEmpty() && DatabaseRif->Connected()) {
        const QString tabella = riga->DecodificaTabella;
        Guard::run([&] { CaricaCampiTabella(tabella, m_colonneDecodifica); });
    }
    changed();
}
