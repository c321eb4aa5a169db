#include "csdeditori.h"
#include "csdfixture.h"
#include "dbcontrols.h"
#include "dbgrid.h"
#include "ibquery.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <atomic>
#include <memory>
#include <thread>

// The CSD projects and situations editors on a real CSD database, with a
// second administrator on connections of its own.

namespace {

const QString kNessuno = QStringLiteral("Nessun record selezionato");
const QString kChiusura = QStringLiteral("Memorizzare o annullare le modifiche");
using CsdEditoriTest = CsdTest;

// How many project inserts of other attachments are running (waiting).
QString inAttesa(TIBDatabase &db, TIBTransaction &tr)
{
    TIBSQL q;
    q.setDatabase(&db);
    q.setTransaction(&tr);
    q.SQL = QStringList{"SELECT COUNT(*) FROM MON$STATEMENTS WHERE MON$STATE=1 AND "
                        "MON$ATTACHMENT_ID<>CURRENT_CONNECTION AND "
                        "MON$SQL_TEXT CONTAINING 'INSERT INTO PROGETTI('"};
    q.ExecQuery();
    const QString n = q.Fields(0).AsString();
    q.Close();
    tr.Commit();
    return n;
}

} // namespace

TEST_F(CsdEditoriTest, NewThenCancelLeavesTheTableAsBeforeAndClosingWaitsForIt)
{
    // A situation of the other kind holds code 1: codes are unique across kinds.
    altro("INSERT INTO SITUAZIONI(CODICE,TIPO) VALUES (1,'CSDGRID')");
    const struct
    {
        int tipo; // -1 projects
        const char *titolo, *tabella, *codice;
    } casi[] = {{-1, "Gestione Progetti CSD", "PROGETTI", "1"},
                {0, "Gestione Situazioni Form", "SITUAZIONI", "2"}};
    for (const auto &c : casi) {
        const QString conta = QStringLiteral("SELECT COUNT(*) FROM ") + c.tabella;
        const QString prima = valore(conta);
        std::unique_ptr<TCSDEditorForm> e;
        if (c.tipo < 0)
            e = std::make_unique<TProgettiCSDForm>(nullptr, tab.get());
        else
            e = std::make_unique<TSituazioniCSDForm>(nullptr, tab.get(), c.tipo);
        EXPECT_EQ(e->windowTitle(), c.titolo);
        rec.expect(TMsgDlgType::Warning, kNessuno).expect(TMsgDlgType::Warning, kNessuno);
        e->ButtonEdit->click();
        e->ButtonElimina->click();

        e->ButtonNuovo->click();
        EXPECT_EQ(e->Modalita(), 1);
        EXPECT_EQ(e->EditCodice->text(), c.codice);
        EXPECT_EQ(e->GetCodiceCorrente(), c.codice);
        EXPECT_EQ(e->PageControl->currentWidget(), e->TabInserimento);
        EXPECT_FALSE(e->ButtonChiudi->isEnabled());
        EXPECT_FALSE(e->GridElenco->isEnabled());
        EXPECT_EQ(valore(conta).toInt(), prima.toInt() + 1); // committed at once

        // Every way of closing is refused while the new row waits.
        e->show();
        rec.expect(TMsgDlgType::Warning, kChiusura).expect(TMsgDlgType::Warning, kChiusura);
        QTest::keyClick(e.get(), Qt::Key_Escape);
        e->close();
        EXPECT_TRUE(e->isVisible());

        e->ButtonAnnulla->click();
        EXPECT_EQ(e->Modalita(), 0);
        EXPECT_EQ(valore(conta), prima);
        EXPECT_EQ(e->GetCodiceCorrente(), "");
        e->ButtonChiudi->click();
        EXPECT_FALSE(e->isVisible());
        EXPECT_EQ(rec.pending(), 0);
    }
}

TEST_F(CsdEditoriTest, SavesStoreTheTextsAsTheSuiteDoesAndCommitAtOnce)
{
    TProgettiCSDForm p(nullptr, tab.get());
    p.ButtonNuovo->click();
    p.EditDescrizione->setText("Casa dell'Arte");
    p.EditDLLRif->setText("l'uno.dll");
    p.MemoNoteProgetto->setPlainText("riga 'uno'\nriga due");
    p.ButtonMemorizza->click();
    EXPECT_EQ(p.Modalita(), 0);
    EXPECT_EQ(
        visti("SELECT CODICE||'|'||DESCRIZIONE||'|'||DLLRIF||'|'||NOTEPROGETTO FROM PROGETTI"),
        QStringList{
            QString("1|Casa dell\u00B4Arte|l\u00B4uno.dll|riga \u00B4uno\u00B4\r\nriga due")});
    EXPECT_EQ(p.DBEditDescrizione->text(), "Casa dell\u00B4Arte");

    // An emptied description is NULL.
    p.ButtonEdit->click();
    EXPECT_EQ(p.EditDescrizione->text(), "Casa dell\u00B4Arte");
    p.EditDescrizione->clear();
    p.ButtonMemorizza->click();
    EXPECT_EQ(visti("SELECT COALESCE(DESCRIZIONE,'<null>') FROM PROGETTI"), QStringList{"<null>"});

    // A window script goes in as typed, past the 64 KB of a literal; the
    // function takes "´".
    QString script;
    for (int i = 0; script.size() < 100 * 1024; ++i)
        script += QStringLiteral("<Campo Nome='C%1' Etichetta=\"l'etichetta\"/>\r\n").arg(i);
    TSituazioniCSDForm f(nullptr, tab.get(), 0);
    f.ButtonNuovo->click();
    f.EditFunzioneChiamataForm->setText("f'g");
    f.ScriptCSDForm->setPlainText(QString(script).replace("\r\n", "\n"));
    f.ButtonMemorizza->click();
    EXPECT_EQ(valore("SELECT FUNZIONECHIAMATAFORM FROM SITUAZIONI"), "f\u00B4g");
    EXPECT_EQ(valore("SELECT XMLCSDFORM FROM SITUAZIONI"), script);

    // Deleting commits too; the row at the deleted one's place becomes current.
    f.ButtonNuovo->click();
    f.ButtonMemorizza->click();
    f.QueryElenco->First();
    rec.expect(TMsgDlgType::Warning, "Eliminare il record corrente?", mrYes);
    f.ButtonElimina->click();
    EXPECT_EQ(visti("SELECT CODICE FROM SITUAZIONI"), QStringList{"2"});
    EXPECT_EQ(f.GetCodiceCorrente(), "2");
}

