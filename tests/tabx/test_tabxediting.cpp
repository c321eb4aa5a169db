#include "dataerrors.h"
#include "ibquery.h"
#include "messagerecorder.h"
#include "serverdb.h"
#include "sqlgen.h"
#include "tabxform.h"
#include "tag.h"
#include "testdb.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// The editing operations on a caller's query over IBDatabase1 / IBTransaction1,
// with a second connection as another user of the same file.
namespace {

const QString kAltri = "Attenzione: altri utenti stanno lavorando su questo record. Provare ad "
                       "aggiornare la griglia. Nel caso in cui questo messaggio riapparisse, "
                       "provare ad editare il record in un secondo momento.";
const QString kGiaCancellato =
    "Questo record è già stato cancellato da un altro utente in un'altra sessione di lavoro";

class TabXEditing : public ::testing::Test
{
protected:
    void SetUp() override { prepara(dir.path() + "/ditta.fdb"); }

    void prepara(const QString &nome)
    {
        TIBDatabase crea;
        crea.DatabaseName = nome;
        crea.Params = {"USER \"SYSDBA\"", "PASSWORD \"plumtree7\"", "PAGE_SIZE 4096"};
        crea.CreateDatabase();
        crea.Close();
        OtherConnection schema(nome);
        for (const char *sql :
             {"CREATE TABLE ARTICOLI (CODICE INTEGER NOT NULL PRIMARY KEY, DESCRIZIONE "
              "VARCHAR(20))",
              "CREATE TABLE SIGLE (SIGLA VARCHAR(10) NOT NULL PRIMARY KEY, NOTE VARCHAR(20))",
              "CREATE GENERATOR GEN_ARTICOLI", "INSERT INTO ARTICOLI VALUES (1, 'uno')",
              "INSERT INTO ARTICOLI VALUES (2, 'due')", "INSERT INTO ARTICOLI VALUES (3, 'tre')",
              "INSERT INTO SIGLE VALUES ('L''X', 'apostrofo')"})
            schema.exec(sql);
        x = std::make_unique<TTabXForm>(nullptr, 3);
        x->IBDatabase1->DatabaseName = nome;
        x->IBDatabase1->Params = connectionParams();
        x->IBDatabase1->Open();
        altro = std::make_unique<OtherConnection>(nome, QStringList{"nowait"});
        apri("ARTICOLI", "CODICE");
    }
    // The caller's query with statements generated from its columns; its
    // BeforeEdit takes the row lock.
    void apri(const QString &tabella, const QString &chiave, const QString &dove = QString())
    {
        query = std::make_unique<TIBQuery>();
        query->setDatabase(x->IBDatabase1);
        query->setTransaction(x->IBTransaction1);
        query->SQL = {"SELECT * FROM " + tabella + dove + " ORDER BY " + chiave};
        GeneraSQLAggiornamento(query.get(), tabella, "UPDATE", &update);
        update.ModifySQL << "WHERE " + chiave + "=:OLD_" + chiave;
        GeneraSQLAggiornamento(query.get(), tabella, "INSERT", &update);
        update.DeleteSQL = {"DELETE FROM " + tabella + " WHERE " + chiave + "=:OLD_" + chiave};
        query->setUpdateObject(&update);
        query->BeforeEdit = [this, tabella](TDataSet *ds) {
            x->EventoBeforeEditDataSet(ds, &status, tabella);
        };
        query->Open();
    }
    // The other user's statement, left uncommitted: the rows it wrote stay held.
    void tieni(const QString &sql)
    {
        TIBSQL q;
        q.setDatabase(&altro->db);
        q.SQL = {sql};
        q.ExecQuery();
    }
    // Row 2 edited while the other user holds it, free, and after it deleted it.
    void provaBlocco();
    QString committed(const QString &sql) { return firstValue(x->IBDatabase1, sql); }
    // Row 2 of ARTICOLI becomes "nuova", posted and not committed.
    void modificaInSospeso()
    {
        ASSERT_TRUE(query->Locate("CODICE", 2));
        query->Edit();
        query->FieldByName("DESCRIZIONE")->setAsString("nuova");
        query->Post();
    }

    QTemporaryDir dir;
    MessageRecorder rec;
    std::unique_ptr<TTabXForm> x;
    std::unique_ptr<OtherConnection> altro;
    TIBTransaction lettura;
    TIBUpdateSQL update;
    std::unique_ptr<TIBQuery> query;
    QPushButton status;
    TBookmark bookmark;
    bool valido = false;
};

class ServerTabXEditing : public TabXEditing
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_TEST_SERVER();
        prepara(serverDatabaseName(dir.path() + "/ditta.fdb"));
    }
};

} // namespace

