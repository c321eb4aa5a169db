#pragma once

#include "ibdatabase.h"
#include "ibquery.h"
#include "memorydata.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QAbstractButton;
class QWidget;
class TIBSQL;

// The table-services object the suite's programs share: never shown, it
// carries connections and services for one current user. Its public members
// are a contract with libraries built against this header; they keep their
// names and argument order.
//
// Modo tells where users live: 0 in the user database (user/user.fdb beside
// the program, opened at creation), 1 in INI files under NOMIDIT (the user
// database is opened too), 3 nowhere (no database, no folder, no pictures).
// Any other value opens the user database like 0 and finds no users.
class TTabXForm : public QObject
{
    Q_OBJECT
public:
    // Opens the user database (outside mode 3) and ensures TABSCRIPT in it.
    // When the user database cannot be opened, the error box is shown and
    // the database layer's error of the first statement ends the creation.
    TTabXForm(QWidget *AOwner, quint8 modo);
    ~TTabXForm() override;

    // ---- Components --------------------------------------------------------
    TRxMemoryData *MemTabX; // named values: Codice, Tipo, Nome, Numero, Testo, ...
    TIBDatabase *IBDatabase1;
    TIBTransaction *IBTransaction1; // the one no-wait transaction
    TIBDatabase *IBDatabase2;
    TIBDatabase *IBDatabase3;
    TIBDatabase *IBDatabase4;
    TIBTransaction *IBTransaction2;
    TIBTransaction *IBTransaction3;
    TIBTransaction *IBTransaction4;
    TIBDatabase *IBDatabaseUser;
    TIBQuery *QueryPravlin; // the working query on the user database
    TIBTransaction *TransazioneUser;
    TIBDatabase *IBDatabase5;
    TIBTransaction *IBTransaction5;

    // ---- Current user ------------------------------------------------------
    // Appends the users' names (mode 0: UTENTI by CODICE; mode 1: the
    // sections of NOMIDIT\UTENTI.INI); the list is not cleared first.
    void CaricaUser(QStringList &Lista);
    // Mode 0: false for an unknown user, true for a user without a password,
    // else the exact comparison. Other modes: true.
    bool VerificaPasswordUser(const QString &NomeUtente, const QString &Password);
    // Make that user current; true when the user was found.
    bool SetUserPerNome(const QString &Nome);
    bool SetUserPerNum(qint32 Numero);
    QString GetNomeUser() const { return NomeUser; }
    qint32 GetNumUser() const { return NumUser; }

    // ---- Named values --------------------------------------------------------
    // Testo of the named value in MemTabX; empty when the name is missing.
    QString GetV(const QString &Nome);

    // ---- Named values, TABX rows, script store and library calls ------------
    // In memory: names are found exactly, case-sensitive, the current row
    // first, then the first in order. SetV and SetM never add a name; they
    // answer whether it was there.
    QString GetM(const QString &Nome);
    bool SetV(const QString &Nome, const QString &Valore);
    bool SetM(const QString &Nome, const QString &Valore);
    // Upsert on type, name and user (an empty Utente finds a row without
    // one). Every text is converted first: one that does not convert raises
    // with the table unchanged.
    void Inserisci(const QString &Tipo, const QString &Nome, const QString &Numero,
                   const QString &Testo, const QString &Data, const QString &Memo,
                   const QString &Livello1, const QString &Livello2, const QString &Utente);
    // TABX, on IBDatabase1 with IBTransaction1: of several rows the lowest
    // CODICE answers. AggiornaParametriTabX loads the current user's "TBX"
    // rows into MemTabX.
    void AggiornaParametriTabX();
    bool VerificaEsistenzaInTabX(const QString &CodProgetto, const QString &CodSituazione,
                                 const QString &Nome);
    bool ScriviParametroInTabX(const QString &CodProgetto, const QString &CodSituazione,
                               const QString &Nome, const QString &Numero, const QString &Testo,
                               const QString &Data, const QString &Memo);
    // The six texts after Nome are the suite's and are not read.
    bool CaricaParametroDaTabX(const QString &CodProgetto, const QString &CodSituazione,
                               const QString &Nome, const QString &, const QString &,
                               const QString &, const QString &, const QString &, const QString &);
    bool AggiungiParametroInTabX(const QString &CodProgetto, const QString &CodSituazione,
                                 const QString &Nome, const QString &Numero, const QString &Testo,
                                 const QString &Data, const QString &Memo, const QString &Livello1,
                                 const QString &Livello2);
    QString ValoreTabX(const QString &Nome, bool PerUtente);
    bool SettaValoreTabX(const QString &Nome, const QString &Testo, bool PerUtente);
    QString ValoreMTabX(const QString &Nome, bool PerUtente);
    bool SettaValoreMTabX(const QString &Nome, const QString &Memo, bool PerUtente);
    // The user's value; without one, the global value, copied for the user.
    QString ValoreTabXUserCheckGen(const QString &Nome);

