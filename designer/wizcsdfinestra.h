#pragma once

#include "campitabella.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class QWidget;
class TCSDCampoPosList;
class TCSDRicerca;
class TIBDatabase;
class TIBTransaction;
class TTabForm;

// The window wizard without its window: the inputs as the window shows them,
// with the rules by which they read and are set, the field table and its row
// operations, and the moves between inputs, model and script text. Questions
// and warnings go through the message and input-box seams.
class TWizCSDFinestra : public QObject
{
    Q_OBJECT
public:
    // The three radios of the group "Database".
    enum class Archivio { Archivio, DirectoryListino, Personalizzato };

    TWizCSDFinestra(TTabForm *tabForm, QWidget *owner = nullptr);
    ~TWizCSDFinestra() override;

    TTabForm *const TabForm;
    // The wizard's own connection to a reference database, open only after
    // CaricaTabella; its transaction only reads.
    TIBDatabase *const DatabaseRif;
    TIBTransaction *const TransactionRif;
    TCampiTabella *const TabCampi;

    // --- Operations
    void Azzera();
    // False when the text is not a window script; nothing changes then.
    bool CaricaXML(const QString &testo);
    // Opens the reference database and adds one row per column of the table.
    // A database that does not open adds nothing.
    void CaricaTabella(const QString &percorsoDatabase, const QString &nomeTabella);
    // The script of the inputs and rows; empty, after an error box, when a
    // text holds a character the suite's database cannot store. Raises when
    // a checked print or search text does not read.
    QString ComponiXML();
    bool ApriDatabaseRif(const QString &percorsoDatabase);
    // Appends the table's columns in their order; nothing without a reference
    // database.
    void CaricaCampiTabella(const QString &nomeTabella, QStringList &lista);
    void AggiungiCampo(int posizione, const QString &nome);
    void RinumeraCampi(const QString &nome, int primaPosizione);
    // Stores the values into the current row.
    void SalvaValoriCombo(const QStringList &valori);

    // --- Inputs and their accessors
    Archivio SceltaArchivio() const { return m_archivio; }
    QString ParametroPers() const { return m_parametroPers; }
    // The path of a loaded script that named its database by path; shown in
    // the custom parameter's edit, read-only, until a radio is chosen or a
    // parameter is set.
    QString PercorsoArchivio() const { return m_percorsoArchivio; }
    QString ParametroArchivio() const;
    void SetParametroArchivio(const QString &valore);
    // A radio chosen by the administrator.
    void ScegliArchivio(Archivio scelta);
    void SetParametroPers(const QString &testo);
    // True when neither a parameter nor a kept path names the database.
    bool ArchivioMancante() const;

    QString NomeTabella() const { return m_nomeTabella; }
    void SetNomeTabella(const QString &testo);
    QString Titolo() const { return m_titolo; }
    void SetTitolo(const QString &testo);

    bool CreaTabellaAttiva() const { return m_creaTabella; }
    void SetCreaTabellaAttiva(bool si);
    QString TestoCreaTabella() const { return m_scriptCreaTabella; }
    // The create-table script, empty while "No" is checked.
    QString ScriptCreaTabella() const;
    void SetScriptCreaTabella(const QString &script);

    // The three numbers as their edits hold them; 0 is an empty edit.
    QString TestoCodiceProgetto() const { return m_codiceProgetto; }
    QString TestoSituazioneGriglia() const { return m_situazioneGriglia; }
    QString TestoSituazioneFinestra() const { return m_situazioneFinestra; }
    void SetTestoCodiceProgetto(const QString &testo);
    void SetTestoSituazioneGriglia(const QString &testo);
    // Another window situation than the loaded one forgets the loaded
    // project of the window situation.
    void SetTestoSituazioneFinestra(const QString &testo);
    qint32 CodiceProgetto() const;
    qint32 SituazioneGriglia() const;
    qint32 SituazioneFinestra() const;
    void SetCodiceProgetto(qint32 valore);
    void SetSituazioneGriglia(qint32 valore);
    void SetSituazioneFinestra(qint32 valore);
    qint32 CodiceProgettoForm() const { return m_codiceProgettoForm; }

    // The special-field combos: the empty item, then the row names as rows
    // were added (the image field's sorted).
    QStringList VociCampoGeneratore() const;
    QStringList VociCampoImmagine() const;
    QStringList VociCampoFile() const;
    QString CampoGeneratore() const { return m_campoGeneratore; }
    QString CampoImmagine() const { return m_campoImmagine; }
    QString CampoFile() const { return m_campoFile; }
    void SetCampoGeneratore(const QString &nome);
    void SetCampoImmagine(const QString &nome);
    void SetCampoFile(const QString &nome);

