#include "dettmenu.h"

#include "ibsql.h"

namespace DettMenu {

const std::array<TColonna, NumeroColonne> &Colonne()
{
    static const std::array<TColonna, NumeroColonne> colonne = {{
        {"PROGRAMMA", TTipo::Intero, 0},
        {"MENU", TTipo::Intero, 0},
        {"MENUPREC", TTipo::Intero, 0},
        {"LIVELLOMENU", TTipo::Intero, 0},
        {"DESCRIZIONE", TTipo::Testo, 64},
        {"DLL", TTipo::Testo, 20},
        {"FUNZIONE", TTipo::Testo, 30},
        {"NOTE", TTipo::Memo, 0},
        {"LIVELLO2VERSIONE", TTipo::Intero, 0},
        {"PARAMETRI", TTipo::Testo, 256},
        {"VISIBILE", TTipo::Intero, 0},
        {"VOCERAPIDA", TTipo::Intero, 0},
        {"PARAMETRIBLOB", TTipo::Memo, 0},
    }};
    return colonne;
}

const QStringList &Nomi()
{
    static const QStringList nomi = [] {
        QStringList n;
        for (const TColonna &c : Colonne())
            n << QLatin1String(c.Nome);
        return n;
    }();
    return nomi;
}

const QStringList &NomiVoce()
{
    static const QStringList nomi = Nomi().mid(1);
    return nomi;
}

QStringList Inserimento()
{
    QStringList valori;
    for (const QString &c : Nomi())
        valori << QLatin1Char(':') + c;
    return {QStringLiteral("INSERT INTO DETTMENU(") + Nomi().join(QLatin1Char(',')) +
                QLatin1Char(')'),
            QStringLiteral("VALUES(") + valori.join(QLatin1Char(',')) + QLatin1Char(')')};
}

QString Descrizione(TIBSQL &sql, const QVariant &programma, const QVariant &menu)
{
    static const QStringList testo = {QStringLiteral("SELECT DESCRIZIONE FROM DETTMENU WHERE"),
                                      QStringLiteral("(PROGRAMMA=:PROGRAMMA)AND"),
                                      QStringLiteral("(MENU=:MENU)")};
    sql.Close();
    if (sql.SQL != testo)
        sql.SQL = testo;
    sql.ParamByName(QStringLiteral("PROGRAMMA")).setValue(programma);
    sql.ParamByName(QStringLiteral("MENU")).setValue(menu);
    sql.ExecQuery();
    const QString descrizione = sql.Eof() ? QString() : sql.Fields(0).AsString();
    sql.Close();
    return descrizione;
}

} // namespace DettMenu