TEST_F(CsdEditoriTest, GridSituationsKeepFunctionAndScriptAsLoaded)
{
    altro("INSERT INTO SITUAZIONI(CODICE,TIPO,FUNZIONECHIAMATAFORM,XMLCSDFORM) "
          "VALUES (1,'CSDGRID','Fun','<x/>\n')");
    altro("INSERT INTO SITUAZIONI(CODICE,TIPO) VALUES (2,'CSDGRID')");
    TSituazioniCSDForm g(nullptr, tab.get(), 1);
    for (int codice : {1, 2}) {
        g.QueryElenco->Locate("CODICE", codice);
        g.ButtonEdit->click();
        for (QWidget *w :
             std::initializer_list<QWidget *>{g.EditFunzioneChiamataForm, g.ScriptCSDForm,
                                              g.DBMemoXMLCSDForm, g.DBEditFunzioneChiamataForm})
            EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        g.EditDescrizione->setText("Griglia");
        g.ButtonMemorizza->click();
    }
    EXPECT_EQ(visti("SELECT CODICE||'|'||DESCRIZIONE||'|'||COALESCE(FUNZIONECHIAMATAFORM,'<null>')"
                    "||'|'||COALESCE(XMLCSDFORM,'<null>') FROM SITUAZIONI ORDER BY CODICE"),
              (QStringList{"1|Griglia|Fun|<x/>", "2|Griglia|<null>|<null>"}));
    EXPECT_EQ(valore("SELECT XMLCSDFORM FROM SITUAZIONI WHERE CODICE=1"), "<x/>\n");
}

TEST_F(CsdEditoriTest, TwoAdministrators)
{
    TProgettiCSDForm p(nullptr, tab.get());
    // A row the other one committed is seen on reopen and by the next code.
    altro("INSERT INTO PROGETTI(CODICE,DESCRIZIONE) VALUES (1,'Suo')");
    p.ButtonNuovo->click();
    EXPECT_EQ(p.EditCodice->text(), "2");
    EXPECT_EQ(p.QueryElenco->RecordCount(), 2);
    p.ButtonMemorizza->click();

    // A real race: the other insert holds code 3 uncommitted until ours waits
    // for it, then commits.
    std::atomic<bool> tenuto{false};
    std::thread concorrente([&] {
        OtherConnection o(csdPath(), {"read_committed", "rec_version", "wait"});
        TIBSQL ins;
        ins.setDatabase(&o.db);
        ins.setTransaction(&o.tr);
        ins.SQL = QStringList{"INSERT INTO PROGETTI(CODICE,DESCRIZIONE) VALUES (3,'Sua')"};
        ins.ExecQuery();
        tenuto = true;
        TIBTransaction mon;
        mon.setDefaultDatabase(&o.db);
        for (int giro = 0; giro < 2000; ++giro) {
            const QString attesa = inAttesa(o.db, mon);
            if (attesa != "0")
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        o.tr.Commit();
    });
    while (!tenuto)
        std::this_thread::yield();
    rec.allowAny();
    EXPECT_FALSE(p.Nuovo());
    concorrente.join();
    rec.allowAny(false);
    ASSERT_EQ(rec.seen().size(), 1);
    EXPECT_EQ(rec.seen()[0].kind, TMsgDlgType::Error);
    EXPECT_TRUE(rec.seen()[0].text.startsWith("Inserimento fallito\r"))
        << rec.texts().join("/").toStdString();
    EXPECT_TRUE(rec.seen()[0].text.contains("PROGETTI_PK"));
    EXPECT_EQ(p.Modalita(), 0);
    EXPECT_TRUE(p.Nuovo());
    EXPECT_EQ(p.EditCodice->text(), "4");
    EXPECT_EQ(visti("SELECT CODICE||'|'||COALESCE(DESCRIZIONE,'') FROM PROGETTI ORDER BY CODICE"),
              (QStringList{"1|Suo", "2|", "3|Sua", "4|"}));
    p.ButtonAnnulla->click();

    // A save of a row the other one deleted meanwhile is reported.
    p.QueryElenco->Locate("CODICE", 3);
    p.ButtonEdit->click();
    p.EditDescrizione->setText("Mia");
    altro("DELETE FROM PROGETTI WHERE CODICE=3");
    rec.expect(TMsgDlgType::Error,
               "Fallito salvataggio modifiche\rRecord non trovato o modificato da un altro utente");
    EXPECT_FALSE(p.Memorizza());
    EXPECT_EQ(p.Modalita(), 2);
    EXPECT_EQ(p.EditDescrizione->text(), "Mia");
}
