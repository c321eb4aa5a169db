#include "ibdatabase.h"
#include "parametriblob.h"
#include "programstest.h"
#include "testdb.h"

namespace {

const QString kDaAggiornare =
    "Tabella DETTMENU da aggiornare: verrà aggiunto il campo PARAMETRIBLOB";

class ParametriBlobTest : public ProgramsTest
{
protected:
    void voce(int menu, const QString &parametri)
    {
        other(QString("INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE, PARAMETRI) VALUES "
                      "(1, %1, 'voce', '%2')")
                  .arg(menu)
                  .arg(QString(parametri).replace("'", "''")));
    }
    // A transaction of its own, with the no-wait option, as the rebuild uses.
    std::unique_ptr<TIBTransaction> propria()
    {
        auto tr = std::make_unique<TIBTransaction>();
        tr->Params = QStringList{"nowait"};
        tr->setDefaultDatabase(tab->IBDatabase1);
        return tr;
    }
    bool colonna(const QString &nome)
    {
        return committed("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME="
                         "'DETTMENU' AND RDB$FIELD_NAME='" +
                         nome + "'") == "1";
    }
};

} // namespace

TEST_F(ParametriBlobTest, AMissingColumnIsAddedOnceAndFilledFromParametri)
{
    voce(1, "Ditta=1;l'anno=2012");
    voce(2, "");
    nuovoSnapshot();
    rec.expect(TMsgDlgType::Warning, kDaAggiornare);
    ParametriBlob::VerificaCampo(tab->IBDatabase1, tab->IBTransaction1);
    EXPECT_TRUE(colonna("PARAMETRIBLOB"));
    EXPECT_EQ(committed("SELECT PARAMETRIBLOB FROM DETTMENU WHERE MENU=1"), "Ditta=1;l'anno=2012");
    EXPECT_EQ(committed("SELECT PARAMETRIBLOB FROM DETTMENU WHERE MENU=2"), "");
    ParametriBlob::VerificaCampo(tab->IBDatabase1, tab->IBTransaction1); // no second warning
    EXPECT_EQ(rec.seen().size(), 1);
}

TEST_F(ParametriBlobTest, TheRebuildKeepsTheTextsAndReportsItselfDone)
{
    conParametriBlob("BLOB SUB_TYPE TEXT CHARACTER SET WIN1252");
    other("INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE, PARAMETRIBLOB) VALUES (1, 1, 'v', "
          "'perché l''anno')");
    other("INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE) VALUES (1, 2, 'vuota')");
    auto tr = propria();
    EXPECT_EQ(ParametriBlob::StatoConversione(tab->IBDatabase1, tr.get()),
              ParametriBlob::Stato::DaConvertire);
    tr->Commit();
    ParametriBlob::Converti(tab->IBDatabase1, tr.get());
    EXPECT_EQ(ParametriBlob::StatoConversione(tab->IBDatabase1, tr.get()),
              ParametriBlob::Stato::GiaConvertito);
    tr->Commit();
    EXPECT_EQ(caratteriPARAMETRIBLOB(), 0);
    EXPECT_FALSE(colonna("TMP_FIELD"));
    EXPECT_EQ(committed("SELECT PARAMETRIBLOB FROM DETTMENU WHERE MENU=1"), "perché l'anno");
    EXPECT_EQ(committed("SELECT COALESCE(PARAMETRIBLOB, 'nullo') FROM DETTMENU WHERE MENU=2"),
              "nullo");
}

TEST_F(ParametriBlobTest, ARebuildStoppedBeforeTheDropIsUndone)
{
    conParametriBlob("BLOB SUB_TYPE TEXT CHARACTER SET WIN1252");
    other("INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE, PARAMETRIBLOB) VALUES (1, 1, 'v', "
          "'testo')");
    other("ALTER TABLE DETTMENU ADD TMP_FIELD BLOB SUB_TYPE TEXT");
    auto tr = propria();
    EXPECT_TRUE(ParametriBlob::RiprendiConversione(tab->IBDatabase1, tr.get()));
    EXPECT_FALSE(colonna("TMP_FIELD"));
    EXPECT_EQ(caratteriPARAMETRIBLOB(), 53);
    EXPECT_FALSE(ParametriBlob::RiprendiConversione(tab->IBDatabase1, tr.get()));
    ParametriBlob::Converti(tab->IBDatabase1, tr.get());
    EXPECT_EQ(committed("SELECT PARAMETRIBLOB FROM DETTMENU WHERE MENU=1"), "testo");
}

