#include "tabxtext.h"

#include "valueconv.h"

namespace TabXText {

QString apostrofi(const QString &testo)
{
    QString risultato = testo;
    risultato.replace(QLatin1Char('\''), QChar(0x00B4));
    return risultato;
}

QVariant testo(const QString &testo)
{
    if (testo.isEmpty())
        return {};
    return apostrofi(testo);
}

QVariant numero(const QString &numero)
{
    if (numero.isEmpty())
        return {};
    QString punto = numero;
    punto.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    punto.trimmed().toDouble(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' non è un numero valido").arg(numero));
    return punto;
}

QVariant data(const QString &data)
{
    if (data.isEmpty())
        return {};
    return ValueConv::toDateTime(data).date();
}

} // namespace TabXText
