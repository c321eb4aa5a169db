#include "archivefixture.h"
#include "wizcsdsceltauserform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

// The user chooser on a real user database: the users, their current
// company and the database parameters of that company.

namespace {

class SceltaUserTest : public ArchiveTest
{
protected:
    void SetUp() override
    {
        ArchiveTest::SetUp();
        for (const char *u : {"1, 'ROSSI', 'ACME'", "2, 'BIANCHI', 'L''AZIENDA'",
                              "3, 'VERDI', NULL", "4, 'NERI', 'ACME'"})
            other(QString("INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA) VALUES (%1)").arg(u));
        const char *righe[][4] = {
            {"1", "ACME", "Archivio", "C:\\dati\\acme.fdb"},
            {"1", "ACME", "Magazzino", "\\\\server\\dati\\MAG.FDB"},
            {"1", "ACME", "Listino", "C:\\dati\\listino.gdb"},
            {"1", "ACME", "Rete", "/srv/acme.fdb"},
            {"1", "ALTRA", "Archivio", "C:\\altra\\a.fdb"},
            {"2", "L'AZIENDA", "Archivio", "D:\\b.fdb"},
            {"4", "ACME", "Rete", "/srv/acme.fdb"},
            {"4", "ACME", "Note", "C:\\note.txt"},
        };
        for (const auto &r : righe)
            other(QString("INSERT INTO TABPRAVLIN (UTENTE, INTESTAZIONE, PARAMETRO, VALORE) "
                          "VALUES (%1, '%2', '%3', '%4')")
                      .arg(r[0], QString(r[1]).replace("'", "''"), r[2], r[3]));
        nuovoSnapshot();
    }
    void scegli(TWizCSDSceltaUserForm &f, const QString &nome)
    {
        f.ComboUtenti->setCurrentIndex(f.ComboUtenti->findText(nome));
    }
};

} // namespace

TEST_F(SceltaUserTest, ShowsTheCompanysDatabaseParametersAndRefusesWhatCannotBeTried)
{
    TWizCSDSceltaUserForm f(nullptr, tab.get());
    ASSERT_GE(f.ComboUtenti->count(), 4);
    EXPECT_LT(f.ComboUtenti->findText("BIANCHI"), f.ComboUtenti->findText("ROSSI"));
    EXPECT_EQ(f.ComboUtenti->currentIndex(), -1);
    EXPECT_EQ(f.GetUtenteSelezionato(), 0);

    scegli(f, "ROSSI");
    EXPECT_EQ(f.EditDittaCorrente->text(), "ACME");
    QStringList linee = f.Parametri().split("\r\n");
    EXPECT_EQ(linee.takeLast(), "");
    linee.sort();
    EXPECT_EQ(linee,
              QStringList({"Archivio=C:\\dati\\acme.fdb", "Magazzino=\\\\server\\dati\\MAG.FDB"}));

    // The company's apostrophe is part of its name.
    scegli(f, "BIANCHI");
    EXPECT_EQ(f.EditDittaCorrente->text(), "L'AZIENDA");
    EXPECT_EQ(f.Parametri(), "Archivio=D:\\b.fdb\r\n");
    EXPECT_EQ(f.GetUtenteSelezionato(), 2);

    const int result = mostra(f, [&] {
        scegli(f, "VERDI");
        rec.expect(TMsgDlgType::Warning,
                   "L'utente selezionato non ha una ditta corrente impostata");
        f.ButtonOk->click();
        scegli(f, "NERI");
        EXPECT_EQ(f.Parametri(), "");
        rec.expect(TMsgDlgType::Warning,
                   "L'utente selezionato non ha dei parametri con archivi FB");
        f.ButtonOk->click();
        f.ComboUtenti->setCurrentIndex(-1);
        EXPECT_EQ(f.EditDittaCorrente->text(), "");
        rec.expect(TMsgDlgType::Warning, "Nessun utente selezionato");
        f.ButtonOk->click();
        EXPECT_EQ(f.result(), 0);
        scegli(f, "ROSSI");
        f.ButtonOk->click();
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(f.GetUtenteSelezionato(), 1);
}

TEST_F(SceltaUserTest, ADatabaseErrorIsReportedAndTheWindowStays)
{
    TWizCSDSceltaUserForm f(nullptr, tab.get());
    scegli(f, "ROSSI");
    tab->IBDatabase1->Close();
    rec.allowAny();
    scegli(f, "BIANCHI");
    ASSERT_EQ(rec.seen().size(), 1);
    EXPECT_EQ(rec.seen().first().kind, TMsgDlgType::Error);
    EXPECT_EQ(f.ComboUtenti->currentText(), "BIANCHI");
}