    // Free text until a reference database is open, then a list.
    bool GeneratoreSoloLista() const { return m_generatoreLista; }
    QStringList VociGeneratore() const { return m_vociGeneratori; }
    QString Generatore() const { return m_generatore; }
    void SetGeneratore(const QString &testo);

    bool StampaAttiva() const { return m_stampa; }
    void SetStampaAttiva(bool si);
    QString XMLStampa() const;
    QString TestoXMLStampa() const { return m_xmlStampa; }
    void SetXMLStampa(const QString &xml);
    bool RicercaAttiva() const { return m_ricerca; }
    void SetRicercaAttiva(bool si);
    QString XMLRicerca() const;
    QString TestoXMLRicerca() const { return m_xmlRicerca; }
    void SetXMLRicerca(const QString &xml);

    bool SoloConsultazione() const { return m_soloConsultazione; }
    void SetSoloConsultazione(bool si);

    // --- Rows and the field detail
    bool DettaglioAbilitato() const { return TabCampi->Count() > 0; }
    // A new field name, empty when the administrator gave up: picked from
    // the table's columns while a reference database is open and the table
    // is named, typed otherwise.
    QString ChiediNomeCampo();
    void Nuovo();
    void Inserisci();
    void Elimina();
    void AzzeraCampi();
    void SetTipo(int tipo);
    void AggiungiValore();
    void RimuoviValore(int selezionato);
    void SetDecodifica(bool si);
    void SetRicercaCampo(bool si);
    void SetDecodificaTabella(const QString &tabella);
    void SetDecodificaCampoColl(const QString &campo);
    void SetDecodificaCampoDec(const QString &campo);
    void SetDecodificaCampoEtich(const QString &etichetta);
    // List only once a reference database is open.
    bool DecodificaSoloLista() const { return m_decodificaLista; }
    QStringList VociTabelle() const { return m_tabelle; }
    // The columns of the current row's decoding table.
    QStringList VociColonneDecodifica() const { return m_colonneDecodifica; }

    // --- Checks before the buttons that open another window; each shows
    // its warning and answers false.
    bool PuoConfigurareStampa();
    bool PuoConfigurareRicerca();
    bool PuoConfigurareRicercaCampo();
    // The code buttons need the CSD projects database.
    bool PuoScegliereCodice();

    // --- The "Configura" buttons: past their checks, the print settings,
    // the window's search or the current field's search in their wizard;
    // what it composes is stored on OK.
    void ConfiguraStampa();
    void ConfiguraRicerca();
    void ConfiguraRicercaCampo();
    // "Script": the create-table script in its dialog, stored on OK.
    void ConfiguraScriptTabella();

    // --- Verification and the closing buttons
    // False with the first failing check's message; a failing row becomes
    // current, and the first row when every check passes.
    bool Verifica(QString &messaggio);
    // "Ok": true when the script passes the checks and can be composed;
    // otherwise the reason has been shown.
    bool Conferma();
    // "&Memorizza": the checks, with the current row kept when they pass.
    void Memorizza();
    // "Testa finestra": past the checks, the script is tried through the
    // forms library for a chosen user; a failure is shown and changes
    // nothing.
    void TestaFinestra();

signals:
    // An input's value, items or style changed.
    void inputsChanged();

private:
    void changed() { emit inputsChanged(); }
    void modificaCorrente(const std::function<void(TCampoRiga &)> &cambia);
    void rimuoviVoce(const QString &nome);
    void ricaricaColonneDecodifica();
    // Where a new search finds its database: as the window's.
    void nuovaRicerca(TCSDRicerca &ricerca) const;
    bool caratteriAmmessi();
    // The NOME column of a catalogue statement, with :TABELLA bound when given.
    QStringList interroga(const QStringList &sql, const QString *tabella = nullptr);

    QWidget *m_owner;
    Archivio m_archivio = Archivio::Archivio;
    QString m_parametroPers;
    QString m_percorsoArchivio;
    QString m_nomeTabella;
    QString m_titolo;
    bool m_creaTabella = false;
    QString m_scriptCreaTabella;
    QString m_codiceProgetto;
    QString m_situazioneGriglia;
    QString m_situazioneFinestra;
    qint32 m_codiceProgettoForm = 0;
    qint32 m_situazioneFormCaricata = 0;
    std::unique_ptr<TCSDCampoPosList> m_posizionaCampo;
    QStringList m_nomiCampi;
    QString m_campoGeneratore;
    QString m_campoImmagine;
    QString m_campoFile;
    bool m_generatoreLista = false;
    QStringList m_vociGeneratori;
    QString m_generatore;
    bool m_stampa = false;
    QString m_xmlStampa;
    bool m_ricerca = false;
    QString m_xmlRicerca;
    bool m_soloConsultazione = false;
    bool m_decodificaLista = false;
    QStringList m_tabelle;
    QStringList m_colonneDecodifica;
};
