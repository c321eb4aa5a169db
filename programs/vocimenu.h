#pragma once

#include <QString>
#include <QVariant>
#include <optional>

class TIBSQL;

// The rules of one program's menu entries that the menu grid editor keeps,
// apart from its window.
namespace VociMenu {

// A menu code as a box shows it: an integer the SMALLINT columns can hold,
// blanks around it allowed; nothing for any other text ("", "-", "1x").
std::optional<int> Codice(const QString &text);

// The first reason the entry may not be saved, as its warning's text; empty
// when it may. An entry is not its own parent, whatever the digits look like
// ("05" names entry 5).
QString Validazione(const QString &menu, const QString &menuPrec, const QString &descrizione);

// The parent an entry inserted before `codice` takes, once the parent
// references at or after that code have moved up by one.
QString PadreDopoSpostamento(const QString &padre, const QString &codice);

// The depth of an entry under a parent of this depth (1 under a parent
// whose depth is empty).
int LivelloSotto(const QVariant &livelloPadre);

// Whether the database has the entries' translations (LINGUEMENU), asked of
// the catalogue through the statement.
bool ConTraduzioni(TIBSQL *statement);

} // namespace VociMenu

// Makes room for a new entry at code C of one program's menu, in the
// statement's transaction and without committing. Rows that name entries by
// code follow them: the security profiles' grants (DETTPROF) and the
// entries' translations (LINGUEMENU, when the database has it). Each step is
// one statement per table; a failure raises and leaves the caller to roll
// the transaction back, since an earlier table may have moved already.
class TSpostamentoVoci
{
public:
    explicit TSpostamentoVoci(TIBSQL *statement);

    // Parent references at or after C move up by one.
    void SpostaPadri(int programma, int codice);
    // Entries at or after C move up by one, from the highest down so that
    // every row moves to a code no row holds at that moment.
    void SpostaVoci(int programma, int codice);

private:
    void esegui(const QStringList &sql, int programma, int codice);
    bool conTraduzioni();

    TIBSQL *m_sql;
    std::optional<bool> m_traduzioni;
};
