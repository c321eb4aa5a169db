#include "wizcsdfinestra.h"

#include "csdformy.h"
#include "guard.h"
#include "ibdatabase.h"
#include "messages.h"
#include "nomecampo.h"
#include "wizcsdfinestrascripttabellaform.h"
#include "wizcsdsceltauserform.h"
#include "wizcsdstampaform.h"

// What the wizard checks before it hands a script back or tries it, how a
// new field is named, and the create-table script.

bool TWizCSDFinestra::Verifica(QString &messaggio)
{
    messaggio.clear();
    if (ArchivioMancante())
        messaggio = QStringLiteral("E' necessario indicare il parametro personalizzato Database");
    else if (m_nomeTabella.isEmpty())
        messaggio = QStringLiteral("Manca il nome tabella");
    else if (m_creaTabella && m_scriptCreaTabella.isEmpty())
        messaggio = QStringLiteral("E' stato scelto di creare la tabella se manca, ma non è stato "
                                   "configurato lo script SQL di appoggio");
    else if (!m_campoGeneratore.isEmpty() && m_generatore.isEmpty())
        messaggio = QStringLiteral("Per l'autoincremento di un campo, è necessario specificare "
                                   "anche il generatore di appoggio");
    else if (m_stampa && m_xmlStampa.isEmpty())
        messaggio = QStringLiteral("E' stata abilitata la funzione di stampa, ma non è stato "
                                   "configurato lo script XML di appoggio");
    if (messaggio.isEmpty() && m_stampa) {
        try {
            VerificaStampa(m_xmlStampa);
        } catch (const std::exception &e) {
            messaggio = QStringLiteral("Script stampa non valido:\r") + Guard::messageOf(e);
        }
    }
    if (!messaggio.isEmpty())
        return false;
    if (m_ricerca && m_xmlRicerca.isEmpty())
        messaggio = QStringLiteral("E' stata abilitata la funzione di ricerca, ma non è stato "
                                   "configurato lo script XML di appoggio");
    else if (TabCampi->Count() == 0)
        messaggio = QStringLiteral("Nessun campo compilato");
    if (!messaggio.isEmpty())
        return false;

    for (int i = 0; i < TabCampi->Count(); ++i) {
        const TCampoRiga &r = TabCampi->Riga(i);
        QString coda;
        if (r.Decodifica == 1 && r.DecodificaTabella.isEmpty())
            coda = QStringLiteral(" ha la decodifica attiva ma non è stata specificata la "
                                  "tabella collegata");
        else if (r.Decodifica == 1 && r.DecodificaCampoColl.isEmpty())
            coda = QStringLiteral(" ha la decodifica attiva ma non è stato specificato il "
                                  "campo collegato");
        else if (r.Decodifica == 1 && r.DecodificaCampoDec.isEmpty())
            coda = QStringLiteral(" ha la decodifica attiva ma non è stato specificato il "
                                  "campo da decodificare");
        else if (r.Ricerca == 1 && r.RicercaScript.isEmpty())
            coda = QStringLiteral(" ha la ricerca attiva ma non è stato configurato lo script "
                                  "XML di appoggio");
        if (!coda.isEmpty()) {
            TabCampi->SetCorrente(i);
            messaggio = QStringLiteral("Il campo \"") + r.Nome + QLatin1Char('"') + coda;
            return false;
        }
    }
    TabCampi->SetCorrente(0);
    return true;
}

bool TWizCSDFinestra::Conferma()
{
    QString messaggio;
    if (!Verifica(messaggio)) {
        Messages::warning(messaggio);
        return false;
    }
    // A script that cannot be composed has shown why; the wizard stays.
    return !ComponiXML().isEmpty();
}

void TWizCSDFinestra::Memorizza()
{
    const int corrente = TabCampi->Corrente();
    QString messaggio;
    if (!Verifica(messaggio)) {
        Messages::warning(messaggio);
        return;
    }
    TabCampi->SetCorrente(corrente);
}

void TWizCSDFinestra::TestaFinestra()
{
    QString messaggio;
    if (!Verifica(messaggio)) {
        Messages::warning(messaggio);
        return;
    }
    qint32 utente = 0;
    {
        TWizCSDSceltaUserForm scelta(m_owner, TabForm);
        if (Modal::exec(&scelta) != mrOk)
            return;
        utente = scelta.GetUtenteSelezionato();
    }
    try {
        const QString script = ComponiXML();
        if (!script.isEmpty())
            EseguiShowCSDFormY(script, utente);
    } catch (const std::exception &e) {
        Messages::error(QStringLiteral("Apertura fallita\r") + Guard::messageOf(e));
    }
}

QString TWizCSDFinestra::ChiediNomeCampo()
{
    QStringList colonne;
    if (DatabaseRif->Connected() && !m_nomeTabella.isEmpty())
        CaricaCampiTabella(m_nomeTabella, colonne);
    return NomeCampo::Chiedi(TabCampi, colonne, m_owner);
}

void TWizCSDFinestra::ConfiguraScriptTabella()
{
    auto form =
        DatabaseRif->Connected()
            ? TWizCSDFinestraScriptTabellaForm::CreaConDatabase(m_owner, DatabaseRif, m_nomeTabella)
            : std::make_unique<TWizCSDFinestraScriptTabellaForm>(m_owner);
    form->SetScript(m_scriptCreaTabella);
    if (Modal::exec(form.get()) == mrOk)
        SetScriptCreaTabella(form->GetScript());
}
