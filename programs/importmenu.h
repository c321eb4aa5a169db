#pragma once

#include "filescambiomenu.h"
#include "importmenuvalori.h"

#include <QString>
#include <functional>
#include <optional>

class QIODevice;
class TIBDatabase;
class TIBTransaction;
class TRxMemoryData;

// The menu import without its window: what a reading puts in the two
// staging tables, and the writing of the marked programs with their menus in
// one transaction. The window shows the tables and asks the questions; a
// test or a benchmark drives this directly.
class TImportazioneMenu
{
public:
    // A file's program name: the code of the program here, when there is one.
    using Ricerca = std::function<std::optional<int>(const QString &nome)>;
    using Log = std::function<void(const QString &riga)>;

    // The tables are the window's (its grids show them).
    TImportazioneMenu(TRxMemoryData *memTabProg, TRxMemoryData *memTabMenu);

    // Their columns: MemTabProg CODICE, NOME, DESCRIZIONE, ICONA, S, S2;
    // MemTabMenu the menu row's columns, S, S2 and PARAMETRIBLOB last, packed
    // (a compact table). Both closed.
    static void DefinisciTabelle(TRxMemoryData *memTabProg, TRxMemoryData *memTabMenu);

    // Appends a reading's lines: a program row whenever the name differs from
    // the line before (found here: its code and S2 "1"; otherwise the next
    // new code and S2 "2"), a menu row for every line. The tables' views and
    // filter are held off meanwhile. Raises when a value does not fit (a new
    // code past the column's range); the caller empties the tables then.
    void Carica(const QVector<FileScambioMenu::TRigaScambio> &righe, const Ricerca &cerca,
                int nuovoCodice);

    // The same straight from a transfer file, a line at a time as the reader
    // checks it, so the file is held neither whole nor twice. Answers the
    // reader's error, empty when the whole file was staged; the tables then
    // hold the lines before the bad one, which the caller empties.
    QString CaricaFile(QIODevice &file, const Ricerca &cerca, int nuovoCodice);

    // Writes every program whose S is "1" with the staged menu rows of its
    // code: a new one (S2 "2") into PROGRAMMI, an existing one's menu deleted
    // first. Statements are prepared once and bound; the first failure
    // (the commit included) is logged with the statement and its values, the
    // transaction is rolled back and started again, and the answer is false.
    // Every line of the log goes through `log`, success included.
    bool Importa(TIBDatabase *db, TIBTransaction *tr, const Log &log);

    // The conflict with another administrator that stopped the last import:
    // the sentence that says so and the database's message; empty otherwise.
    QString Conflitto() const { return m_conflitto; }

    // Called after every statement that succeeded, with their count so far.
    std::function<void(int eseguite)> DopoIstruzione;

private:
    class TCarico;

    TRxMemoryData *m_prog;
    TRxMemoryData *m_menu;
    QString m_conflitto;
};