TEST_F(ParametriBlobTest, ARebuildStoppedAfterTheDropIsFinishedAlsoAtOpening)
{
    other("ALTER TABLE DETTMENU ADD TMP_FIELD BLOB SUB_TYPE TEXT");
    other("INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE, PARAMETRI, TMP_FIELD) VALUES (1, "
          "1, 'v', 'vecchio', 'salvato')");
    nuovoSnapshot();
    // No empty column filled from PARAMETRI: the texts in TMP_FIELD stay.
    ParametriBlob::VerificaCampo(tab->IBDatabase1, tab->IBTransaction1);
    EXPECT_TRUE(rec.seen().isEmpty());
    EXPECT_FALSE(colonna("TMP_FIELD"));
    EXPECT_EQ(committed("SELECT PARAMETRIBLOB FROM DETTMENU WHERE MENU=1"), "salvato");

    other("ALTER TABLE DETTMENU ALTER PARAMETRIBLOB TO TMP_FIELD");
    auto tr = propria();
    EXPECT_TRUE(ParametriBlob::RiprendiConversione(tab->IBDatabase1, tr.get()));
    EXPECT_EQ(committed("SELECT PARAMETRIBLOB FROM DETTMENU WHERE MENU=1"), "salvato");
}

TEST_F(ParametriBlobTest, AFailedStageIsRolledBackAndReported)
{
    conParametriBlob("BLOB SUB_TYPE TEXT CHARACTER SET WIN1252");
    // Another program holds a row lock on DETTMENU: with no wait the
    // drop fails at once instead of hanging the window.
    OtherConnection holder(tab->IBDatabase1->DatabaseName);
    other("INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE) VALUES (1, 1, 'v')");
    TIBSQL lock;
    lock.setDatabase(&holder.db);
    lock.SQL = QStringList{"UPDATE DETTMENU SET DESCRIZIONE='occupata' WHERE MENU=1"};
    lock.ExecQuery();
    auto tr = propria();
    EXPECT_ANY_THROW(ParametriBlob::Converti(tab->IBDatabase1, tr.get()));
    EXPECT_FALSE(tr->InTransaction());
    holder.tr.Rollback();
    EXPECT_EQ(caratteriPARAMETRIBLOB(), 53);
    // What stayed behind (TMP_FIELD, committed at the first stage) is undone
    // by the next attempt, which then succeeds.
    EXPECT_TRUE(ParametriBlob::RiprendiConversione(tab->IBDatabase1, tr.get()));
    ParametriBlob::Converti(tab->IBDatabase1, tr.get());
    EXPECT_EQ(caratteriPARAMETRIBLOB(), 0);
}

TEST_F(ParametriBlobTest, OpeningUndoesARebuildStoppedBeforeTheDropUnlessDettmenuIsHeld)
{
    conParametriBlob("BLOB SUB_TYPE TEXT CHARACTER SET WIN1252");
    other("INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE, PARAMETRIBLOB) VALUES (1, 1, 'v', "
          "'testo')");
    other("ALTER TABLE DETTMENU ADD TMP_FIELD BLOB SUB_TYPE TEXT");
    nuovoSnapshot();
    {
        // Another administrator's rebuild at work: nothing is touched, nothing waits.
        OtherConnection holder(tab->IBDatabase1->DatabaseName);
        TIBSQL lock;
        lock.setDatabase(&holder.db);
        lock.SQL = QStringList{"UPDATE DETTMENU SET TMP_FIELD=PARAMETRIBLOB"};
        lock.ExecQuery();
        ParametriBlob::VerificaCampo(tab->IBDatabase1, tab->IBTransaction1);
        EXPECT_TRUE(colonna("TMP_FIELD"));
        EXPECT_TRUE(colonna("PARAMETRIBLOB"));
        holder.tr.Rollback();
    }
    ParametriBlob::VerificaCampo(tab->IBDatabase1, tab->IBTransaction1);
    EXPECT_TRUE(rec.seen().isEmpty());
    EXPECT_FALSE(colonna("TMP_FIELD"));
    EXPECT_EQ(committed("SELECT PARAMETRIBLOB FROM DETTMENU WHERE MENU=1"), "testo");
    EXPECT_EQ(caratteriPARAMETRIBLOB(), 53);
}
