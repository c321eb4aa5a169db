#include "dberrortext.h"
#include "ibquery.h"
#include "programmiform.h"
#include "programstest.h"
#include "testdb.h"

#include <QPushButton>

namespace {

const QString kConferma =
    "Effettuare la conversione?\r(Si consiglia di effettuare un back-up preventivo del database)";

class ConversioneTest : public ProgramsTest
{
protected:
    std::unique_ptr<TProgrammiForm> apri()
    {
        nuovoSnapshot();
        return std::make_unique<TProgrammiForm>(nullptr, tabVar);
    }
    void daConvertire()
    {
        conParametriBlob("BLOB SUB_TYPE TEXT CHARACTER SET WIN1252");
        programma(1, "Uno");
        programma(2, "Due");
        other("INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE, PARAMETRIBLOB) VALUES (2, 1, "
              "'v', 'città=l''1')");
    }
};

} // namespace

TEST_F(ConversioneTest, AConvertedColumnIsOnlyReported)
{
    conParametriBlob();
    auto f = apri();
    rec.expect(TMsgDlgType::Warning, "Conversione già effettuata");
    f->ButtonConversioneMemo->click();
}

TEST_F(ConversioneTest, RebuildsTheColumnKeepingTextsAndTheCurrentRow)
{
    daConvertire();
    auto f = apri();
    ASSERT_TRUE(f->QueryProgrammi->Locate("CODICE", 2));
    rec.expect(TMsgDlgType::Confirmation, kConferma, mrNo);
    f->ButtonConversioneMemo->click();
    EXPECT_EQ(caratteriPARAMETRIBLOB(), 53);

    rec.expect(TMsgDlgType::Confirmation, kConferma, mrYes)
        .expect(TMsgDlgType::Information, "Conversione effettuata");
    f->ButtonConversioneMemo->click();
    EXPECT_EQ(caratteriPARAMETRIBLOB(), 0);
    EXPECT_EQ(committed("SELECT PARAMETRIBLOB FROM DETTMENU"), "città=l'1");
    EXPECT_EQ(f->QueryProgrammi->FieldByName("CODICE")->AsInteger(), 2);
    EXPECT_FALSE(f->Editing());
    rec.expect(TMsgDlgType::Warning, "Conversione già effettuata");
    f->ButtonConversioneMemo->click();
}

TEST_F(ConversioneTest, ADatabaseLeftHalfConvertedIsFinished)
{
    daConvertire();
    other("ALTER TABLE DETTMENU ADD TMP_FIELD BLOB SUB_TYPE TEXT"); // stopped after the first stage
    auto f = apri();
    rec.expect(TMsgDlgType::Confirmation, kConferma, mrYes)
        .expect(TMsgDlgType::Information, "Conversione effettuata");
    f->ButtonConversioneMemo->click();
    EXPECT_EQ(caratteriPARAMETRIBLOB(), 0);
    EXPECT_EQ(committed("SELECT PARAMETRIBLOB FROM DETTMENU"), "città=l'1");

    // Stopped before the rename: the opening completes it, the texts stay.
    f.reset();
    other("ALTER TABLE DETTMENU ALTER PARAMETRIBLOB TO TMP_FIELD");
    auto g = apri();
    EXPECT_EQ(committed("SELECT PARAMETRIBLOB FROM DETTMENU"), "città=l'1");
    rec.expect(TMsgDlgType::Warning, "Conversione già effettuata");
    g->ButtonConversioneMemo->click();
}

TEST_F(ConversioneTest, AMissingColumnIsReported)
{
    conParametriBlob();
    auto f = apri();
    tab->IBTransaction1->Commit();
    other("ALTER TABLE DETTMENU DROP PARAMETRIBLOB");
    rec.expect(TMsgDlgType::Warning, "Campo \"PARAMETRIBLOB\" non trovato nella tabella "
                                     "\"DETTMENU\": impossibile procedere con la conversione");
    f->ButtonConversioneMemo->click();
}

TEST_F(ConversioneTest, ALockHeldElsewhereFailsAtOnceAndTheEditorGoesOn)
{
    daConvertire();
    auto f = apri();
    OtherConnection holder(tab->IBDatabase1->DatabaseName);
    TIBSQL lock;
    lock.setDatabase(&holder.db);
    lock.SQL = QStringList{"UPDATE DETTMENU SET DESCRIZIONE='occupata'"};
    lock.ExecQuery();
    rec.expect(TMsgDlgType::Confirmation, kConferma, mrYes);
    rec.allowAny();
    f->ButtonConversioneMemo->click();
    rec.allowAny(false);
    ASSERT_EQ(rec.seen().size(), 2);
    EXPECT_EQ(rec.seen()[1].kind, TMsgDlgType::Error);
    EXPECT_TRUE(rec.seen()[1].text.startsWith(DbErrorText::MsgConflitto +
                                              "\rErrore interno durante la conversione:\r"));
    holder.tr.Rollback();
    EXPECT_EQ(caratteriPARAMETRIBLOB(), 53);
    EXPECT_TRUE(f->QueryProgrammi->Active());
    EXPECT_EQ(f->QueryProgrammi->RecordCount(), 2);
    // Once the lock is gone the next attempt succeeds.
    rec.expect(TMsgDlgType::Confirmation, kConferma, mrYes)
        .expect(TMsgDlgType::Information, "Conversione effettuata");
    f->ButtonConversioneMemo->click();
    EXPECT_EQ(caratteriPARAMETRIBLOB(), 0);
}
