#include "busycursor.h"
#include "dberrortext.h"
#include "ibquery.h"
#include "menuprogrammatest.h"
#include "programmiform.h"

#include <QCoreApplication>
#include <QPushButton>

// Two administrators on one server: a window behind the other's unsaved
// change waits for the shared transaction's lock timeout, then says that
// another administrator holds the data, before its own text and the
// database's message; nothing it began is left behind.
namespace {

class ServerConflitti : public MenuProgrammaTest
{
protected:
    void SetUp() override
    {
        useServer();
        MenuProgrammaTest::SetUp();
    }
    // The error box after the action's question: its text.
    QString erroreVisto()
    {
        rec.allowAny(false);
        EXPECT_EQ(rec.seen().size(), 2);
        const QString t = rec.seen().isEmpty() ? QString() : rec.seen().last().text;
        rec.clear();
        return t;
    }
};

} // namespace

TEST_F(ServerConflitti, MenuInsertAndProgramDeleteBehindAnotherAdministrator)
{
    voce(1, 1, "", "Uno");
    voce(1, 2, "", "Due");
    other("INSERT INTO PROGRAMMI (CODICE, NOME) VALUES (7, 'SETTE')");
    attesaBreve();
    const QStringList prima = vociCommitted();

    // The menu editor's "Inserisci" while the other has moved the entries.
    {
        auto a = inSospeso("UPDATE DETTMENU SET DESCRIZIONE='di A' WHERE PROGRAMMA=1");
        auto f = apri();
        ASSERT_TRUE(f->QueryDettMenu->Locate("MENU", 2));
        rec.expect(TMsgDlgType::Confirmation, "Inserire una nuova voce?", mrYes);
        rec.allowAny();
        f->ButtonInserisci->click();
        const QString t = erroreVisto();
        EXPECT_TRUE(t.startsWith(DbErrorText::MsgConflitto +
                                 "\rErrore interno durante il riordino dei menu\r"))
            << t.toStdString();
        EXPECT_FALSE(f->Editing());
        EXPECT_EQ(voci(), prima);
        // The wait showed the busy cursor; it goes when the event loop runs.
        EXPECT_EQ(BusyCursor::depth(), 1);
        QCoreApplication::processEvents();
        EXPECT_EQ(BusyCursor::depth(), 0);
    }
    EXPECT_EQ(vociCommitted(), prima);

    // The programs editor's delete of a program the other is editing.
    {
        auto a = inSospeso("UPDATE PROGRAMMI SET NOME='DI A' WHERE CODICE=7");
        nuovoSnapshot();
        TProgrammiForm f(nullptr, tabVar);
        ASSERT_TRUE(f.QueryProgrammi->Locate("CODICE", 7));
        rec.expect(TMsgDlgType::Confirmation, "Confermare la cancellazione del record?", mrYes);
        rec.allowAny();
        f.ButtonElimina->click();
        const QString t = erroreVisto();
        EXPECT_TRUE(t.startsWith(DbErrorText::MsgConflitto +
                                 "\rErrore interno: impossibile cancellare il record\r"))
            << t.toStdString();
    }
    EXPECT_EQ(committed("SELECT NOME FROM PROGRAMMI WHERE CODICE=7"), "SETTE");
}
