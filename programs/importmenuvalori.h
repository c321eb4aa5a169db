#pragma once

#include "filescambiomenu.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>
#include <optional>

// What the menu import makes of a line the reader accepted, and how it finds
// a file's program among those already present. No window, no database: the
// import window stages these values and binds them to its statements.
namespace FileScambioMenu {

// A program as the file gives it (staged as read; NULL for an empty text).
struct TProgrammaFile
{
    QString Nome;
    QVariant Descrizione;
    QVariant Icona;

    bool operator==(const TProgrammaFile &o) const
    {
        return Nome == o.Nome && Descrizione == o.Descrizione && Icona == o.Icona;
    }
};

// A menu entry as staged: numbers as int or NULL, texts as QString or NULL
// (NOTE and PARAMETRIBLOB also as the Windows-1252 bytes the staging table's
// blob columns hold), PARAMETRI with a line break after each ";" (unless
// that would pass the column's 256 characters: then as read, nothing cut),
// PARAMETRIBLOB with its real line breaks.
struct TVoceFile
{
    QVariant Menu;
    QVariant MenuPrec;
    QVariant LivelloMenu;
    QVariant Descrizione;
    QVariant Dll;
    QVariant Funzione;
    QVariant Note;
    QVariant Livello2Versione;
    QVariant Parametri;
    QVariant Visibile;
    QVariant VoceRapida;
    QVariant ParametriBlob;

    bool operator==(const TVoceFile &o) const;
};

TProgrammaFile ProgrammaDellaRiga(const TRigaScambio &riga);
TVoceFile VoceDellaRiga(const TRigaScambio &riga);

// The values the import stores: an apostrophe becomes "´" in the program's
// NOME and DESCRIZIONE and in the entry's DESCRIZIONE, NOTE and PARAMETRI, as
// every other writer of these columns does; ICONA, DLL, FUNZIONE and
// PARAMETRIBLOB name files, functions and scripts, and stay as read.
TProgrammaFile ProgrammaDaMemorizzare(TProgrammaFile programma);
TVoceFile VoceDaMemorizzare(TVoceFile voce);

// Every apostrophe of the text as "´".
QString ConAccento(QString testo);

struct TProgrammaPresente
{
    int Codice;
    QString Nome;
};

// The programs of PROGRAMMI, read once, by name. A file's name finds a program
// whose name equals it ignoring case (one rule for both sides, accented
// letters included), or equals it with "´" for each apostrophe, as an earlier
// import stored it; of several, the lowest CODICE.
class TIndiceProgrammi
{
public:
    explicit TIndiceProgrammi(const QVector<TProgrammaPresente> &presenti);

    std::optional<int> Cerca(const QString &nome) const;

private:
    QHash<QString, int> m_codici; // folded name -> lowest code
};

} // namespace FileScambioMenu
