#include "creatabella.h"

#include "ibdatabase.h"
#include "ibsql.h"

#include <cstdlib>

namespace {

// RDB$RELATION_NAME and its kin.
constexpr int kLunghezzaNomiCatalogo = 31;

// The most digits the storage of a NUMERIC or DECIMAL holds, for a column
// the catalogue gives no precision.
int precisioneMassima(int tipo)
{
    switch (tipo) {
    case 7:
        return 4;
    case 8:
        return 9;
    default:
        return 18;
    }
}

int intero(TIBSQL &q, const char *campo)
{
    const TSQLField &f = q.FieldByName(QString::fromLatin1(campo));
    return f.IsNull() ? 0 : f.AsInteger();
}

} // namespace

QString TipoColonna(const TColonnaCatalogo &c)
{
    const auto conLunghezza = [](const char *tipo, int n) {
        return QString::fromLatin1(tipo) + QLatin1Char('(') + QString::number(n) + QLatin1Char(')');
    };
    const int caratteri = c.LunghezzaCaratteri > 0 ? c.LunghezzaCaratteri : c.Lunghezza;
    switch (c.Tipo) {
    case 7:
    case 8:
    case 16:
        if (c.SottoTipo == 1 || c.SottoTipo == 2) {
            const int precisione = c.Precisione > 0 ? c.Precisione : precisioneMassima(c.Tipo);
            return QString::fromLatin1(c.SottoTipo == 1 ? "NUMERIC(" : "DECIMAL(") +
                   QString::number(precisione) + QLatin1Char(',') +
                   QString::number(std::abs(c.Scala)) + QLatin1Char(')');
        }
        return QString::fromLatin1(c.Tipo == 7 ? "SMALLINT" : c.Tipo == 8 ? "INTEGER" : "BIGINT");
    case 37:
        return conLunghezza("VARCHAR", caratteri);
    case 14:
        return conLunghezza("CHAR", caratteri);
    case 261:
        return c.SottoTipo == 1 ? QStringLiteral("BLOB sub_type text") : QStringLiteral("BLOB");
    case 12:
        return QStringLiteral("DATE");
    case 13:
        return QStringLiteral("TIME");
    case 35:
        return QStringLiteral("TIMESTAMP");
    case 10:
        return QStringLiteral("FLOAT");
    case 27:
        return QStringLiteral("DOUBLE PRECISION");
    case 23:
        return QStringLiteral("BOOLEAN");
    default:
        return conLunghezza("VARCHAR", c.Lunghezza);
    }
}

