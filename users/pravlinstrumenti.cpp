#include "pravlinstrumenti.h"

#include "win1252.h"

#include <QFile>
#include <QStringDecoder>

namespace Strumenti {

QString MaiuscoleAZ(const QString &testo)
{
    QString r = testo;
    for (QChar &c : r) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return r;
}

std::optional<TTrovato> Cerca(const QStringList &righe, const QString &parola,
                              QString &parolaRicerca, int &ultimaRiga)
{
    if (parola != parolaRicerca)
        ultimaRiga = -1;
    parolaRicerca = parola;
    const QString cercata = MaiuscoleAZ(parola);
    while (ultimaRiga + 1 < righe.size()) {
        ++ultimaRiga;
        if (cercata.isEmpty())
            continue;
        const int colonna = MaiuscoleAZ(righe.at(ultimaRiga)).indexOf(cercata);
        if (colonna >= 0)
            return TTrovato{ultimaRiga, colonna};
    }
    return std::nullopt;
}

std::optional<TTagValore> TagEValore(const QString &riga)
{
    const int uguale = riga.indexOf(QLatin1Char('='));
    if (uguale < 0 || riga.startsWith(QLatin1Char('[')))
        return std::nullopt;
    return TTagValore{riga.left(uguale), riga.mid(uguale + 1)};
}

QVector<int> RigheDelTag(const QStringList &righe, const QString &tag)
{
    QVector<int> trovate;
    if (tag.isEmpty())
        return trovate;
    for (int i = 0; i < righe.size(); ++i) {
        const auto tv = TagEValore(righe.at(i));
        if (tv && tv->tag == tag)
            trovate.append(i);
    }
    return trovate;
}

QString ConBarra(const QString &percorso)
{
    return percorso.endsWith(QLatin1Char('\\')) ? percorso : percorso + QLatin1Char('\\');
}

QByteArray FileScambio(const QString &testoMemo)
{
    if (testoMemo.isEmpty())
        return {};
    QString t = testoMemo;
    t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return (t + QLatin1String("\r\n")).toUtf8();
}

TLettura LeggiFileScambio(const QByteArray &bytes)
{
    TLettura r;
    if (bytes.isEmpty())
        return r;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString testo = utf8.decode(bytes);
    if (utf8.hasError())
        testo = Win1252::decode(bytes);
    testo.remove(QLatin1Char('\r'));
    if (testo.endsWith(QLatin1Char('\n')))
        testo.chop(1);
    int riga = 1;
    for (const QChar c : testo) {
        if (c == QLatin1Char('\n')) {
            ++riga;
            continue;
        }
        if (c.isNull() || !Win1252::canEncode(QString(c))) {
            r.esito = TLettura::CarattereNonAmmesso;
            r.riga = riga;
            return r;
        }
    }
    r.esito = TLettura::Letto;
    r.testo = testo;
    return r;
}

bool CaricaFileInStringa(const QString &nomeFile, QByteArray &testo)
{
    testo.clear();
    QFile f(nomeFile);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    testo = f.readAll();
    return !testo.isEmpty();
}

} // namespace Strumenti