    // Stores the script in TABSCRIPT unless one is there; Flag "1" replaces it.
    void IniScriptForm(const QString &Progetto, const QString &ScriptForm, const QString &Contesto,
                       const QString &Utente, const QString &Script, const QString &Flag);
    // Sets "TitoloStampa" and "NomeReport", then hands the dataset to the
    // print library, which reads them through this object.
    void LanciaStampaConDll(const QString &Titolo, const QString &NomeReport, TDataSet *DataSet);
    // Calls the library's function; the library stays loaded. Answers 0.
    qint32 AvviaFunzXDll(const QString &Dll, const QString &Funzione, qint32 Parametro);
    // Records the window handle in VELMOLOGFUNZ; false on any failure.
    bool ScritturaHandleDiApertura(qint32 IdFinestra, qint32 Handle);

    // ---- Per-user parameter store -------------------------------------------
    // Writes the key into the current user's INI file at once, in any mode.
    void SettaFileIni(const QString &Sezione, const QString &Chiave, const QString &Valore);

    // ---- Connections by configured name ------------------------------------
    // IBDatabase1 ... IBDatabase5 on the path held by the named value Nome;
    // "Errore apertura archivio" when it cannot be opened.
    void ConnettiDatabase1(const QString &Nome);
    void ConnettiDatabase2(const QString &Nome);
    void ConnettiDatabase3(const QString &Nome);
    void ConnettiDatabase4(const QString &Nome);
    void ConnettiDatabase5(const QString &Nome);

    void SetRosso(const QString &Percorso) { FileRosso = Percorso; }
    void SetVerde(const QString &Percorso) { FileVerde = Percorso; }

    // ---- Editing operations, row locks, new keys, generators --------------
    // Each works on the caller's dataset (its first field is the key), that
    // dataset's database and transaction, and drives the caller's status
    // button with FileVerde / FileRosso. The four shared arguments are the
    // dataset, the remembered row, whether that row may be used and the
    // status button. Operations that run a statement need a TIBQuery: given
    // another dataset they raise EDatabaseError and touch nothing. Scratch
    // statements run on the database's default transaction. Table, key and
    // generator names go in as given (plain identifiers); values are bound.

    // The editing protocol, the same as the archive object's (editprotocol.h).
    void AggiornaTabella(TDataSet *DataSet, const TBookmark &Bookmark, bool UsaBookmark);
    void ChiudiTransazione(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                           QAbstractButton *StatusButton);
    void ChiudiTransEAggiorna(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                              QAbstractButton *StatusButton);
    // New row with a new integer key, posted and committed at once: the last
    // row's key + 1, or the table's highest + 1. Another user may draw the
    // same number: the primary key refuses the second row, the insert is
    // cancelled and rolled back, and the database's error reaches the caller
    // (whose pending changes the first save had committed already).
    void NuovoIntSuLast(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                        QAbstractButton *StatusButton);
    void NuovoIntSuMax(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                       QAbstractButton *StatusButton, const QString &Tabella);
    // New row keyed by the generator, posted, not committed (red button).
    // Tabella is not used.
    void NuovoIntSuGeneratore(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                              QAbstractButton *StatusButton, const QString &Tabella,
                              const QString &Generatore);
    // Inserts a row holding only the generator's key, commits, reopens on the
    // first row. "INSERT INTO " + Tabella, or "INSERT " + Tabella when
    // Tabella already starts with "INTO ".
    void NuovoIntSuGenSQL(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                          QAbstractButton *StatusButton, const QString &Tabella,
                          const QString &Generatore);
    // Questions asked only while the button's Tag is 1.
    void Annulla(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                 QAbstractButton *StatusButton);
    // Rereads, asks, finds the row again by key, deletes and commits; true
    // when deleted. A refused delete is rolled back before the caller goes on.
    bool Elimina(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                 QAbstractButton *StatusButton);
    // DELETE FROM Tabella and commit; a failure is rolled back.
    void Azzera(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                QAbstractButton *StatusButton, const QString &Tabella);
    // Yes leaves the changes for the caller to save; No rolls the database's
    // default transaction back and restarts it.
    void Chiudi(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                QAbstractButton *StatusButton);
    // Asks while Tag is 1, then always saves and reopens.
    void AggiornamentoDaPulsante(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                                 QAbstractButton *StatusButton);
    // For the dataset's BeforeEdit: locks the current row by rewriting its
    // key, uncommitted, and turns the button red; otherwise shows why and
    // raises EAbort, which refuses the edit silently. The lock lasts until
    // the transaction ends. It answers at once on a no-wait transaction
    // (IBTransaction1); on one that waits it waits, as the database does,
    // until that transaction's lock timeout.
    void EventoBeforeEditDataSet(TDataSet *DataSet, QAbstractButton *StatusButton,
                                 const QString &Tabella);
    // False on any failure, without a message.
    bool CreaGeneratore(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                        QAbstractButton *StatusButton, const QString &Generatore);
    bool SetGeneratore(TDataSet *DataSet, TBookmark &Bookmark, bool &BookmarkValido,
                       QAbstractButton *StatusButton, const QString &Generatore, qint32 Valore);
    // The name is compared as the server stores it (unquoted names upper case).
    bool CheckGeneratore(TDataSet *DataSet, const QString &Generatore);
    // The generator's next value on IBDatabase1 / IBTransaction1; every call
    // advances it, and no value is given twice, not even after a rollback.
    QString ValoreGeneratore(const QString &Generatore);

