#include "duplicazione.h"

#include "ibquery.h"
#include "ibsql.h"

namespace Duplicazione {

namespace {

const QString kSavepoint = QStringLiteral("SAVEPOINT DUPLICAZIONE_PROGRAMMA");

bool empty(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return true;
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray().isEmpty();
    return value.typeId() == QMetaType::QString && value.toString().isEmpty();
}

void run(TIBSQL &q, const QStringList &sql, const QVariantMap &params = {})
{
    q.Close();
    q.SQL = sql;
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        q.ParamByName(it.key()).setValue(it.value());
    q.ExecQuery();
    q.Close();
}

QStringList insertInto(const QString &table, const QStringList &columns)
{
    QStringList values;
    for (const QString &c : columns)
        values << QLatin1Char(':') + c;
    return {QStringLiteral("INSERT INTO ") + table + QLatin1Char('(') +
                columns.join(QLatin1Char(',')) + QLatin1Char(')'),
            QStringLiteral("VALUES(") + values.join(QLatin1Char(',')) + QLatin1Char(')')};
}

} // namespace

QVariant ConAccento(const QVariant &value)
{
    if (empty(value))
        return QVariant();
    if (value.typeId() == QMetaType::QByteArray)
        return QByteArray(value.toByteArray()).replace('\'', '\xB4');
    if (value.typeId() == QMetaType::QString)
        return QString(value.toString()).replace(QLatin1Char('\''), QChar(0x00B4));
    return value;
}

QVariant OVuoto(const QVariant &value)
{
    return empty(value) ? QVariant() : value;
}

const QStringList &ColonneVoce()
{
    static const QStringList columns = {
        QStringLiteral("PROGRAMMA"),        QStringLiteral("MENU"),
        QStringLiteral("MENUPREC"),         QStringLiteral("LIVELLOMENU"),
        QStringLiteral("DESCRIZIONE"),      QStringLiteral("DLL"),
        QStringLiteral("FUNZIONE"),         QStringLiteral("NOTE"),
        QStringLiteral("LIVELLO2VERSIONE"), QStringLiteral("PARAMETRI"),
        QStringLiteral("VISIBILE"),         QStringLiteral("VOCERAPIDA"),
        QStringLiteral("PARAMETRIBLOB")};
    return columns;
}

QVariantMap CopiaVoce(const QVariantMap &sorgente, const QVariant &nuovoProgramma)
{
    static const QStringList accented = {
        QStringLiteral("DESCRIZIONE"),      QStringLiteral("DLL"),
        QStringLiteral("FUNZIONE"),         QStringLiteral("NOTE"),
        QStringLiteral("LIVELLO2VERSIONE"), QStringLiteral("PARAMETRI")};
    QVariantMap copy;
    for (const QString &c : ColonneVoce()) {
        const QVariant v = sorgente.value(c);
        copy.insert(c, accented.contains(c) ? ConAccento(v) : OVuoto(v));
    }
    copy.insert(QStringLiteral("PROGRAMMA"), nuovoProgramma);
    copy.insert(QStringLiteral("MENU"), sorgente.value(QStringLiteral("MENU")));
    return copy;
}

Esito Duplica(TIBSQL &queryAux, TIBQuery &queryAux2, const QVariant &sorgente,
              const TProgrammaCopia &copia, DbErrorText::Failure *errore)
{
    run(queryAux, {kSavepoint});
    auto undo = [&] {
        run(queryAux, {QStringLiteral("ROLLBACK TO ") + kSavepoint});
        run(queryAux, {QStringLiteral("RELEASE ") + kSavepoint});
    };
    try {
        run(queryAux,
            insertInto(QStringLiteral("PROGRAMMI"),
                       {QStringLiteral("CODICE"), QStringLiteral("NOME"),
                        QStringLiteral("DESCRIZIONE"), QStringLiteral("ICONA")}),
            {{QStringLiteral("CODICE"), copia.Codice},
             {QStringLiteral("NOME"), ConAccento(copia.Nome)},
             {QStringLiteral("DESCRIZIONE"), ConAccento(copia.Descrizione)},
             {QStringLiteral("ICONA"), ConAccento(copia.Icona)}});
    } catch (const std::exception &e) {
        if (errore)
            *errore = DbErrorText::failureOf(e);
        undo();
        return Esito::ProgrammaNonInserito;
    }
    try {
        queryAux2.Close();
        queryAux2.SQL =
            QStringList{QStringLiteral("SELECT * FROM DETTMENU WHERE PROGRAMMA=:PROGRAMMA")};
        queryAux2.ParamByName(QStringLiteral("PROGRAMMA")).setValue(sorgente);
        queryAux2.Open();
        const QStringList insert = insertInto(QStringLiteral("DETTMENU"), ColonneVoce());
        for (queryAux2.First(); !queryAux2.Eof(); queryAux2.Next()) {
            QVariantMap row;
            for (const QString &c : ColonneVoce())
                row.insert(c, queryAux2.FieldByName(c)->Value());
            run(queryAux, insert, CopiaVoce(row, copia.Codice));
        }
        queryAux2.Close();
    } catch (const std::exception &e) {
        if (errore)
            *errore = DbErrorText::failureOf(e);
        queryAux2.Close();
        undo();
        return Esito::VociNonInserite;
    }
    run(queryAux, {QStringLiteral("RELEASE ") + kSavepoint});
    return Esito::Riuscita;
}

} // namespace Duplicazione
