#include "strumentivoci.h"

namespace StrumentiVoci {

QString NomeLibreria(const QString &percorso)
{
    const int taglio =
        qMax(percorso.lastIndexOf(QLatin1Char('/')), percorso.lastIndexOf(QLatin1Char('\\')));
    return percorso.mid(taglio + 1);
}

bool LibreriaAmmessa(const QString &nome)
{
    return nome.size() <= LunghezzaDLL;
}

bool LetteraAmmessa(const QString &lettera)
{
    return lettera == QLatin1String("X") || lettera == QLatin1String("D");
}

QString ConLetteraFinale(const QString &funzione, QChar lettera)
{
    return funzione.left(funzione.size() - 1) + lettera;
}

bool RiceveLettera(const QString &funzione, const QString &livello2Versione)
{
    return !funzione.isEmpty() && livello2Versione != QLatin1String("1");
}

QString AvvisoModoX(const QString &funzione)
{
    if (funzione.isEmpty())
        return QStringLiteral("Nessuna funzione specificata");
    if (funzione.endsWith(QLatin1Char('X')))
        return QStringLiteral("Nessuna conversione prevista per questa funzione");
    return QString();
}

} // namespace StrumentiVoci
