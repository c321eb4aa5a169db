#include "schema.h"

namespace Schema {
namespace {

SchemaStatement table(const QString &name, const QStringList &lines)
{
    return {name, lines,
            QStringLiteral("Errore interno durante la creazione della tabella ") + name};
}

} // namespace

const QVector<SchemaStatement> &userDatabase()
{
    static const QVector<SchemaStatement> statements = {
        table("DETTPROF",
              {"CREATE TABLE DETTPROF(", "PROFILO SMALLINT NOT NULL,",
               "PROGRAMMA SMALLINT NOT NULL,", "MENU SMALLINT NOT NULL,", "LIVELLO SMALLINT,",
               "CONSTRAINT DETTPROF_CHIAVEPRIMARIA PRIMARY KEY", "(PROFILO,PROGRAMMA,MENU))"}),
        table("DETTPROGETTI",
              {"CREATE TABLE DETTPROGETTI(", "PROGETTO SMALLINT NOT NULL,",
               "PROGRAMMA SMALLINT NOT NULL,", "CONSTRAINT DETTPROGETTI_CHIAVEPRIMARIA PRIMARY KEY",
               "(PROGETTO,PROGRAMMA))"}),
        table("DETTMENU", {"CREATE TABLE DETTMENU(", "PROGRAMMA SMALLINT NOT NULL,",
                           "MENU SMALLINT NOT NULL,", "MENUPREC SMALLINT,", "LIVELLOMENU SMALLINT,",
                           "DESCRIZIONE VARCHAR(64),", "DLL VARCHAR(20),", "FUNZIONE VARCHAR(30),",
                           "NOTE BLOB SUB_TYPE 0,", "LIVELLO2VERSIONE SMALLINT,",
                           "PARAMETRI VARCHAR(256),", "VISIBILE SMALLINT,", "VOCERAPIDA SMALLINT,",
                           "CONSTRAINT DETTMENU_CHIAVEPRIMARIA PRIMARY KEY", "(PROGRAMMA,MENU))"}),
        table("VELMOLOG", {"CREATE TABLE VELMOLOG (", "CODICESESSIONE INTEGER NOT NULL,",
                           "DATAAPERTURA DATE,", "ORAAPERTURA TIME,", "CODICEUTENTE INTEGER,",
                           "DATACHIUSURA DATE,", "ORACHIUSURA TIME,",
                           "CONSTRAINT VELMOLOG_CHIAVEPRIMARIA PRIMARY KEY(CODICESESSIONE))"}),
        {"CODICESESSIONEVELMOLOG",
         {"CREATE GENERATOR CODICESESSIONEVELMOLOG"},
         "Errore interno durante la creazione del generatore CODICESESSIONEVELMOLOG"},
        table("VELMOLOGFUNZ",
              {"CREATE TABLE VELMOLOGFUNZ (", "CODICESESSIONE INTEGER NOT NULL,",
               "DATACHIAMATAFUNZIONE DATE NOT NULL,", "ORACHIAMATAFUNZIONE TIME NOT NULL,",
               "FUNZIONECHIAMATA VARCHAR(30),",
               "CONSTRAINT VELMOLOGFUNZ_CHIAVEPRIMARIA PRIMARY KEY",
               "(CODICESESSIONE,DATACHIAMATAFUNZIONE,ORACHIAMATAFUNZIONE))"}),
        table("PROFILI",
              {"CREATE TABLE PROFILI(", "CODICE SMALLINT NOT NULL,", "DESCRIZIONE VARCHAR(64),",
               "LIVELLOPREDEFINITO SMALLINT,", "NOTE BLOB SUB_TYPE 1,", "TIPO VARCHAR(15),",
               "CONSTRAINT PROFILI_CHIAVEPRIMARIA PRIMARY KEY(CODICE))"}),
        table("PROGETTI", {"CREATE TABLE PROGETTI(", "CODICE SMALLINT NOT NULL,",
                           "NOME VARCHAR(15),", "DESCRIZIONE VARCHAR(64),",
                           "CONSTRAINT PROGETTI_CHIAVEPRIMARIA PRIMARY KEY", "(CODICE))"}),
        table("PROGRAMMI", {"CREATE TABLE PROGRAMMI(", "CODICE SMALLINT NOT NULL,",
                            "NOME VARCHAR(15),", "DESCRIZIONE VARCHAR(64),", "ICONA VARCHAR(64),",
                            "CONSTRAINT PROGRAMMI_CHIAVEPRIMARIA PRIMARY KEY", "(CODICE))"}),
        table("STOPOS1", {"CREATE TABLE STOPOS1(", "CODICEPROGETTO SMALLINT NOT NULL,",
                          "CODICESITUAZIONE SMALLINT NOT NULL,", "CODICEUTENTE SMALLINT NOT NULL,",
                          "POSX SMALLINT,", "POSY SMALLINT,", "DIMX SMALLINT,", "DIMY SMALLINT,",
                          "INFO1 FLOAT,", "INFO2 FLOAT,", "INFO3 SMALLINT,", "INFO4 SMALLINT,",
                          "INFO5 VARCHAR(10),", "INFO6 VARCHAR(10),",
                          "CONSTRAINT STOPOS1_CHIAVEPRIMARIA PRIMARY KEY",
                          "(CODICEPROGETTO,CODICESITUAZIONE,CODICEUTENTE));"}),
        // PROGRESSIVO keeps the order of a user's parameters as typed.
        table("TABPRAVLIN",
              {"CREATE TABLE TABPRAVLIN(", "UTENTE SMALLINT NOT NULL,",
               "INTESTAZIONE VARCHAR(64) NOT NULL,", "PARAMETRO VARCHAR(64) NOT NULL,",
               "VALORE VARCHAR(256),", "PROGRESSIVO INTEGER,",
               "CONSTRAINT TABPRAVLIN_CHIAVEPRIMARIA PRIMARY KEY",
               "(UTENTE,INTESTAZIONE,PARAMETRO));"}),
        table("UTENTI",
              {"CREATE TABLE UTENTI(", "CODICE SMALLINT NOT NULL,", "NOMEUTENTE VARCHAR(20),",
               "PWDUTENTE VARCHAR(80),", "PROFILOSICUREZZA SMALLINT,", "PROGETTO SMALLINT,",
               "DESCRIZIONE VARCHAR(128),", "EMAIL VARCHAR(128),", "NOTE BLOB SUB_TYPE 1,",
               "INFO1 VARCHAR(10),", "INFO2 VARCHAR(10),", "PRAVLIN BLOB SUB_TYPE 1,",
               "DITTA VARCHAR(64),", "MANTIENISTDMIN SMALLINT,", "ABILITASCELTADISCO SMALLINT,",
               "ULTIMODISCOSCELTO VARCHAR(1),", "ACCESSOPRAVLIN Smallint,",
               "UTENTEINATTIVO Smallint,",
               "CONSTRAINT UTENTI_CHIAVEPRIMARIA PRIMARY KEY(CODICE));"}),
    };
    return statements;
}

QStringList impostazioniVelmoUser()
{
    return {"CREATE TABLE IMPOSTAZIONIVELMOUSER(", "ID INTEGER NOT NULL,",
            "DBCSDPROGETTI VARCHAR(256),", "CONSTRAINT IMPOSTAZIONIVELMOUSER_PK PRIMARY KEY(ID)",
            ")"};
}

QStringList tabx()
{
    return {"CREATE TABLE TABX(",    "CODICE Integer NOT NULL,",
            "CODPROGETTO Smallint,", "CODSITUAZIONE Smallint,",
            "TIPO Varchar(10),  ",   "NOME Varchar(64),",
            "NUMERO Integer, ",      "TESTO Varchar(128),",
            "DATA Date, ",           "MEMO Blob sub_type 0, ",
            "LIVELLO1 Smallint,",    "LIVELLO2 Smallint, ",
            "UTENTE Smallint, ",     "CONSTRAINT TABX_CHIAVEPRIMARIA PRIMARY KEY (CODICE))"};
}

QStringList codiceTabxCounter()
{
    return {"CREATE GENERATOR CODICETABXCOUNTER"};
}

const QVector<CsdObject> &csdProgetti()
{
    static const QVector<CsdObject> objects = {
        {"PROGETTI",
         false,
         {"CREATE TABLE PROGETTI(", "CODICE INTEGER NOT NULL,", "DESCRIZIONE VARCHAR(128),",
          "DLLRIF VARCHAR(20),", "NOTEPROGETTO BLOB SUB_TYPE TEXT,",
          "CONSTRAINT PROGETTI_PK PRIMARY KEY(CODICE)", ")"}},
        {"CODICEPROGETTICOUNTER", true, {"CREATE GENERATOR CODICEPROGETTICOUNTER"}},
        {"SITUAZIONI",
         false,
         {"CREATE TABLE SITUAZIONI(", "CODICE INTEGER NOT NULL,", "DESCRIZIONE VARCHAR(128),",
          "TIPO VARCHAR(10),", "FUNZIONECHIAMATAFORM VARCHAR(30),",
          "XMLCSDFORM BLOB SUB_TYPE TEXT,", "NOTESITUAZIONE BLOB SUB_TYPE TEXT,",
          "CONSTRAINT SITUAZIONI_PK PRIMARY KEY(CODICE)", ")"}},
        {"CODICESITUAZIONICOUNTER", true, {"CREATE GENERATOR CODICESITUAZIONICOUNTER"}},
    };
    return objects;
}

} // namespace Schema
