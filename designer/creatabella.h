#pragma once

#include <QString>
#include <QStringList>

class TIBDatabase;

// A column as the system catalogue describes it (RDB$FIELDS), raw.
struct TColonnaCatalogo
{
    int Tipo = 0;
    int SottoTipo = 0;
    // Bytes, and characters (0 when the catalogue does not say).
    int Lunghezza = 0;
    int LunghezzaCaratteri = 0;
    int Precisione = 0;
    int Scala = 0;
};

// The type that recreates the column in a CREATE TABLE; character set and
// default are left to the database that runs it.
QString TipoColonna(const TColonnaCatalogo &colonna);

// The CREATE TABLE that recreates the table's stored columns and its primary
// key, read from the database's catalogue in its default transaction. Lines
// are appended as they are read, so a failing statement leaves those already
// written.
void ProponiCreaTabella(TIBDatabase *database, const QString &tabella, QStringList &righe);
