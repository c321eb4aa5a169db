#include "creatabella.h"
#include "filedialogs.h"
#include "inputanswers.h"
#include "messagerecorder.h"
#include "scriptsamples.h"
#include "tabform.h"
#include "testdb.h"
#include "wizcomboform.h"
#include "wizcsdfinestra.h"
#include "wizcsdfinestrasceltaform.h"
#include "wizcsdfinestrascripttabellaform.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

// The reference database: the start dialog, the CREATE TABLE proposal run
// back on a scratch database, and names picked from a table's columns.

namespace {

// Every column as "name|type|sub-type|characters|precision|scale|not null",
// then the key as "constraint (or - when system-named):column".
QStringList catalogo(TIBDatabase *db, const QString &tabella)
{
    return firstColumn(
               db, {"SELECT TRIM(A.RDB$FIELD_NAME)||'|'||B.RDB$FIELD_TYPE||'|'||"
                    "COALESCE(B.RDB$FIELD_SUB_TYPE,0)||'|'||COALESCE(B.RDB$CHARACTER_LENGTH,0)||"
                    "'|'||COALESCE(B.RDB$FIELD_PRECISION,0)||'|'||B.RDB$FIELD_SCALE||'|'||"
                    "COALESCE(A.RDB$NULL_FLAG,B.RDB$NULL_FLAG,0)",
                    "FROM RDB$RELATION_FIELDS A JOIN RDB$FIELDS B ON "
                    "A.RDB$FIELD_SOURCE=B.RDB$FIELD_NAME",
                    "WHERE A.RDB$RELATION_NAME='" + tabella +
                        "' AND B.RDB$COMPUTED_BLR IS NULL ORDER BY A.RDB$FIELD_POSITION"}) +
           firstColumn(db, {"SELECT IIF(C.RDB$CONSTRAINT_NAME=C.RDB$INDEX_NAME,"
                            "TRIM(C.RDB$CONSTRAINT_NAME),'-')||':'||TRIM(S.RDB$FIELD_NAME)",
                            "FROM RDB$RELATION_CONSTRAINTS C JOIN RDB$INDEX_SEGMENTS S ON "
                            "S.RDB$INDEX_NAME=C.RDB$INDEX_NAME",
                            "WHERE C.RDB$RELATION_NAME='" + tabella +
                                "' AND C.RDB$CONSTRAINT_TYPE='PRIMARY KEY'",
                            "ORDER BY S.RDB$FIELD_POSITION"});
}

class CreaTabellaTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ref.exec("CREATE DOMAIN D_CODICE AS INTEGER NOT NULL");
        ref.exec("CREATE TABLE TUTTI (COD D_CODICE, PICCOLO SMALLINT, GRANDE BIGINT, "
                 "N92 NUMERIC(9,2) NOT NULL, N41 NUMERIC(4,1), N184 NUMERIC(18,4), "
                 "D123 DECIMAL(12,3), D52 DECIMAL(5,2), F FLOAT, DP DOUBLE PRECISION, "
                 "DT DATE, TM TIME, TS TIMESTAMP, C CHAR(3), V VARCHAR(40), "
                 "VU VARCHAR(20) CHARACTER SET UTF8, LUNGO VARCHAR(12000), B BLOB, "
                 "T BLOB SUB_TYPE TEXT, SI BOOLEAN, DOPPIO COMPUTED BY (PICCOLO * 2), "
                 "CONSTRAINT PK_TUTTI PRIMARY KEY (COD))");
        ref.exec("CREATE TABLE DUE (A INTEGER NOT NULL, B VARCHAR(10) NOT NULL, C INTEGER, "
                 "PRIMARY KEY (B, A))");
        ref.exec("CREATE TABLE T (K INTEGER NOT NULL, N VARCHAR(40), "
                 "CONSTRAINT PK_T PRIMARY KEY (K))");
        ref.exec("CREATE TABLE SENZA (X INTEGER, Y DATE)");
        ref.exec("CREATE TABLE \"A'B\" (X INTEGER)");
        ref.db().Close();
        ASSERT_TRUE(wiz.ApriDatabaseRif(ref.path()));
    }
    QStringList proposta(const QString &tabella)
    {
        QStringList righe;
        ProponiCreaTabella(wiz.DatabaseRif, tabella, righe);
        return righe;
    }

    TestDatabase ref{"rif.fdb"};
    MessageRecorder messages;
    InputAnswers answers;
    TTabForm tabForm;
    TWizCSDFinestra wiz{&tabForm};
};

} // namespace

