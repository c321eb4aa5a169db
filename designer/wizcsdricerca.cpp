#include "wizcsdricerca.h"

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
    const QString nome = chiediNome();
    if (nome.isEmpty())
        return;
    TCampoRiga r;
    r.N = TabCampi->Count() + 1;
    r.Nome = nome;
    r.Etichetta = nome;
    TabCampi->Aggiungi(r);
}

void TWizCSDRicerca::Inserisci()
{
    if (TabCampi->Count() == 0) {
        Nuovo();
        return;
    }
    // The place is taken before asking: a refused duplicate moves the
    // current row to the row holding it.
    const int n = TabCampi->RigaCorrente()->N;
    const QString nome = chiediNome();
    if (nome.isEmpty())
        return;
    TabCampi->Rinumera(TabCampi->TrovaN(n), n + 1);
    TCampoRiga r;
    r.N = n;
    r.Nome = nome;
    r.Etichetta = nome;
    TabCampi->Aggiungi(r);
}

void TWizCSDRicerca::Elimina()
{
    if (TabCampi->Count() == 0) {
        Messages::warning(QStringLiteral("Nessun campo selezionato"));
        return;
    }
    if (!Messages::confirm(QStringLiteral("Eliminare il campo selezionato?")))
        return;
    const int i = TabCampi->Corrente();
    const int n = TabCampi->Riga(i).N;
    TabCampi->Elimina(i);
    TabCampi->Rinumera(i, n);
}

void TWizCSDRicerca::AzzeraCampi()
{
    if (TabCampi->Count() == 0) {
        Messages::warning(QStringLiteral("Nessun campo presente"));
        return;
    }
    if (Messages::confirm(QStringLiteral("Azzerare tutti i campi?")))
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
