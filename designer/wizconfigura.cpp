#include "wizcsdfinestra.h"

#include "csdfinestre.h"
#include "ibdatabase.h"
#include "messages.h"
#include "wizcsdricercaform.h"
#include "wizcsdstampaform.h"

// The "Configura" buttons: each hands the stored text, read into its object,
// to its sub-wizard and keeps what comes back on OK.

void TWizCSDFinestra::nuovaRicerca(TCSDRicerca &ricerca) const
{
    ricerca.ParametroArchivio = ParametroArchivio();
    // A loaded script that named its database by path: the search opens
    // the same database.
    ricerca.PercorsoArchivio = m_percorsoArchivio;
}

void TWizCSDFinestra::ConfiguraStampa()
{
    if (!PuoConfigurareStampa())
        return;
    TCSDStampaOld stampa;
    if (!m_xmlStampa.isEmpty())
        stampa.SetXML(m_xmlStampa);
    TWizCSDStampaForm form(m_owner, &stampa, m_nomeTabella);
    if (Modal::exec(&form) == mrOk)
        SetXMLStampa(stampa.GetXML());
}

void TWizCSDFinestra::ConfiguraRicerca()
{
    if (!PuoConfigurareRicerca())
        return;
    TCSDRicerche ricerca;
    if (!m_xmlRicerca.isEmpty()) {
        ricerca.SetXML(m_xmlRicerca);
    } else {
        nuovaRicerca(ricerca);
        ricerca.NomeTabella = m_nomeTabella;
    }
    QStringList nomi;
    for (int i = 0; i < TabCampi->Count(); ++i)
        nomi.append(TabCampi->Riga(i).Nome);
    TWizCSDRicercaForm form(m_owner, &ricerca);
    form.SetNomiScelta(nomi);
    if (Modal::exec(&form) == mrOk)
        SetXMLRicerca(ricerca.GetXML());
}

void TWizCSDFinestra::ConfiguraRicercaCampo()
{
    if (!PuoConfigurareRicercaCampo())
        return;
    const int riga = TabCampi->Corrente();
    const TCampoRiga campo = TabCampi->Riga(riga);
    TCSDRicercaSecLiv ricerca;
    if (!campo.RicercaScript.isEmpty()) {
        ricerca.SetXML(campo.RicercaScript);
    } else {
        nuovaRicerca(ricerca);
        ricerca.NomeTabella = campo.DecodificaTabella;
        ricerca.CampiRitorno = QStringList{campo.DecodificaCampoColl};
    }
    QStringList colonne;
    if (DatabaseRif->Connected())
        CaricaCampiTabella(campo.DecodificaTabella, colonne);
    TWizCSDRicercaForm form(m_owner, &ricerca);
    form.SetNomiScelta(colonne);
    if (Modal::exec(&form) == mrOk) {
        const QString xml = ricerca.GetXML();
        TabCampi->Modifica(riga, [&xml](TCampoRiga &r) { r.RicercaScript = xml; });
    }
}
