#pragma once

#include <QString>
#include <QStringList>

// The N-th field of S (counted from 1) between separators; N = 0 gives the
// empty text. The last field runs to the end of S and a field past the last
// one is empty. Blanks inside the field stay.
QString EstraiCampo(const QString &S, int N, const QString &Separatore);
// As EstraiCampo; with TogliBlank every blank of the field is removed.
QString EstraiCampoEx(const QString &S, int N, const QString &Separatore, bool TogliBlank);

// S without any blank (code 32); tabs and other white space stay.
QString TogliSpazi(const QString &S);

// Replaces Lista with the section names, in file order, of NOMIDIT\UTENTI.INI
// in the program's folder (one section per user of the file-based user
// store); a missing file gives an empty list. Cartella replaces the program's
// folder when given (it ends with "/").
void CaricaNomiUtentiDaIni(QStringList &Lista, const QString &Cartella = QString());
