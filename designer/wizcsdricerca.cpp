#include "wizcsdricerca.h"

#include "campicomandi.h"
#include "csdfinestre.h"
#include "messages.h"
#include "nomecampo.h"

#include <QWidget>
#include <map>

namespace {

QString testoNumero(qint32 valore)
{
    return valore == 0 ? QString() : QString::number(valore);
}

} // namespace

TWizCSDRicerca::TWizCSDRicerca(TCSDRicerca *ricerca, QWidget *owner)
    : QObject(owner) // its window owns it
    , Ricerca(ricerca)
    , TabCampi(new TCampiTabella(this))
    , TestoCodiceProgetto(testoNumero(ricerca->CodiceProgetto))
    , TestoSituazioneGriglia(testoNumero(ricerca->SituazioneCSDGrid))
    , TestoSituazioneFinestra(testoNumero(ricerca->SituazioneForm))
    , m_owner(owner)
{
    for (int i = 0; i < ricerca->CampiRic.Count(); ++i) {
        TCampoRiga r;
        r.N = i + 1;
        r.Nome = ricerca->CampiRic.Items(i)->Nome;
        r.Etichetta = ricerca->CampiRic.Items(i)->Etichetta;
        TabCampi->Aggiungi(r);
    }
    TabCampi->SetCorrente(0);
}

QString TWizCSDRicerca::chiediNome()
{
    return NomeCampo::Chiedi(TabCampi, NomiScelta, m_owner);
}

void TWizCSDRicerca::Nuovo()
{
    CampiComandi::Nuovo(
        TabCampi, [this] { return chiediNome(); },
        [this](int n, const QString &nome) { aggiungi(n, nome); });
}

void TWizCSDRicerca::Inserisci()
{
    CampiComandi::Inserisci(
        TabCampi, [this] { return chiediNome(); },
        [this](int n, const QString &nome) { aggiungi(n, nome); });
}

void TWizCSDRicerca::aggiungi(int n, const QString &nome)
{
    TCampoRiga r;
    r.N = n;
    r.Nome = nome;
    r.Etichetta = nome;
    TabCampi->Aggiungi(r);
}

void TWizCSDRicerca::Elimina()
{
    if (!CampiComandi::ConfermaElimina(TabCampi))
        return;
    const int i = TabCampi->Corrente();
    const int n = TabCampi->Riga(i).N;
    TabCampi->Elimina(i);
    TabCampi->Rinumera(i, n);
}

void TWizCSDRicerca::AzzeraCampi()
{
    if (CampiComandi::ConfermaAzzera(TabCampi))
        TabCampi->Svuota();
}

bool TWizCSDRicerca::Ok()
{
    if (TabCampi->Count() == 0) {
        Messages::warning(QStringLiteral("Nessun campo compilato"));
        return false;
    }
    Ricerca->CodiceProgetto = ScriptXml::readInteger(TestoCodiceProgetto);
    Ricerca->SituazioneCSDGrid = ScriptXml::readInteger(TestoSituazioneGriglia);
    Ricerca->SituazioneForm = ScriptXml::readInteger(TestoSituazioneFinestra);
    // A loaded field's decoding and search have no input here: they stay
    // with the field's name while it is kept.
    std::map<QString, std::unique_ptr<TCSDCampoRic>> vecchi;
    for (int i = 0; i < Ricerca->CampiRic.Count(); ++i) {
        TCSDCampo *c = Ricerca->CampiRic.Items(i);
        if (vecchi.count(c->Nome))
            continue;
        auto parti = std::make_unique<TCSDCampoRic>();
        parti->Decodifica = std::move(c->Decodifica);
        parti->RicercaSecLiv = std::move(c->RicercaSecLiv);
        vecchi[c->Nome] = std::move(parti);
    }
    Ricerca->CampiRic.Clear();
    for (int i = 0; i < TabCampi->Count(); ++i) {
        const TCampoRiga &r = TabCampi->Riga(i);
        auto campo = std::make_unique<TCSDCampoRic>();
        campo->Nome = r.Nome;
        campo->Etichetta = r.Etichetta;
        const auto vecchio = vecchi.find(r.Nome);
        if (vecchio != vecchi.end()) {
            campo->Decodifica = std::move(vecchio->second->Decodifica);
            campo->RicercaSecLiv = std::move(vecchio->second->RicercaSecLiv);
        }
        Ricerca->CampiRic.Add(std::move(campo));
    }
    return true;
}