void TabXEditing::provaBlocco()
{
    // Held by the other user: refused at once. Then free: locked, and now
    // the other user is the one refused at once.
    ASSERT_TRUE(query->Locate("CODICE", 2));
    tieni("UPDATE ARTICOLI SET DESCRIZIONE='sua' WHERE CODICE=2");
    rec.expect(TMsgDlgType::Warning, kAltri);
    EXPECT_THROW(query->Edit(), EAbort);
    EXPECT_TRUE(query->State() == dsBrowse && Tag(&status) == 0);
    altro->tr.Rollback();
    query->Edit();
    EXPECT_EQ(Tag(&status), 1);
    EXPECT_THROW(altro->exec("DELETE FROM ARTICOLI WHERE CODICE=2"), EIBError);
    altro->tr.Rollback();
    query->Cancel();
    x->ChiudiTransEAggiorna(query.get(), bookmark, valido, &status);

    // Rows read through another transaction than the statements': the other
    // user's delete leaves the lock no row to reach.
    query->Close();
    lettura.setDefaultDatabase(x->IBDatabase1);
    query->setTransaction(&lettura);
    query->Open();
    altro->exec("DELETE FROM ARTICOLI WHERE CODICE=2");
    x->IBTransaction1->Commit();
    ASSERT_TRUE(query->Locate("CODICE", 2));
    rec.expect(TMsgDlgType::Warning, kGiaCancellato);
    EXPECT_THROW(query->Edit(), EAbort);
    EXPECT_EQ(rec.pending(), 0);
}

TEST_F(TabXEditing, RowLockBeforeAnEdit)
{
    provaBlocco();

    // A text key with an apostrophe locks like any other.
    apri("SIGLE", "SIGLA");
    query->Edit();
    EXPECT_EQ(Tag(&status), 1);
    query->FieldByName("NOTE")->setAsString("presa");
    x->ChiudiTransEAggiorna(query.get(), bookmark, valido, &status);
    EXPECT_EQ(committed("SELECT NOTE FROM SIGLE WHERE SIGLA='L''X'"), "presa");

    // Any other failure shows the database's message and refuses the edit too.
    rec.clear();
    rec.allowAny();
    EXPECT_THROW(x->EventoBeforeEditDataSet(query.get(), &status, "NESSUNA"), EAbort);
    ASSERT_EQ(rec.seen().size(), 1);
    EXPECT_EQ(rec.seen()[0].kind, TMsgDlgType::Error);
    EXPECT_TRUE(rec.seen()[0].text.contains("NESSUNA"));
}

TEST_F(ServerTabXEditing, RowLockBetweenTwoConnectionsOfTheServer)
{
    provaBlocco();
}

TEST_F(TabXEditing, DeleteFindsTheRowAgainFirst)
{
    const QString domanda = "Conferma la cacellazione del record?";
    // The other user deleted the row meanwhile: nothing is deleted.
    ASSERT_TRUE(query->Locate("CODICE", 2));
    altro->exec("DELETE FROM ARTICOLI WHERE CODICE=2");
    rec.expect(TMsgDlgType::Confirmation, domanda, mrYes)
        .expect(TMsgDlgType::Warning, kGiaCancellato);
    EXPECT_FALSE(x->Elimina(query.get(), bookmark, valido, &status));

    // It holds the row: refused, and the caller's next save deletes nothing.
    ASSERT_TRUE(query->Locate("CODICE", 3));
    tieni("UPDATE ARTICOLI SET DESCRIZIONE='sua' WHERE CODICE=3");
    rec.expect(TMsgDlgType::Confirmation, domanda, mrYes)
        .expect(TMsgDlgType::Warning, "Impossibile cancellare questo record, altri utenti stanno "
                                      "lavorando su questo record.");
    EXPECT_FALSE(x->Elimina(query.get(), bookmark, valido, &status));
    altro->tr.Rollback();
    x->ChiudiTransEAggiorna(query.get(), bookmark, valido, &status);
    EXPECT_EQ(committed("SELECT COUNT(*) FROM ARTICOLI"), "2");

    ASSERT_TRUE(query->Locate("CODICE", 3));
    rec.expect(TMsgDlgType::Confirmation, domanda, mrNo);
    EXPECT_FALSE(x->Elimina(query.get(), bookmark, valido, &status));
    rec.expect(TMsgDlgType::Confirmation, domanda, mrYes);
    EXPECT_TRUE(x->Elimina(query.get(), bookmark, valido, &status));
    EXPECT_EQ(committed("SELECT LIST(CODICE) FROM ARTICOLI"), "1");

    altro->exec("DELETE FROM ARTICOLI");
    rec.expect(TMsgDlgType::Information, "La tabella è vuota");
    EXPECT_FALSE(x->Elimina(query.get(), bookmark, valido, &status));
    EXPECT_EQ(rec.pending(), 0);
}

