#include "vocimenu.h"

#include "editorsql.h"
#include "ibsql.h"

namespace VociMenu {

std::optional<int> Codice(const QString &text)
{
    const auto code = EditorSQL::parseCode(text, ftSmallint);
    if (!code)
        return std::nullopt;
    return int(*code);
}

QString Validazione(const QString &menu, const QString &menuPrec, const QString &descrizione)
{
    if (!menu.isEmpty() && !menuPrec.isEmpty()) {
        const auto m = Codice(menu), p = Codice(menuPrec);
        if (m && p ? *m == *p : menu == menuPrec)
            return QStringLiteral("Si prega di non usare come valore di menu precedente il codice "
                                  "del menu corrente");
    }
    if (descrizione.isEmpty())
        return QStringLiteral("Si prega di inserire una descrizione");
    return QString();
}

QString PadreDopoSpostamento(const QString &padre, const QString &codice)
{
    const auto p = Codice(padre), c = Codice(codice);
    if (p && c && *p >= *c)
        return QString::number(*p + 1);
    return padre;
}

int LivelloSotto(const QVariant &livelloPadre)
{
    if (livelloPadre.isNull() || livelloPadre.toString().isEmpty())
        return 1;
    return livelloPadre.toInt() + 1;
}

bool ConTraduzioni(TIBSQL *statement)
{
    statement->Close();
    statement->SQL = QStringList{
        QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME=:NOME")};
    statement->ParamByName(QStringLiteral("NOME")).setValue(QStringLiteral("LINGUEMENU"));
    statement->ExecQuery();
    const bool esiste = statement->Fields(0).AsInteger() > 0;
    statement->Close();
    return esiste;
}

} // namespace VociMenu

TSpostamentoVoci::TSpostamentoVoci(TIBSQL *statement)
    : m_sql(statement)
{
}

void TSpostamentoVoci::esegui(const QStringList &sql, int programma, int codice)
{
    m_sql->Close();
    m_sql->SQL = sql;
    m_sql->ParamByName(QStringLiteral("PROGRAMMA")).setValue(programma);
    m_sql->ParamByName(QStringLiteral("MENU")).setValue(codice);
    m_sql->ExecQuery();
    m_sql->Close();
}

bool TSpostamentoVoci::conTraduzioni()
{
    if (!m_traduzioni)
        m_traduzioni = VociMenu::ConTraduzioni(m_sql);
    return *m_traduzioni;
}

void TSpostamentoVoci::SpostaPadri(int programma, int codice)
{
    esegui({QStringLiteral("UPDATE DETTMENU SET MENUPREC=MENUPREC+1 WHERE"),
            QStringLiteral("(PROGRAMMA=:PROGRAMMA)AND"), QStringLiteral("(MENUPREC>=:MENU)")},
           programma, codice);
    if (conTraduzioni())
        esegui({QStringLiteral("UPDATE LINGUEMENU SET MENUPREC=MENUPREC+1 WHERE"),
                QStringLiteral("(PROGRAMMA=:PROGRAMMA)AND"), QStringLiteral("(MENUPREC>=:MENU)")},
               programma, codice);
}

void TSpostamentoVoci::SpostaVoci(int programma, int codice)
{
    // The key holds MENU: descending order keeps it unique after each row.
    const auto sposta = [&](const char *tabella) {
        esegui({QStringLiteral("UPDATE %1 SET MENU=MENU+1 WHERE").arg(QLatin1String(tabella)),
                QStringLiteral("(PROGRAMMA=:PROGRAMMA)AND(MENU>=:MENU)"),
                QStringLiteral("ORDER BY MENU DESC")},
               programma, codice);
    };
    sposta("DETTMENU");
    sposta("DETTPROF");
    if (conTraduzioni())
        sposta("LINGUEMENU");
}
