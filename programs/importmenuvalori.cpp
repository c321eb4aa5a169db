#include "importmenuvalori.h"

namespace FileScambioMenu {
namespace {

const int kLunghezzaParametri = 256;

QVariant testo(const QString &s)
{
    return s.isEmpty() ? QVariant() : QVariant(s);
}

// The reader has checked every number field, so a text that is not a
// number here is the empty one.
QVariant numero(const QString &s)
{
    int n;
    return LeggiIntero(s, &n) ? QVariant(n) : QVariant();
}

// In place; a text staged as Windows-1252 bytes has "´" as byte 0xB4.
void conAccento(QVariant &v)
{
    if (v.typeId() == QMetaType::QString) {
        QString &s = *static_cast<QString *>(v.data());
        if (s.contains(QLatin1Char('\'')))
            s.replace(QLatin1Char('\''), QStringLiteral("´"));
    } else if (v.typeId() == QMetaType::QByteArray) {
        QByteArray &b = *static_cast<QByteArray *>(v.data());
        if (b.contains('\''))
            b.replace('\'', '\xB4');
    }
}

QString parametriSuRighe(const QString &letti)
{
    if (!letti.contains(QLatin1Char(';')))
        return letti;
    QString s = letti;
    s.replace(QLatin1Char(';'), QLatin1String(";\r\n"));
    return s.size() > kLunghezzaParametri ? letti : s;
}

QString chiave(const QString &nome)
{
    return nome.toCaseFolded();
}

} // namespace

bool TVoceFile::operator==(const TVoceFile &o) const
{
    return Menu == o.Menu && MenuPrec == o.MenuPrec && LivelloMenu == o.LivelloMenu &&
           Descrizione == o.Descrizione && Dll == o.Dll && Funzione == o.Funzione &&
           Note == o.Note && Livello2Versione == o.Livello2Versione && Parametri == o.Parametri &&
           Visibile == o.Visibile && VoceRapida == o.VoceRapida && ParametriBlob == o.ParametriBlob;
}

QString ConAccento(QString s)
{
    // Most texts have no apostrophe: they go on shared, not copied.
    if (!s.contains(QLatin1Char('\'')))
        return s;
    s.replace(QLatin1Char('\''), QStringLiteral("´"));
    return s;
}

TProgrammaFile ProgrammaDellaRiga(const TRigaScambio &riga)
{
    return {riga[Nome], testo(riga[Descrizione]), testo(riga[Icona])};
}

TVoceFile VoceDellaRiga(const TRigaScambio &riga)
{
    TVoceFile v;
    v.Menu = numero(riga[Menu]);
    v.MenuPrec = numero(riga[MenuPrec]);
    v.LivelloMenu = numero(riga[LivelloMenu]);
    v.Descrizione = testo(riga[DescrizioneMenu]);
    v.Dll = testo(riga[Dll]);
    v.Funzione = testo(riga[Funzione]);
    v.Note = testo(riga[Note]);
    v.Livello2Versione = numero(riga[Livello2Versione]);
    v.Parametri = testo(parametriSuRighe(riga[Parametri]));
    v.Visibile = numero(riga[Visibile]);
    v.VoceRapida = numero(riga[VoceRapida]);
    v.ParametriBlob = testo(riga[ParametriBlob]);
    return v;
}

TProgrammaFile ProgrammaDaMemorizzare(TProgrammaFile p)
{
    p.Nome = ConAccento(p.Nome);
    conAccento(p.Descrizione);
    return p;
}

TVoceFile VoceDaMemorizzare(TVoceFile v)
{
    conAccento(v.Descrizione);
    conAccento(v.Note);
    conAccento(v.Parametri);
    return v;
}

TIndiceProgrammi::TIndiceProgrammi(const QVector<TProgrammaPresente> &presenti)
{
    for (const TProgrammaPresente &p : presenti) {
        const QString k = chiave(p.Nome);
        const auto it = m_codici.constFind(k);
        if (it == m_codici.constEnd() || p.Codice < it.value())
            m_codici.insert(k, p.Codice);
    }
}

std::optional<int> TIndiceProgrammi::Cerca(const QString &nome) const
{
    const auto uguale = m_codici.constFind(chiave(nome));
    const auto accentato = m_codici.constFind(chiave(ConAccento(nome)));
    std::optional<int> trovato;
    if (uguale != m_codici.constEnd())
        trovato = uguale.value();
    if (accentato != m_codici.constEnd() && (!trovato || accentato.value() < *trovato))
        trovato = accentato.value();
    return trovato;
}

} // namespace FileScambioMenu
