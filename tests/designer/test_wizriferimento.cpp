#include "ibsql.h"
#include "messagerecorder.h"
#include "scriptsamples.h"
#include "tabform.h"
#include "testdb.h"
#include "wizcomboform.h"
#include "wizcsdfinestra.h"
#include "wizcsdricerca.h"
#include "wizcsdricercaform.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <gtest/gtest.h>

// The wizard on a real embedded reference database.

namespace {

class WizRiferimentoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ref.exec("CREATE TABLE ART (COD INTEGER NOT NULL, DES VARCHAR(40), PREZZO DECIMAL(9,2), "
                 "FORNITORE INTEGER)");
        // Position order, not creation order, gives the rows.
        ref.exec("ALTER TABLE ART ALTER COLUMN FORNITORE POSITION 2");
        ref.exec("CREATE TABLE FORNITORI (CODICE INTEGER, RAGSOC VARCHAR(60))");
        ref.exec("CREATE TABLE \"A'B\" (X INTEGER, \"Y'Z\" INTEGER)");
        ref.exec("CREATE GENERATOR GEN_ART");
        ref.exec("CREATE GENERATOR ARTCOUNTER");
        ref.db().Close();
    }
    QStringList nomi() const
    {
        QStringList out;
        for (int i = 0; i < wiz.TabCampi->Count(); ++i)
            out << QString::number(wiz.TabCampi->Riga(i).N) + wiz.TabCampi->Riga(i).Nome;
        return out;
    }
    QStringList filesInFolder() const
    {
        return QDir(ref.folder()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    }

    TestDatabase ref{"rif.fdb"};
    MessageRecorder messages;
    TTabForm tabForm;
    TWizCSDFinestra wiz{&tabForm};
};

} // namespace

TEST_F(WizRiferimentoTest, PresetTableGivesColumnsGeneratorsAndTables)
{
    wiz.SetGeneratore("GEN_ART");
    wiz.CaricaTabella(ref.path(), "ART");
    ASSERT_TRUE(wiz.DatabaseRif->Connected());
    EXPECT_EQ(nomi(), QStringList({"1COD", "2FORNITORE", "3DES", "4PREZZO"}));
    EXPECT_EQ(wiz.TabCampi->Corrente(), 0);
    EXPECT_EQ(wiz.TabCampi->Riga(1).Etichetta, "FORNITORE");
    EXPECT_EQ(wiz.NomeTabella(), "ART");
    EXPECT_EQ(wiz.Titolo(), "ART");
    EXPECT_TRUE(wiz.GeneratoreSoloLista());
    EXPECT_EQ(wiz.VociGeneratore(), QStringList({"", "ARTCOUNTER", "GEN_ART"}));
    EXPECT_EQ(wiz.Generatore(), "GEN_ART"); // a typed name that exists stays
    wiz.SetGeneratore("ALTRO");
    EXPECT_EQ(wiz.Generatore(), "");
    EXPECT_TRUE(wiz.DecodificaSoloLista());
    EXPECT_EQ(wiz.VociTabelle(), QStringList({"A'B", "ART", "FORNITORI"}));
    EXPECT_EQ(wiz.VociCampoImmagine(), QStringList({"", "COD", "DES", "FORNITORE", "PREZZO"}));

    // A second load adds after the rows there are, on a reopened connection.
    wiz.CaricaTabella(ref.path(), "FORNITORI");
    EXPECT_EQ(nomi().mid(4), QStringList({"5CODICE", "6RAGSOC"}));
    EXPECT_EQ(wiz.NomeTabella(), "FORNITORI");
}

TEST_F(WizRiferimentoTest, TableNameWithAnApostropheIsANameNotSql)
{
    wiz.CaricaTabella(ref.path(), "A'B");
    EXPECT_EQ(nomi(), QStringList({"1X", "2Y'Z"}));
    QStringList conBlank;
    wiz.CaricaCampiTabella("FORNITORI" + QString(40, QChar(' ')), conBlank);
    EXPECT_EQ(conBlank, QStringList({"CODICE", "RAGSOC"}));
    QStringList colonne;
    wiz.CaricaCampiTabella("ART' OR ''='", colonne);
    EXPECT_TRUE(colonne.isEmpty());
    wiz.CaricaCampiTabella(QString(70, QChar('A')), colonne);
    wiz.CaricaCampiTabella(QString(), colonne);
    wiz.CaricaCampiTabella("X", colonne);
    EXPECT_TRUE(colonne.isEmpty());
}