TEST_F(TabXEditing, QuestionsOnlyWhileUnsaved)
{
    using Op = void (TTabXForm::*)(TDataSet *, TBookmark &, bool &, QAbstractButton *);
    const QString annulla = "Conferma l'annullamento delle modifiche apportate?";
    const QString chiudi = "Salvare le modifiche apportate?";
    const QString aggiorna = "Attenzione: sono state fatte delle modifiche che non sono state "
                             "ancora salvate. Prima di aggiornare la griglia si desidera salvare "
                             "gli aggiornamenti?";
    struct Caso
    {
        Op op;
        QString domanda; // empty: Tag 0, nothing asked
        int risposta;
        QString salvato, visto; // row 2 as committed, as the caller's transaction sees it
        int tagDopo;
    } casi[] = {
        {&TTabXForm::Annulla, annulla, mrYes, "due", "due", 0},
        {&TTabXForm::Annulla, annulla, mrNo, "due", "nuova", 1},
        {&TTabXForm::Annulla, "", 0, "due", "nuova", 0},
        {&TTabXForm::Chiudi, chiudi, mrYes, "due", "nuova", 1},
        {&TTabXForm::Chiudi, chiudi, mrNo, "due", "due", 1},
        {&TTabXForm::Chiudi, "", 0, "due", "nuova", 0},
        {&TTabXForm::AggiornamentoDaPulsante, aggiorna, mrYes, "nuova", "nuova", 0},
        {&TTabXForm::AggiornamentoDaPulsante, aggiorna, mrNo, "due", "due", 0},
        {&TTabXForm::AggiornamentoDaPulsante, "", 0, "nuova", "nuova", 0},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE((c.domanda + " " + QString::number(c.risposta)).toStdString());
        x->AggiornaTabella(query.get(), TBookmark(), false);
        altro->exec("UPDATE ARTICOLI SET DESCRIZIONE='due' WHERE CODICE=2");
        x->AggiornaTabella(query.get(), TBookmark(), false);
        modificaInSospeso();
        setTag(&status, c.domanda.isEmpty() ? 0 : 1);
        if (!c.domanda.isEmpty())
            rec.expect(TMsgDlgType::Confirmation, c.domanda, c.risposta);
        (x.get()->*c.op)(query.get(), bookmark, valido, &status);
        EXPECT_EQ(rec.pending(), 0);
        const QString riga = "SELECT DESCRIZIONE FROM ARTICOLI WHERE CODICE=2";
        EXPECT_EQ(committed(riga), c.salvato);
        TIBSQL visto; // in the caller's transaction
        visto.setDatabase(x->IBDatabase1);
        visto.SQL = {riga};
        visto.ExecQuery();
        EXPECT_EQ(visto.Fields(0).AsString(), c.visto);
        EXPECT_EQ(Tag(&status), c.tagDopo);
    }
}

TEST_F(TabXEditing, EmptyingTheTable)
{
    const QString domanda = "Confermare l'azzeramento della tabella?";
    rec.expect(TMsgDlgType::Confirmation, domanda, mrNo);
    x->Azzera(query.get(), bookmark, valido, &status, "ARTICOLI");

    // A row the other user holds: nothing deleted, also after the caller's save.
    tieni("UPDATE ARTICOLI SET DESCRIZIONE='sua' WHERE CODICE=3");
    rec.expect(TMsgDlgType::Confirmation, domanda, mrYes)
        .expect(TMsgDlgType::None, "Impossibile azzerare la tabella!");
    x->Azzera(query.get(), bookmark, valido, &status, "ARTICOLI");
    altro->tr.Rollback();
    x->ChiudiTransEAggiorna(query.get(), bookmark, valido, &status);
    EXPECT_EQ(committed("SELECT COUNT(*) FROM ARTICOLI"), "3");

    rec.expect(TMsgDlgType::Confirmation, domanda, mrYes);
    x->Azzera(query.get(), bookmark, valido, &status, "ARTICOLI");
    EXPECT_EQ(committed("SELECT COUNT(*) FROM ARTICOLI"), "0");
    EXPECT_TRUE(query->Active() && query->IsEmpty());

    // Another kind of dataset: a clear error before anything is asked.
    TRxMemoryData memoria;
    EXPECT_THROW(x->Azzera(&memoria, bookmark, valido, &status, "ARTICOLI"), EDatabaseError);
    EXPECT_EQ(rec.pending(), 0);
}

