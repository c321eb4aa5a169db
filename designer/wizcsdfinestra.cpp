#include "wizcsdfinestra.h"

#include "csdfinestre.h"
#include "ibdatabase.h"
#include "inputbox.h"
#include "messages.h"
#include "tabform.h"
#include "win1252.h"

namespace {

// The first character of the text that Windows-1252 cannot hold, whole when
// it is a surrogate pair; empty when there is none.
QString primoNonAmmesso(const QString &testo)
{
    for (int i = 0; i < testo.size();) {
        const bool coppia = testo.at(i).isHighSurrogate() && i + 1 < testo.size() &&
                            testo.at(i + 1).isLowSurrogate();
        const QString carattere = testo.mid(i, coppia ? 2 : 1);
        if (!Win1252::canEncode(carattere))
            return carattere;
        i += carattere.size();
    }
    return QString();
}

} // namespace

TWizCSDFinestra::TWizCSDFinestra(TTabForm *tabForm, QWidget *owner)
    : TabForm(tabForm)
    , DatabaseRif(new TIBDatabase(this))
    , TransactionRif(new TIBTransaction(this))
    , TabCampi(new TCampiTabella(this))
    , m_owner(owner)
{
    DatabaseRif->SQLDialect = 3;
    DatabaseRif->DefaultTransaction = TransactionRif;
    TransactionRif->setDefaultDatabase(DatabaseRif);
    // Only the catalogue is read: a wizard left open must hold nothing back
    // on what may be a production database.
    TransactionRif->Params = {QStringLiteral("read"), QStringLiteral("read_committed"),
                              QStringLiteral("rec_version")};
    connect(TabCampi, &TCampiTabella::currentChanged, this,
            [this] { ricaricaColonneDecodifica(); });
}

TWizCSDFinestra::~TWizCSDFinestra() = default;

void TWizCSDFinestra::Azzera()
{
    TabCampi->Svuota();
    m_nomiCampi.clear();
    m_archivio = Archivio::Archivio;
    m_parametroPers.clear();
    m_percorsoArchivio.clear();
    m_nomeTabella.clear();
    m_creaTabella = false;
    m_scriptCreaTabella.clear();
    m_titolo.clear();
    m_codiceProgetto.clear();
    m_situazioneGriglia.clear();
    m_situazioneFinestra.clear();
    m_codiceProgettoForm = 0;
    m_situazioneFormCaricata = 0;
    m_posizionaCampo.reset();
    m_campoGeneratore.clear();
    m_campoImmagine.clear();
    m_campoFile.clear();
    m_generatore.clear();
    m_stampa = false;
    m_xmlStampa.clear();
    m_ricerca = false;
    m_xmlRicerca.clear();
    changed();
}

bool TWizCSDFinestra::CaricaXML(const QString &testo)
{
    TCSDForm form;
    try {
        form.SetXML(testo);
    } catch (const EScriptXMLError &) {
        return false;
    }

    for (int i = 0; i < form.CampiVis.Count(); ++i) {
        const TCSDCampo *campo = form.CampiVis.Items(i);
        AggiungiCampo(TabCampi->Count() + 1, campo->Nome);
        modificaCorrente([campo](TCampoRiga &r) {
            r.Etichetta = campo->Etichetta;
            if (const TCSDDecodifica *d = campo->Decodifica.get()) {
                r.Decodifica = 1;
                r.DecodificaTabella = d->TabellaCol;
                r.DecodificaCampoColl = d->CampoCol;
                r.DecodificaCampoDec = d->CampoDec;
                r.DecodificaCampoEtich = d->Etichetta;
            }
            if (campo->RicercaSecLiv) {
                r.Ricerca = 1;
                r.RicercaScript = campo->RicercaSecLiv->GetXML();
            }
            if (const auto *combo = dynamic_cast<const TCSDCampoVisCombo *>(campo)) {
                r.Tipo = 2;
                r.ValoriCombo = combo->Valori;
            }
        });
    }

    SetParametroArchivio(form.ParametroArchivio);
    if (form.ParametroArchivio.isEmpty())
        m_percorsoArchivio = form.PercorsoArchivio;
    SetNomeTabella(form.NomeTabella);
    SetScriptCreaTabella(form.CreaTabella);
    SetTitolo(form.Titolo);
    SetCodiceProgetto(form.CodiceProgetto);
    SetSituazioneGriglia(form.SituazioneCSDGrid);
    // The project of the window situation has no input: it is kept with
    // the situation it came with, and written back by ComponiXML.
    m_situazioneFormCaricata = form.SituazioneForm;
    SetSituazioneFinestra(form.SituazioneForm);
    m_codiceProgettoForm = form.CodiceProgettoForm;
    m_posizionaCampo = std::move(form.PosizionaCampo);
    // After the rows, so that the names are items of the combos.
    SetCampoGeneratore(form.GeneratoreCampo);
    SetGeneratore(form.GeneratoreNome);
    SetCampoImmagine(form.CampoFoto);
    SetCampoFile(form.CampoFile);
    if (form.Stampa)
        SetXMLStampa(form.Stampa->GetXML());
    if (form.Ricerche)
        SetXMLRicerca(form.Ricerche->GetXML());
    SetSoloConsultazione(form.NascondiNuovoEditaDuplicaElimina);
    ricaricaColonneDecodifica();
    return true;
}

