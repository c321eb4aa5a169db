#pragma once

#include "ibdatabase.h"
#include "ibquery.h"
#include "memorydata.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

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

    // The current user's value under the current heading (mode 1: INI file,
    // mode 0: TABPRAVLIN); empty otherwise.
    QString CaricaParametro(const QString &Nome);
    // Stores it the same way, then rebuilds the user's parameter text.
    void SettaParametro(const QString &Nome, const QString &Valore);

    // Kept for the suite's programs: does nothing and answers 0.
    qint32 CaricaPravlin(qint32 Utente);
    // Rebuilds UTENTI.PRAVLIN of the user from the user's TABPRAVLIN rows.
    void ScriviPravlin(qint32 Utente);
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