TEST_F(TabXEditing, LastAndHighestPlusOne)
{
    using Op = std::function<void()>;
    const Op last = [&] { x->NuovoIntSuLast(query.get(), bookmark, valido, &status); };
    const Op max = [&] { x->NuovoIntSuMax(query.get(), bookmark, valido, &status, "ARTICOLI"); };
    for (const Op &op : {last, max}) {
        // Another user takes 4 between the reading and the insert: the
        // database refuses, and the caller's change, saved first, stays.
        modificaInSospeso();
        query->AfterInsert = [&](TDataSet *) {
            altro->exec("INSERT INTO ARTICOLI VALUES (4, 'sua')");
        };
        try {
            op();
            ADD_FAILURE() << "the taken number was accepted";
        } catch (const EIBError &e) {
            EXPECT_TRUE(e.hasCode(IBErrorCodes::UniqueKeyViolation));
        }
        query->AfterInsert = nullptr;
        EXPECT_EQ(query->State(), dsBrowse);
        EXPECT_EQ(committed("SELECT LIST(DESCRIZIONE) FROM ARTICOLI WHERE CODICE IN (2, 4)"),
                  "nuova,sua");

        // An empty table starts from 1.
        altro->exec("DELETE FROM ARTICOLI");
        op();
        EXPECT_EQ(query->FieldByName("CODICE")->AsInteger(), 1);
        EXPECT_EQ(Tag(&status), 0);
        altro->exec("INSERT INTO ARTICOLI VALUES (2, 'due')");
        altro->exec("INSERT INTO ARTICOLI VALUES (3, 'tre')");
        x->AggiornaTabella(query.get(), bookmark, false);
    }
    // The highest of the table, not of the rows shown.
    altro->exec("INSERT INTO ARTICOLI VALUES (41, 'alto')");
    apri("ARTICOLI", "CODICE", " WHERE CODICE < 10");
    max();
    EXPECT_EQ(committed("SELECT MAX(CODICE) FROM ARTICOLI"), "42");
}

TEST_F(TabXEditing, GeneratorKeys)
{
    // Another connection never gets the same value; a rolled-back one is gone.
    EXPECT_EQ(x->ValoreGeneratore("GEN_ARTICOLI"), "1");
    EXPECT_EQ(altro->scalar("SELECT GEN_ID(GEN_ARTICOLI, 1) FROM RDB$DATABASE"), "2");
    x->IBTransaction1->Rollback();
    EXPECT_EQ(x->ValoreGeneratore("GEN_ARTICOLI"), "3");

    EXPECT_TRUE(x->SetGeneratore(query.get(), bookmark, valido, &status, "GEN_ARTICOLI", 9));
    x->NuovoIntSuGeneratore(query.get(), bookmark, valido, &status, "", "GEN_ARTICOLI");
    EXPECT_EQ(query->FieldByName("CODICE")->AsInteger(), 10);
    EXPECT_EQ(Tag(&status), 1);
    EXPECT_EQ(committed("SELECT COUNT(*) FROM ARTICOLI WHERE CODICE=10"), "0");
    for (const char *tabella : {"ARTICOLI", "INTO ARTICOLI"})
        x->NuovoIntSuGenSQL(query.get(), bookmark, valido, &status, tabella, "GEN_ARTICOLI");
    EXPECT_EQ(committed("SELECT LIST(CODICE) FROM ARTICOLI WHERE CODICE > 3"), "10,11,12");
    EXPECT_EQ(query->FieldByName("CODICE")->AsInteger(), 1);

    EXPECT_TRUE(x->CreaGeneratore(query.get(), bookmark, valido, &status, "GEN_NUOVO"));
    EXPECT_FALSE(x->CreaGeneratore(query.get(), bookmark, valido, &status, "GEN_NUOVO"));
    for (const QString &nome : {QString("gen_nuovo"), QString("GEN_ALTRO"), QString(40, 'G')})
        EXPECT_FALSE(x->CheckGeneratore(query.get(), nome)) << nome.toStdString();
    EXPECT_TRUE(x->CheckGeneratore(query.get(), "GEN_NUOVO"));
    EXPECT_TRUE(x->SetGeneratore(query.get(), bookmark, valido, &status, "GEN_NUOVO", 41));
    EXPECT_EQ(x->ValoreGeneratore("GEN_NUOVO"), "42");
    EXPECT_FALSE(x->SetGeneratore(query.get(), bookmark, valido, &status, "NESSUNO", 1));
    EXPECT_TRUE(rec.seen().isEmpty());
}