bool TWizCSDFinestra::caratteriAmmessi()
{
    QList<QPair<QString, QString>> testi = {
        {QStringLiteral("Parametro personalizzato:"), ParametroArchivio()},
        {QStringLiteral("Parametro personalizzato:"), m_percorsoArchivio},
        {QStringLiteral("Nome"), m_nomeTabella},
        {QStringLiteral("Crea tabella se manca:"), ScriptCreaTabella()},
        {QStringLiteral("Campo auto-incr."), m_campoGeneratore},
        {QStringLiteral("Generatore"), m_generatore},
        {QStringLiteral("Campo immagine"), m_campoImmagine},
        {QStringLiteral("Campo sel. file"), m_campoFile},
        {QStringLiteral("Stampa"), XMLStampa()},
        {QStringLiteral("Ricerca"), XMLRicerca()}};
    for (int i = 0; m_posizionaCampo && i < m_posizionaCampo->Count(); ++i) {
        const TCSDCampoPos *p = m_posizionaCampo->Items(i);
        testi.append({QStringLiteral("PosizionaCampo"), p->NomeCampo + p->ValoreCampo});
    }
    for (int i = 0; i < TabCampi->Count(); ++i) {
        const TCampoRiga &r = TabCampi->Riga(i);
        QString usati = r.Nome + r.Etichetta;
        if (r.Tipo == 2)
            usati += r.ValoriCombo.join(QString());
        if (r.Ricerca == 1)
            usati += r.RicercaScript;
        if (r.Decodifica == 1)
            usati += r.DecodificaTabella + r.DecodificaCampoColl + r.DecodificaCampoDec +
                     r.DecodificaCampoEtich;
        testi.append({r.Nome, usati});
    }
    for (const auto &t : testi) {
        const QString carattere = primoNonAmmesso(t.second);
        if (!carattere.isEmpty()) {
            Messages::error(QStringLiteral("Carattere non ammesso: ") + carattere +
                            QStringLiteral(" (") + t.first + QLatin1Char(')'));
            return false;
        }
    }
    return true;
}

QString TWizCSDFinestra::ComponiXML()
{
    if (!caratteriAmmessi())
        return QString();
    TCSDForm form;
    form.ParametroArchivio = ParametroArchivio();
    form.PercorsoArchivio = m_percorsoArchivio;
    form.NomeTabella = m_nomeTabella;
    form.CreaTabella = ScriptCreaTabella();
    form.Titolo = m_titolo;
    form.CodiceProgetto = CodiceProgetto();
    form.SituazioneCSDGrid = SituazioneGriglia();
    form.SituazioneForm = SituazioneFinestra();
    form.CodiceProgettoForm = m_codiceProgettoForm;
    if (m_posizionaCampo)
        form.PosizionaCampo = m_posizionaCampo->Copia();
    form.GeneratoreCampo = m_campoGeneratore;
    form.GeneratoreNome = m_generatore;
    form.CampoFoto = m_campoImmagine;
    form.CampoFile = m_campoFile;
    if (m_stampa) {
        form.Stampa = std::make_unique<TCSDStampaOld>();
        form.Stampa->SetXML(m_xmlStampa);
    }
    if (m_ricerca) {
        form.Ricerche = std::make_unique<TCSDRicerche>();
        form.Ricerche->SetXML(m_xmlRicerca);
    }
    form.NascondiNuovoEditaDuplicaElimina = m_soloConsultazione;

    for (int i = 0; i < TabCampi->Count(); ++i) {
        const TCampoRiga &r = TabCampi->Riga(i);
        std::unique_ptr<TCSDCampoVis> campo;
        if (r.Tipo == 2) {
            auto combo = std::make_unique<TCSDCampoVisCombo>();
            combo->Valori = r.ValoriCombo;
            campo = std::move(combo);
        } else {
            campo = std::make_unique<TCSDCampoVis>();
        }
        campo->Nome = r.Nome;
        campo->Etichetta = r.Etichetta;
        if (r.Decodifica == 1) {
            campo->Decodifica = std::make_unique<TCSDDecodifica>();
            campo->Decodifica->TabellaCol = r.DecodificaTabella;
            campo->Decodifica->CampoCol = r.DecodificaCampoColl;
            campo->Decodifica->CampoDec = r.DecodificaCampoDec;
            campo->Decodifica->Etichetta = r.DecodificaCampoEtich;
        }
        if (r.Ricerca == 1) {
            campo->RicercaSecLiv = std::make_unique<TCSDRicercaSecLiv>();
            campo->RicercaSecLiv->SetXML(r.RicercaScript);
        }
        form.CampiVis.Add(std::move(campo));
    }
    TabCampi->SetCorrente(0);
    return form.GetXML();
}
