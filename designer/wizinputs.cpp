#include "wizcsdfinestra.h"

#include "csdxml.h"

// The inputs as the window shows them, and the rules by which their values
// are read and set.

namespace {

const QString kArchivio = QStringLiteral("Archivio");
const QString kDirectoryListino = QStringLiteral("Directory listino");

QString testoNumero(qint32 valore)
{
    return valore == 0 ? QString() : QString::number(valore);
}

// A list-only combo set by name: the equal item, or the empty one.
QString voceOVuota(const QStringList &voci, const QString &nome)
{
    return voci.contains(nome) ? nome : QString();
}

} // namespace

QString TWizCSDFinestra::ParametroArchivio() const
{
    switch (m_archivio) {
    case Archivio::Archivio:
        return kArchivio;
    case Archivio::DirectoryListino:
        return kDirectoryListino;
    case Archivio::Personalizzato:
        break;
    }
    return m_percorsoArchivio.isEmpty() ? m_parametroPers : QString();
}

void TWizCSDFinestra::SetParametroArchivio(const QString &valore)
{
    m_percorsoArchivio.clear();
    if (valore == kArchivio) {
        m_archivio = Archivio::Archivio;
    } else if (valore == kDirectoryListino) {
        m_archivio = Archivio::DirectoryListino;
    } else {
        m_archivio = Archivio::Personalizzato;
        m_parametroPers = valore;
    }
    changed();
}

void TWizCSDFinestra::ScegliArchivio(Archivio scelta)
{
    if (!m_percorsoArchivio.isEmpty()) {
        // The path was in the parameter's edit; it is no parameter.
        m_percorsoArchivio.clear();
        m_parametroPers.clear();
    }
    m_archivio = scelta;
    changed();
}

void TWizCSDFinestra::SetParametroPers(const QString &testo)
{
    m_percorsoArchivio.clear();
    m_parametroPers = testo;
    changed();
}

bool TWizCSDFinestra::ArchivioMancante() const
{
    return ParametroArchivio().isEmpty() && m_percorsoArchivio.isEmpty();
}

void TWizCSDFinestra::SetNomeTabella(const QString &testo)
{
    m_nomeTabella = testo;
    changed();
}

void TWizCSDFinestra::SetTitolo(const QString &testo)
{
    m_titolo = testo;
    changed();
}

void TWizCSDFinestra::SetCreaTabellaAttiva(bool si)
{
    m_creaTabella = si;
    changed();
}

QString TWizCSDFinestra::ScriptCreaTabella() const
{
    return m_creaTabella ? m_scriptCreaTabella : QString();
}

void TWizCSDFinestra::SetScriptCreaTabella(const QString &script)
{
    m_scriptCreaTabella = script;
    m_creaTabella = !script.isEmpty();
    changed();
}

void TWizCSDFinestra::SetTestoCodiceProgetto(const QString &testo)
{
    m_codiceProgetto = testo;
    changed();
}

void TWizCSDFinestra::SetTestoSituazioneGriglia(const QString &testo)
{
    m_situazioneGriglia = testo;
    changed();
}

void TWizCSDFinestra::SetTestoSituazioneFinestra(const QString &testo)
{
    m_situazioneFinestra = testo;
    if (SituazioneFinestra() != m_situazioneFormCaricata)
        m_codiceProgettoForm = 0;
    changed();
}

qint32 TWizCSDFinestra::CodiceProgetto() const
{
    return ScriptXml::readInteger(m_codiceProgetto);
}

qint32 TWizCSDFinestra::SituazioneGriglia() const
{
    return ScriptXml::readInteger(m_situazioneGriglia);
}

qint32 TWizCSDFinestra::SituazioneFinestra() const
{
    return ScriptXml::readInteger(m_situazioneFinestra);
}

void TWizCSDFinestra::SetCodiceProgetto(qint32 valore)
{
    SetTestoCodiceProgetto(testoNumero(valore));
}

void TWizCSDFinestra::SetSituazioneGriglia(qint32 valore)
{
    SetTestoSituazioneGriglia(testoNumero(valore));
}

void TWizCSDFinestra::SetSituazioneFinestra(qint32 valore)
{
    SetTestoSituazioneFinestra(testoNumero(valore));
}

QStringList TWizCSDFinestra::VociCampoGeneratore() const
{
    return QStringList{QString()} + m_nomiCampi;
}

QStringList TWizCSDFinestra::VociCampoImmagine() const
{
    QStringList nomi = m_nomiCampi;
    nomi.sort();
    return QStringList{QString()} + nomi;
}

QStringList TWizCSDFinestra::VociCampoFile() const
{
    return VociCampoGeneratore();
}

void TWizCSDFinestra::SetCampoGeneratore(const QString &nome)
{
    m_campoGeneratore = voceOVuota(m_nomiCampi, nome);
    changed();
}

void TWizCSDFinestra::SetCampoImmagine(const QString &nome)
{
    m_campoImmagine = voceOVuota(m_nomiCampi, nome);
    changed();
}

void TWizCSDFinestra::SetCampoFile(const QString &nome)
{
    m_campoFile = voceOVuota(m_nomiCampi, nome);
    changed();
}

void TWizCSDFinestra::SetGeneratore(const QString &testo)
{
    m_generatore = m_generatoreLista ? voceOVuota(m_vociGeneratori, testo) : testo;
    changed();
}

void TWizCSDFinestra::SetStampaAttiva(bool si)
{
    m_stampa = si;
    changed();
}

QString TWizCSDFinestra::XMLStampa() const
{
    return m_stampa ? m_xmlStampa : QString();
}

void TWizCSDFinestra::SetXMLStampa(const QString &xml)
{
    m_xmlStampa = xml;
    m_stampa = !xml.isEmpty();
    changed();
}

void TWizCSDFinestra::SetRicercaAttiva(bool si)
{
    m_ricerca = si;
    changed();
}

QString TWizCSDFinestra::XMLRicerca() const
{
    return m_ricerca ? m_xmlRicerca : QString();
}

void TWizCSDFinestra::SetXMLRicerca(const QString &xml)
{
    m_xmlRicerca = xml;
    m_ricerca = !xml.isEmpty();
    changed();
}

void TWizCSDFinestra::SetSoloConsultazione(bool si)
{
    m_soloConsultazione = si;
    changed();
}
