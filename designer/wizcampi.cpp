#include "wizcsdfinestra.h"

#include "campicomandi.h"
#include "ibdatabase.h"
#include "inputbox.h"
#include "messages.h"
#include "tabform.h"

// The field table's rows, the field detail and the checks before the
// windows the wizard opens.

// --- Rows

void TWizCSDFinestra::modificaCorrente(const std::function<void(TCampoRiga &)> &cambia)
{
    if (TabCampi->Corrente() >= 0)
        TabCampi->Modifica(TabCampi->Corrente(), cambia);
}

void TWizCSDFinestra::AggiungiCampo(int posizione, const QString &nome)
{
    TCampoRiga r;
    r.N = posizione;
    r.Nome = nome;
    r.Etichetta = nome;
    m_nomiCampi.append(nome);
    TabCampi->Aggiungi(r);
    changed();
}

void TWizCSDFinestra::RinumeraCampi(const QString &nome, int primaPosizione)
{
    TabCampi->Rinumera(TabCampi->Trova(nome), primaPosizione);
    TabCampi->SetCorrente(TabCampi->TrovaN(primaPosizione));
}

void TWizCSDFinestra::rimuoviVoce(const QString &nome)
{
    m_nomiCampi.removeOne(nome);
    if (m_nomiCampi.contains(nome))
        return;
    for (QString *scelta : {&m_campoGeneratore, &m_campoImmagine, &m_campoFile}) {
        if (*scelta == nome)
            scelta->clear();
    }
}

void TWizCSDFinestra::Nuovo()
{
    CampiComandi::Nuovo(
        TabCampi, [this] { return ChiediNomeCampo(); },
        [this](int n, const QString &nome) { AggiungiCampo(n, nome); });
}

void TWizCSDFinestra::Inserisci()
{
    CampiComandi::Inserisci(
        TabCampi, [this] { return ChiediNomeCampo(); },
        [this](int n, const QString &nome) { AggiungiCampo(n, nome); });
}

void TWizCSDFinestra::Elimina()
{
    if (!CampiComandi::ConfermaElimina(TabCampi))
        return;
    const int i = TabCampi->Corrente();
    const TCampoRiga riga = TabCampi->Riga(i);
    rimuoviVoce(riga.Nome);
    TabCampi->Elimina(i);
    TabCampi->Rinumera(i, riga.N);
    changed();
}

void TWizCSDFinestra::AzzeraCampi()
{
    if (!CampiComandi::ConfermaAzzera(TabCampi))
        return;
    TabCampi->Svuota();
    m_nomiCampi.clear();
    m_campoGeneratore.clear();
    m_campoImmagine.clear();
    m_campoFile.clear();
    changed();
}

// --- Field detail

void TWizCSDFinestra::SetTipo(int tipo)
{
    modificaCorrente([tipo](TCampoRiga &r) { r.Tipo = tipo; });
}

void TWizCSDFinestra::SalvaValoriCombo(const QStringList &valori)
{
    modificaCorrente([&valori](TCampoRiga &r) { r.ValoriCombo = valori; });
}

void TWizCSDFinestra::AggiungiValore()
{
    const TCampoRiga *riga = TabCampi->RigaCorrente();
    if (!riga)
        return;
    QString valore;
    for (;;) {
        const auto risposta = InputBox::ask(QStringLiteral("Aggiungi valore"),
                                            QStringLiteral("Valore:"), valore, m_owner);
        if (!risposta)
            return;
        valore = *risposta;
        if (!riga->ValoriCombo.contains(valore))
            break;
        Messages::warning(QStringLiteral("Valore già presente nella lista"));
    }
    SalvaValoriCombo(riga->ValoriCombo + QStringList{valore});
}

void TWizCSDFinestra::RimuoviValore(int selezionato)
{
    const TCampoRiga *riga = TabCampi->RigaCorrente();
    if (!riga)
        return;
    if (riga->ValoriCombo.isEmpty()) {
        Messages::warning(QStringLiteral("Nessun valore presente"));
        return;
    }
    if (selezionato < 0 || selezionato >= riga->ValoriCombo.size()) {
        Messages::warning(QStringLiteral("Selezionare un valore"));
        return;
    }
    QStringList valori = riga->ValoriCombo;
    valori.removeAt(selezionato);
    SalvaValoriCombo(valori);
}

void TWizCSDFinestra::SetDecodifica(bool si)
{
    modificaCorrente([si](TCampoRiga &r) { r.Decodifica = si ? 1 : 0; });
}

void TWizCSDFinestra::SetRicercaCampo(bool si)
{
    modificaCorrente([si](TCampoRiga &r) { r.Ricerca = si ? 1 : 0; });
}

void TWizCSDFinestra::SetDecodificaTabella(const QString &tabella)
{
    modificaCorrente([&tabella](TCampoRiga &r) { r.DecodificaTabella = tabella; });
    ricaricaColonneDecodifica();
}

void TWizCSDFinestra::SetDecodificaCampoColl(const QString &campo)
{
    modificaCorrente([&campo](TCampoRiga &r) { r.DecodificaCampoColl = campo; });
}

void TWizCSDFinestra::SetDecodificaCampoDec(const QString &campo)
{
    modificaCorrente([&campo](TCampoRiga &r) { r.DecodificaCampoDec = campo; });
}

void TWizCSDFinestra::SetDecodificaCampoEtich(const QString &etichetta)
{
    modificaCorrente([&etichetta](TCampoRiga &r) { r.DecodificaCampoEtich = etichetta; });
}

// --- Checks before the other windows

bool TWizCSDFinestra::PuoConfigurareStampa()
{
    if (m_nomeTabella.isEmpty()) {
        Messages::warning(QStringLiteral("Specificare prima un Nome Tabella"));
        return false;
    }
    return true;
}

namespace {
const QString kParametroMancante =
    QStringLiteral("E' necessario indicare il parametro personalizzato Database");
} // namespace

bool TWizCSDFinestra::PuoConfigurareRicerca()
{
    QString avviso;
    if (m_nomeTabella.isEmpty())
        avviso = QStringLiteral("Specificare prima un Nome Tabella");
    else if (ArchivioMancante())
        avviso = kParametroMancante;
    else if (TabCampi->Count() == 0)
        avviso = QStringLiteral("Nessun campo compilato");
    if (!avviso.isEmpty())
        Messages::warning(avviso);
    return avviso.isEmpty();
}

bool TWizCSDFinestra::PuoConfigurareRicercaCampo()
{
    const TCampoRiga *riga = TabCampi->RigaCorrente();
    if (!riga)
        return false;
    QString avviso;
    if (ArchivioMancante())
        avviso = kParametroMancante;
    else if (riga->DecodificaTabella.isEmpty())
        avviso = QStringLiteral("Specificare la tabella di decodifica");
    else if (riga->DecodificaCampoColl.isEmpty())
        avviso = QStringLiteral("Specificare il campo collegato");
    if (!avviso.isEmpty())
        Messages::warning(avviso);
    return avviso.isEmpty();
}

bool TWizCSDFinestra::PuoScegliereCodice()
{
    if (!TabForm || !TabForm->IBCSDProgetti->Connected()) {
        Messages::warning(
            QStringLiteral("Nessun database csd progetti collegato, vedi sotto menu sistema"));
        return false;
    }
    return true;
}
