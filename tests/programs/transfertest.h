#pragma once

#include "programstest.h"

#include <QByteArray>
#include <QStringList>
#include <QVariantMap>

// The transfer windows' tests: rows made through another connection with
// bound values, tables read back as text, files in the scratch folder.
class TransferTest : public ProgramsTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // One committed row; NULL for an invalid value.
    void inserisci(const QString &tabella, const QVariantMap &valori);
    void progetto(int codice, const QString &nome);
    void collega(int progetto, int programma);
    // A menu entry with the given columns (PROGRAMMA and MENU always).
    void voce(int programma, int menu, const QVariantMap &altri = {});
    // Every row of the statement, its columns joined by "|", NULL as "<null>".
    QStringList righe(const QString &sql);
    QStringList programmi() { return righe("SELECT * FROM PROGRAMMI ORDER BY CODICE"); }
    QStringList menu()
    {
        return righe("SELECT PROGRAMMA, MENU, MENUPREC, LIVELLOMENU, DESCRIZIONE, DLL, FUNZIONE, "
                     "NOTE, LIVELLO2VERSIONE, PARAMETRI, VISIBILE, VOCERAPIDA, PARAMETRIBLOB "
                     "FROM DETTMENU ORDER BY PROGRAMMA, MENU");
    }
    QString percorso(const QString &nome) const { return cartella() + nome; }
    void scrivi(const QString &nome, const QByteArray &contenuto);
    QByteArray leggi(const QString &nome) const;
    // The next file dialog answers this path (empty: cancelled).
    void risposta(const QString &percorso);

    // The user database's file, also once the archive object is gone.
    QString percorsoDb;
};

// A line of a transfer file from its fields as they stand in the file.
QByteArray linea(const QStringList &campi);
extern const QByteArray kIntestazione;
