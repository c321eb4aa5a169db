#pragma once

#include "archivefixture.h"
#include "menuprogrammaform.h"

#include <QStringList>
#include <functional>
#include <memory>

class QDialog;

// The menu grid editor on a scratch user database whose DETTMENU has
// PARAMETRIBLOB, as the programs editor leaves it.
class MenuProgrammaTest : public ArchiveTest
{
protected:
    void SetUp() override;

    // One committed entry of a program; an empty parent is NULL.
    void voce(int programma, int menu, const QString &padre, const QString &descrizione,
              int livello = 0, int visibile = 1);
    std::unique_ptr<TMenuProgrammaForm> apri(const QString &programma = "1");
    // Entries of program 1 in code order as "MENU|MENUPREC|LIVELLOMENU|
    // DESCRIZIONE", as the shared transaction sees them or as committed.
    QStringList voci() { return righe(kVoci); }
    QStringList vociCommitted() { return righeCommitted(kVoci); }
    int menuCorrente(TMenuProgrammaForm &f);
    // Answers the next modal window: runs `drive` on it and returns what
    // the window's buttons left as its result.
    void rispondi(const std::function<void(QDialog *)> &drive);

    static const QString kVoci;
};