    // The current user's value under the current heading (mode 1: INI file,
    // mode 0: TABPRAVLIN); empty otherwise.
    QString CaricaParametro(const QString &Nome);
    // Stores it the same way, then rebuilds the user's parameter text.
    void SettaParametro(const QString &Nome, const QString &Valore);

    // Kept for the suite's programs: does nothing and answers 0.
    qint32 CaricaPravlin(qint32 Utente);
    // Rebuilds UTENTI.PRAVLIN of the user from the user's TABPRAVLIN rows.
    void ScriviPravlin(qint32 Utente);
    // Those of the codes whose stored text is not, byte for byte, the one
    // ScriviPravlin would make from their rows now (a code without a stored
    // row among them): every row and every text read in one pass, in one
    // transaction of its own. ScriviPravlin of these alone leaves the texts
    // as ScriviPravlin of every code would.
    QVector<qint32> PravlinDaRiscrivere(const QVector<qint32> &Utenti);
    // Upsert of one TABPRAVLIN row of the current user, committed at once.
    void ScriviParametroPravlin(const QString &Intestazione, const QString &Parametro,
                                const QString &Valore);

    // PROFILOSICUREZZA of the current user, 0 when missing or NULL.
    qint32 ProfiloSicurezzaUtente();

    void ConnettiDatabase0(const QString &Percorso);
    // NOMEUTENTE of that code, empty when there is none.
    QString DecodificaNomeUser(qint32 Codice);

    // ---- Lookups (mode 0 only: empty or 0 otherwise) -----------------------
    // By name, the lowest CODICE decides when several users share it.
    QString PasswordUser(const QString &Nome);
    qint32 CodiceUser(const QString &Nome);
    QString DittaUser(const QString &Nome);
    // Mode 1 derives the name from NOMIDIT\UTENTI.INI's section names: the
    // last entry holding the number's digits anywhere, from its third
    // character on, as the suite's programs name their files.
    QString NomeUserDaCodice(qint32 Numero);

private:
    // NOMIDIT\USERCFG\ + number + " " + name + ".INI" in the program folder.
    QString fileIniUtente() const;
    // The first column of the first row of a statement on QueryPravlin,
    // empty without a row; `bind` sets the parameters.
    QString primoValore(const QStringList &sql, const std::function<void(TIBQuery *)> &bind);
    QString valoreUtentePerCodice(const QString &colonna, qint32 codice);
    QString valoreUtentePerNome(const QString &colonna, const QString &nome);
    void riavviaTransazioneUser();
    void creaTabScript();
    void connettiPerNome(TIBDatabase *database, const QString &percorso);

    qint32 NumUser = 0;
    QString NomeUser;
    QString PwdUser;
    quint8 Modo;
    QString Intestazione;
    QString FileVerde;
    QString FileRosso;

    QWidget *m_owner;
    QString m_directoryProgramma; // ends with "/"
};
