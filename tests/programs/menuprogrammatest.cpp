#include "menuprogrammatest.h"

#include "ibquery.h"
#include "messages.h"

#include <QDialog>

const QString MenuProgrammaTest::kVoci =
    "SELECT MENU, MENUPREC, LIVELLOMENU, DESCRIZIONE FROM DETTMENU WHERE PROGRAMMA=1 "
    "ORDER BY MENU";

void MenuProgrammaTest::SetUp()
{
    ArchiveTest::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    other("ALTER TABLE DETTMENU ADD PARAMETRIBLOB BLOB SUB_TYPE TEXT");
}

void MenuProgrammaTest::voce(int programma, int menu, const QString &padre,
                             const QString &descrizione, int livello, int visibile)
{
    other(QString("INSERT INTO DETTMENU (PROGRAMMA, MENU, MENUPREC, LIVELLOMENU, DESCRIZIONE, "
                  "VISIBILE) VALUES (%1, %2, %3, %4, '%5', %6)")
              .arg(programma)
              .arg(menu)
              .arg(padre.isEmpty() ? "NULL" : padre)
              .arg(livello)
              .arg(descrizione)
              .arg(visibile));
}

std::unique_ptr<TMenuProgrammaForm> MenuProgrammaTest::apri(const QString &programma)
{
    nuovoSnapshot();
    return std::make_unique<TMenuProgrammaForm>(nullptr, tabVar, programma);
}

int MenuProgrammaTest::menuCorrente(TMenuProgrammaForm &f)
{
    return f.QueryDettMenu->FieldByName("MENU")->AsInteger();
}

void MenuProgrammaTest::rispondi(const std::function<void(QDialog *)> &drive)
{
    Modal::setRunner([drive](QDialog *d) {
        drive(d);
        return d->result();
    });
}
