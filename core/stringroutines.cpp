#include "stringroutines.h"

#include "inifile.h"
#include "pathutil.h"

namespace {

// Position of the separator in T, -1 when absent. An empty separator is never
// found, as with the class library's Pos.
int posOf(const QString &Separatore, const QString &T)
{
    return Separatore.isEmpty() ? -1 : T.indexOf(Separatore);
}

} // namespace

QString EstraiCampo(const QString &S, int N, const QString &Separatore)
{
    return EstraiCampoEx(S, N, Separatore, false);
}

QString EstraiCampoEx(const QString &S, int N, const QString &Separatore, bool TogliBlank)
{
    if (N <= 0)
        return QString();
    QString T = S;
    for (int i = 1; i < N && !T.isEmpty(); ++i) {
        // Steps past the separator's first character only, which is the same
        // thing for the one-character separators every caller uses.
        const int p = posOf(Separatore, T);
        T = p < 0 ? QString() : T.mid(p + 1);
    }
    const int p = posOf(Separatore, T);
    if (p >= 0)
        T.truncate(p);
    return TogliBlank ? TogliSpazi(T) : T;
}

QString TogliSpazi(const QString &S)
{
    QString out = S;
    out.remove(QLatin1Char(' '));
    return out;
}

void CaricaNomiUtentiDaIni(QStringList &Lista, const QString &Cartella)
{
    const QString folder = Cartella.isEmpty() ? programFolder() : Cartella;
    TIniFile(folder + QStringLiteral("NOMIDIT\\UTENTI.INI")).ReadSections(Lista);
}