TEST(TipoColonna, CataloguesWithoutLengthsOrPrecisions)
{
    EXPECT_EQ(TipoColonna({37, 0, 80, 0, 0, 0}), "VARCHAR(80)");
    EXPECT_EQ(TipoColonna({8, 1, 4, 0, 0, -2}), "NUMERIC(9,2)");
    EXPECT_EQ(TipoColonna({9, 0, 8, 0, 0, 0}), "VARCHAR(8)");
}

TEST_F(CreaTabellaTest, TheProposalRecreatesColumnsAndKeyInItsLayout)
{
    for (const QString tabella : {"TUTTI", "DUE"}) {
        TestDatabase copia{"copia.fdb"};
        copia.exec(proposta(tabella).join("\r\n"));
        const QStringList originale = catalogo(wiz.DatabaseRif, tabella);
        ASSERT_GT(originale.size(), 3);
        EXPECT_EQ(catalogo(&copia.db(), tabella), originale) << qPrintable(tabella);
    }
    EXPECT_EQ(proposta("TUTTI").at(16), "VU VARCHAR(20),");
    EXPECT_TRUE(catalogo(wiz.DatabaseRif, "TUTTI").endsWith("PK_TUTTI:COD"));
    EXPECT_EQ(proposta("DUE").mid(3), QStringList({"C INTEGER,", "PRIMARY KEY(B,A)", ")"}));
    EXPECT_EQ(proposta("T"),
              QStringList({"CREATE TABLE T(", "K INTEGER NOT NULL,", "N VARCHAR(40),",
                           "CONSTRAINT PK_T PRIMARY KEY(K)", ")"}));
    EXPECT_EQ(proposta("SENZA"), QStringList({"CREATE TABLE SENZA(", "X INTEGER,", "Y DATE", ")"}));
    EXPECT_EQ(proposta("NESSUNA"), QStringList({"CREATE TABLE NESSUNA(", ")"}));
    // Names are bound: an apostrophe is part of the name.
    EXPECT_EQ(proposta("A'B"), QStringList({"CREATE TABLE A'B(", "X INTEGER", ")"}));
    EXPECT_EQ(proposta(QString(40, 'X')).size(), 2);
}

TEST_F(CreaTabellaTest, ScriptDialogProposesAndAsksBeforeOverwriting)
{
    TWizCSDFinestraScriptTabellaForm semplice(nullptr);
    EXPECT_EQ(semplice.windowTitle(), "Wizard script creazione tabella");
    EXPECT_TRUE(semplice.ButtonProponiScript->isHidden());
    EXPECT_TRUE(semplice.MemoScript->isReadOnly());

    auto f = TWizCSDFinestraScriptTabellaForm::CreaConDatabase(nullptr, wiz.DatabaseRif, "T");
    EXPECT_FALSE(f->ButtonProponiScript->isHidden());
    f->SetScript("CREATE TABLE X (Y INTEGER)");
    messages.expect(TMsgDlgType::Warning, "Sovrascrivere lo script già presente?", mrNo);
    f->ButtonProponiScript->click();
    EXPECT_EQ(f->GetScript(), "CREATE TABLE X (Y INTEGER)");
    messages.expect(TMsgDlgType::Warning, "Sovrascrivere lo script già presente?", mrYes);
    f->ButtonProponiScript->click();
    EXPECT_EQ(f->GetScript().split("\r\n").size(), 5);

    // "Script" of the wizard: the stored script in, the proposal back on OK.
    wiz.SetNomeTabella("SENZA");
    wiz.SetCreaTabellaAttiva(true);
    for (const int risposta : {int(mrCancel), int(mrOk)}) {
        Modal::setRunner([risposta](QDialog *d) {
            auto *s = qobject_cast<TWizCSDFinestraScriptTabellaForm *>(d);
            EXPECT_NE(s, nullptr);
            s->ButtonProponiScript->click();
            (risposta == mrOk ? s->ButtonOk : s->ButtonCancel)->click();
            return d->result();
        });
        wiz.ConfiguraScriptTabella();
    }
    Modal::setRunner({});
    EXPECT_EQ(wiz.ScriptCreaTabella(), "CREATE TABLE SENZA(\r\nX INTEGER,\r\nY DATE\r\n)");
}