void ProponiCreaTabella(TIBDatabase *database, const QString &tabella, QStringList &righe)
{
    righe.append(QStringLiteral("CREATE TABLE ") + tabella + QLatin1Char('('));
    // Blanks at the end never count in the catalogue's comparison; a longer
    // name names no table (bound, it would not even fit the parameter).
    QString nome = tabella;
    while (nome.endsWith(QLatin1Char(' ')))
        nome.chop(1);
    if (nome.size() > kLunghezzaNomiCatalogo) {
        righe.append(QStringLiteral(")"));
        return;
    }

    TIBSQL q;
    q.setDatabase(database);
    // Raw values: the statement's own text for a type is wrong for many
    // common columns. A computed column is no stored column.
    q.SQL = QStringList{
        QStringLiteral("SELECT"),
        QStringLiteral("  TRIM(A.RDB$FIELD_NAME) AS NOME,"),
        QStringLiteral("  B.RDB$FIELD_TYPE AS TIPO,"),
        QStringLiteral("  B.RDB$FIELD_SUB_TYPE AS SOTTOTIPO,"),
        QStringLiteral("  B.RDB$FIELD_LENGTH AS LUNGHEZZA,"),
        QStringLiteral("  B.RDB$CHARACTER_LENGTH AS CARATTERI,"),
        QStringLiteral("  B.RDB$FIELD_PRECISION AS PRECISIONE,"),
        QStringLiteral("  B.RDB$FIELD_SCALE AS SCALA,"),
        QStringLiteral("  COALESCE(A.RDB$NULL_FLAG, B.RDB$NULL_FLAG, 0) AS NOT_NULL"),
        QStringLiteral("FROM"),
        QStringLiteral("  RDB$RELATION_FIELDS A"),
        QStringLiteral("  LEFT JOIN RDB$FIELDS B ON"),
        QStringLiteral("  A.RDB$FIELD_SOURCE=B.RDB$FIELD_NAME"),
        QStringLiteral("WHERE"),
        QStringLiteral("  A.RDB$RELATION_NAME=:TABELLA"),
        QStringLiteral("  AND"),
        QStringLiteral("  A.RDB$FIELD_NAME NOT CONTAINING '$'"),
        QStringLiteral("  AND"),
        QStringLiteral("  B.RDB$COMPUTED_BLR IS NULL"),
        QStringLiteral("ORDER BY"),
        QStringLiteral("  A.RDB$FIELD_POSITION"),
    };
    q.ParamByName(QStringLiteral("TABELLA")).setAsString(nome);
    bool colonne = false;
    for (q.ExecQuery(); !q.Eof(); q.Next()) {
        if (colonne)
            righe.last().append(QLatin1Char(','));
        colonne = true;
        TColonnaCatalogo c;
        c.Tipo = intero(q, "TIPO");
        c.SottoTipo = intero(q, "SOTTOTIPO");
        c.Lunghezza = intero(q, "LUNGHEZZA");
        c.LunghezzaCaratteri = intero(q, "CARATTERI");
        c.Precisione = intero(q, "PRECISIONE");
        c.Scala = intero(q, "SCALA");
        QString riga =
            q.FieldByName(QStringLiteral("NOME")).AsString() + QLatin1Char(' ') + TipoColonna(c);
        if (intero(q, "NOT_NULL") == 1)
            riga += QStringLiteral(" NOT NULL");
        righe.append(riga);
    }
    q.Close();

    q.SQL = QStringList{
        QStringLiteral("SELECT"),
        QStringLiteral("  TRIM(A.RDB$CONSTRAINT_NAME) AS NOME,"),
        QStringLiteral("  TRIM(A.RDB$INDEX_NAME) AS INDICE"),
        QStringLiteral("FROM"),
        QStringLiteral("  RDB$RELATION_CONSTRAINTS A"),
        QStringLiteral("WHERE"),
        QStringLiteral("  A.RDB$RELATION_NAME=:TABELLA"),
        QStringLiteral("  AND"),
        QStringLiteral("  A.RDB$CONSTRAINT_TYPE='PRIMARY KEY'"),
    };
    q.ParamByName(QStringLiteral("TABELLA")).setAsString(nome);
    q.ExecQuery();
    const bool chiave = !q.Eof();
    const QString vincolo = chiave ? q.FieldByName(QStringLiteral("NOME")).AsString() : QString();
    const QString indice = chiave ? q.FieldByName(QStringLiteral("INDICE")).AsString() : QString();
    q.Close();
    if (chiave) {
        q.SQL = QStringList{
            QStringLiteral("SELECT"),   QStringLiteral("  TRIM(A.RDB$FIELD_NAME) AS NOME"),
            QStringLiteral("FROM"),     QStringLiteral("  RDB$INDEX_SEGMENTS A"),
            QStringLiteral("WHERE"),    QStringLiteral("  A.RDB$INDEX_NAME=:INDICE"),
            QStringLiteral("ORDER BY"), QStringLiteral("  A.RDB$FIELD_POSITION"),
        };
        q.ParamByName(QStringLiteral("INDICE")).setAsString(indice);
        QStringList nomi;
        for (q.ExecQuery(); !q.Eof(); q.Next())
            nomi.append(q.FieldByName(QStringLiteral("NOME")).AsString());
        q.Close();
        if (colonne)
            righe.last().append(QLatin1Char(','));
        // A system-named key keeps the system's naming on the new table.
        righe.append((vincolo == indice ? QStringLiteral("CONSTRAINT ") + indice + QLatin1Char(' ')
                                        : QString()) +
                     QStringLiteral("PRIMARY KEY(") + nomi.join(QLatin1Char(',')) +
                     QLatin1Char(')'));
    }
    righe.append(QStringLiteral(")"));
}