TEST_F(WizRiferimentoTest, MissingOrUnreadableFileIsNeverCreatedNorAskedAbout)
{
    const QStringList before = filesInFolder();
    // No box may show: the recorder fails the test on any.
    wiz.CaricaTabella(ref.folder() + "/manca.fdb", "ART");
    EXPECT_FALSE(wiz.DatabaseRif->Connected());
    EXPECT_EQ(wiz.TabCampi->Count(), 0);
    EXPECT_EQ(wiz.NomeTabella(), "");
    EXPECT_FALSE(wiz.GeneratoreSoloLista());
    EXPECT_EQ(filesInFolder(), before);

    QFile junk(ref.folder() + "/junk.fdb");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(8192, 'x'));
    junk.close();
    EXPECT_FALSE(wiz.ApriDatabaseRif(ref.folder() + "/junk.fdb"));
    EXPECT_FALSE(QFile::exists(ref.folder() + "/dati.ini"));
    EXPECT_FALSE(wiz.ApriDatabaseRif("relativo.fdb"));
    EXPECT_EQ(messages.seen().size(), 0);
}

TEST_F(WizRiferimentoTest, DecodingColumnsFollowTheCurrentRowsTable)
{
    wiz.AggiungiCampo(1, "FORNITORE");
    wiz.SetDecodificaTabella("FORNITORI"); // free text: no columns yet
    EXPECT_TRUE(wiz.VociColonneDecodifica().isEmpty());
    wiz.AggiungiCampo(2, "DES");
    ASSERT_TRUE(wiz.ApriDatabaseRif(ref.path()));
    EXPECT_TRUE(wiz.VociColonneDecodifica().isEmpty());
    wiz.TabCampi->SetCorrente(0);
    EXPECT_EQ(wiz.VociColonneDecodifica(), QStringList({"CODICE", "RAGSOC"}));
    wiz.TabCampi->SetCorrente(1);
    EXPECT_TRUE(wiz.VociColonneDecodifica().isEmpty());
    wiz.SetDecodificaTabella("A'B");
    EXPECT_EQ(wiz.VociColonneDecodifica(), QStringList({"X", "Y'Z"}));
    wiz.SetDecodificaTabella("");
    EXPECT_TRUE(wiz.VociColonneDecodifica().isEmpty());
}

TEST_F(WizRiferimentoTest, ReferenceTransactionOnlyReads)
{
    ASSERT_TRUE(wiz.ApriDatabaseRif(ref.path()));
    ASSERT_TRUE(wiz.TransactionRif->InTransaction());
    TIBSQL insert;
    insert.setDatabase(wiz.DatabaseRif);
    insert.setTransaction(wiz.TransactionRif);
    insert.SQL = QStringList{"INSERT INTO FORNITORI (CODICE) VALUES (1)"};
    EXPECT_THROW(insert.ExecQuery(), EIBError);

    // Read committed: a table another program adds meanwhile is seen.
    OtherConnection other(ref.path());
    other.exec("CREATE TABLE NUOVA (A INTEGER)");
    QStringList colonne;
    wiz.CaricaCampiTabella("NUOVA", colonne);
    EXPECT_EQ(colonne, QStringList({"A"}));
}

TEST_F(WizRiferimentoTest, CodeButtonsPassWithTheCsdProjectsDatabase)
{
    tabForm.IBCSDProgetti->DatabaseName = ref.path();
    tabForm.IBCSDProgetti->Params = connectionParams();
    tabForm.IBCSDProgetti->Open();
    EXPECT_TRUE(wiz.PuoScegliereCodice());
}

TEST_F(WizRiferimentoTest, FieldSearchPicksFromTheDecodingTablesColumns)
{
    ASSERT_TRUE(wiz.ApriDatabaseRif(ref.path()));
    wiz.AggiungiCampo(1, "FORNITORE");
    wiz.SetDecodifica(true);
    wiz.SetDecodificaTabella("FORNITORI");
    wiz.SetDecodificaCampoColl("CODICE");
    QStringList scelte;
    Modal::setRunner([&](QDialog *d) {
        if (auto *pick = qobject_cast<TWizComboForm *>(d)) {
            pick->ComboValore->setCurrentText("RAGSOC");
            pick->ButtonOk->click();
        } else if (auto *f = qobject_cast<TWizCSDRicercaForm *>(d)) {
            scelte = f->Wizard->NomiScelta + f->Wizard->Ricerca->CampiRitorno;
            EXPECT_EQ(f->Wizard->Ricerca->NomeTabella, "FORNITORI");
            f->ButtonNuovo->click();
            f->ButtonOk->click();
        }
        return d->result();
    });
    wiz.ConfiguraRicercaCampo();
    Modal::setRunner({});
    EXPECT_EQ(scelte, QStringList({"CODICE", "RAGSOC", "CODICE"})); // picks, then returned
    EXPECT_TRUE(
        wiz.TabCampi->Riga(0).RicercaScript.contains("<CampiRic><CampoRic><Nome>RAGSOC</Nome>"));
}