TEST_F(CreaTabellaTest, NamesArePickedFromTheTablesColumnsOnlyWithATableName)
{
    wiz.AggiungiCampo(1, "COD");
    wiz.AggiungiCampo(2, "PICCOLO");
    wiz.SetNomeTabella("TUTTI");
    QStringList scelte, titoli;
    Modal::setRunner([&](QDialog *d) {
        auto *pick = qobject_cast<TWizComboForm *>(d);
        EXPECT_NE(pick, nullptr);
        titoli << pick->LabelTitolo->text();
        pick->ComboValore->setCurrentIndex(pick->ComboValore->findText(scelte.takeFirst()));
        pick->ButtonOk->click();
        return d->result();
    });
    scelte = {"COD", "GRANDE"};
    messages.expect(TMsgDlgType::Warning, "Il nome inserito è già stato usato");
    wiz.TabCampi->SetCorrente(1);
    wiz.Inserisci();
    EXPECT_EQ(titoli, QStringList({"Scegliere un campo", "Scegliere un campo"}));
    // Before the row that was current when the name was asked.
    EXPECT_EQ(wiz.TabCampi->Riga(1).Nome, "GRANDE");
    EXPECT_EQ(wiz.TabCampi->Riga(2).Nome, "PICCOLO");
    Modal::setRunner({});

    wiz.SetNomeTabella("");
    answers.expect("Nuovo campo", "Nome campo:", "nuovo");
    wiz.Nuovo();
    EXPECT_EQ(wiz.TabCampi->Riga(3).Nome, "NUOVO");
}

TEST_F(CreaTabellaTest, StartDialogListsTablesAndWarnsInOrder)
{
    TWizCSDFinestraSceltaForm f;
    EXPECT_EQ(f.windowTitle(), "Modalità wizard composizione XML");
    f.Ok(); // "Libera"
    EXPECT_EQ(f.result(), mrOk);

    TWizCSDFinestraSceltaForm g;
    EXPECT_TRUE(g.PanelTabella->isHidden());
    g.RadioTabellaPreimpostata->click();
    EXPECT_FALSE(g.PanelTabella->isHidden());
    messages.expect(TMsgDlgType::Warning, "E' necessario specificare un database di riferimento");
    g.ButtonOk->click();
    QList<FileDialogRequest> richieste;
    QString risposta;
    FileDialogs::setResponder([&](const FileDialogRequest &r) {
        richieste << r;
        return risposta;
    });
    g.ButtonDatabase->click(); // cancelled
    risposta = ref.path();
    g.ButtonDatabase->click();
    ASSERT_EQ(richieste.size(), 2);
    EXPECT_EQ(richieste[1].filter, "Archivi Interbase (*.gdb;*.fdb)|*.gdb;*.fdb");
    EXPECT_TRUE(richieste[1].mustExist);
    EXPECT_EQ(g.EditDatabase->text(), ref.path());
    EXPECT_EQ(g.ComboTabella->count(), 5);
    messages.expect(TMsgDlgType::Warning, "E' necessario specificare una tabella di riferimento");
    g.ButtonOk->click();
    EXPECT_EQ(g.result(), 0);
    g.ComboTabella->setCurrentIndex(g.ComboTabella->findText("DUE"));
    g.ButtonOk->click();
    EXPECT_EQ(g.result(), mrOk);
    EXPECT_TRUE(g.GetTabellaPreimpostata());
    EXPECT_EQ(g.GetDatabase(), ref.path());
    EXPECT_EQ(g.GetTabella(), "DUE");

    // A file that does not open lists nothing and is never created.
    risposta = ref.folder() + "/nuovo.fdb";
    messages.allowAny();
    g.ButtonDatabase->click();
    FileDialogs::setResponder({});
    EXPECT_EQ(g.ComboTabella->count(), 0);
    EXPECT_EQ(QDir(ref.folder()).entryList(QDir::Files), QStringList({"rif.fdb"}));
}
