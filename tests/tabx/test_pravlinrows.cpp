#include "messagerecorder.h"
#include "pravlinrows.h"
#include "testdb.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace Pravlin;

namespace {

const QChar kAcuto(0x00B4);
const QString kNull = QStringLiteral("<NULL>");

class PravlinRows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        t.exec(QStringLiteral("CREATE TABLE TABPRAVLIN(UTENTE SMALLINT NOT NULL,"
                              "INTESTAZIONE VARCHAR(64) NOT NULL,PARAMETRO VARCHAR(64) NOT NULL,"
                              "VALORE VARCHAR(256),PROGRESSIVO INTEGER,"
                              "CONSTRAINT TABPRAVLIN_CHIAVEPRIMARIA PRIMARY KEY"
                              "(UTENTE,INTESTAZIONE,PARAMETRO))"));
        t.exec(QStringLiteral("INSERT INTO TABPRAVLIN VALUES (9,'ALTRA','X','y',1)"));
    }

    bool aggiorna(const QString &utente, const QString &testo)
    {
        return AggiornaTabPravlin(t.db(), t.tr(), utente, testo);
    }

    // The user's rows as "section|name|value|order"; by default read through a
    // separate transaction, so only committed rows are seen.
    QStringList righe(int utente, TIBTransaction *in = nullptr)
    {
        TIBTransaction altra;
        altra.setDefaultDatabase(&t.db());
        TIBSQL q;
        q.setDatabase(&t.db());
        q.setTransaction(in ? in : &altra);
        q.SQL = QStringList{QStringLiteral("SELECT INTESTAZIONE,PARAMETRO,VALORE,PROGRESSIVO "
                                           "FROM TABPRAVLIN WHERE UTENTE=:U ORDER BY PROGRESSIVO")};
        q.Prepare();
        q.ParamByName(QStringLiteral("U")).setAsInteger(utente);
        QStringList out;
        for (q.ExecQuery(); !q.Eof(); q.Next()) {
            const QString valore = q.Fields(2).IsNull() ? kNull : q.Fields(2).AsString();
            out << QStringList{q.Fields(0).AsString(), q.Fields(1).AsString(), valore,
                               q.Fields(3).AsString()}
                       .join(QLatin1Char('|'));
        }
        q.Close();
        if (altra.InTransaction())
            altra.Commit();
        return out;
    }

    TestDatabase t;
};

} // namespace

TEST_F(PravlinRows, CompleteTextGivesExactCommittedRows)
{
    MessageRecorder rec;
    t.exec(QStringLiteral("INSERT INTO TABPRAVLIN VALUES (5,'VECCHIA','Z','1',1)"));
    const QString testo = QStringLiteral("[ALFA]\r\n"
                                         "Lingua=IT\r\n"
                                         "Nota=l'ultima\r\n"
                                         "Formula=a=b\r\n"
                                         "Vuoto=\r\n"
                                         "\r\n"
                                         "Sperduto=1\r\n"
                                         "[BETA <INATTIVA>]\n"
                                         "Lingua=EN\n"
                                         "[GAMMA]\n"
                                         "Ultimo=fine");
    ASSERT_TRUE(aggiorna(QStringLiteral("5"), testo));
    EXPECT_EQ(righe(5), (QStringList{
                            QStringLiteral("ALFA|Lingua|IT|1"),
                            QStringLiteral("ALFA|Nota|l") + kAcuto + QStringLiteral("ultima|2"),
                            QStringLiteral("ALFA|Formula|a=b|3"),
                            QStringLiteral("ALFA|Vuoto|<NULL>|4"),
                            QStringLiteral("BETA <INATTIVA>|Lingua|EN|5"),
                            QStringLiteral("GAMMA|Ultimo|fine|6"),
                        }));
    EXPECT_EQ(righe(9), QStringList{QStringLiteral("ALTRA|X|y|1")});
    EXPECT_TRUE(t.tr().InTransaction()); // retaining: the shared transaction goes on
}

TEST_F(PravlinRows, NamesWithApostropheAreStoredAsTyped)
{
    MessageRecorder rec;
    ASSERT_TRUE(aggiorna(QStringLiteral("3"), QStringLiteral("[D'Amico]\nNome'1=v'\n")));
    EXPECT_EQ(righe(3),
              QStringList{QStringLiteral("D'Amico|Nome'1|v") + kAcuto + QStringLiteral("|1")});
}

TEST_F(PravlinRows, FailedInsertKeepsThePreviousRows)
{
    MessageRecorder rec;
    ASSERT_TRUE(aggiorna(QStringLiteral("4"), QStringLiteral("[A]\nP=1\nQ=2\n")));
    const QStringList prima = righe(4);

    rec.expect(TMsgDlgType::Error, MsgErroreInsert);
    EXPECT_FALSE(aggiorna(QStringLiteral("4"), QStringLiteral("[A]\nN=1\nP=2\nP=3\n")));
    EXPECT_EQ(righe(4), prima);
    // Nothing of the failed attempt is left pending in the shared transaction.
    EXPECT_EQ(righe(4, &t.tr()), prima);

    rec.expect(TMsgDlgType::Error, MsgErroreInsert);
    EXPECT_FALSE(aggiorna(QStringLiteral("4"),
                          QStringLiteral("[A]\n") + QString(65, 'n') + QStringLiteral("=1\n")));
    EXPECT_EQ(righe(4), prima);
}

TEST_F(PravlinRows, FailedDeleteTriesNoInsert)
{
    MessageRecorder rec;
    rec.expect(TMsgDlgType::Error, MsgErroreDelete);
    EXPECT_FALSE(aggiorna(QStringLiteral("x"), QStringLiteral("[A]\nP=1\n")));
    EXPECT_EQ(rec.seen().size(), 1);
    EXPECT_EQ(righe(9), QStringList{QStringLiteral("ALTRA|X|y|1")});
}

TEST_F(PravlinRows, EmptyTextDeletesTheUsersRows)
{
    MessageRecorder rec;
    ASSERT_TRUE(aggiorna(QStringLiteral("9"), QString()));
    EXPECT_TRUE(righe(9).isEmpty());
}

TEST_F(PravlinRows, LongTextIsWrittenWhole)
{
    MessageRecorder rec;
    QString testo = QStringLiteral("[D]\n");
    for (int i = 1; i <= 4100; ++i)
        testo += QStringLiteral("P%1=%1\n").arg(i);
    ASSERT_TRUE(aggiorna(QStringLiteral("2"), testo));
    const QStringList r = righe(2);
    ASSERT_EQ(r.size(), 4100);
    EXPECT_EQ(r.last(), QStringLiteral("D|P4100|4100|4100"));
}

TEST(VerificaPravlin, WarnsForMissingCompanyThenForPaths)
{
    MessageRecorder rec;
    const QString testo = QStringLiteral("[ACME <INATTIVA>]\r\nDirectory bin=C:\\x\r\n");
    rec.expect(TMsgDlgType::Warning,
               QStringLiteral("Si prega di specificare una ditta nel Pravlin"));
    EXPECT_FALSE(VerificaPravlin(testo, QStringLiteral("ACME")));

    rec.expect(
        TMsgDlgType::Warning,
        QStringLiteral("Ditta \"ACME <INATTIVA>\", parametrizzazione \"Directory bin=C:\\x\": "
                       "il percorso deve terminare con \"\\\""));
    EXPECT_FALSE(VerificaPravlin(testo, QStringLiteral("ACME <INATTIVA>")));

    EXPECT_TRUE(VerificaPravlin(QStringLiteral("[ACME]\r\nDirectory bin=C:\\x\\\r\n"),
                                QStringLiteral("ACME")));
}

TEST_F(PravlinRows, TextsTheRowsCannotHoldAreRefusedBeforeAnythingIsWritten)
{
    MessageRecorder rec;
    const QString n64(64, 'n'), v256(256, 'v'), d64(64, 'D');
    const auto avviso = [](const QString &ditta, const QString &parametro, const QString &motivo) {
        return QStringLiteral("Ditta \"%1\", parametrizzazione \"%2\": %3")
            .arg(ditta, parametro, motivo);
    };
    const QString ripetuto = QStringLiteral("parametro ripetuto");
    const QString fuori = QStringLiteral("parametro fuori dalla ditta");
    const QString senza = QStringLiteral("Ditta \"%1\": ditta senza parametri");
    const QList<std::pair<QString, QString>> casi = {
        {"[ALFA]\r\nLingua=IT\r\nLingua=EN", avviso("ALFA", "Lingua", ripetuto)},
        {"[ALFA]\nLingua=IT\n[BETA]\nX=1\n[ALFA]\nLingua=EN", avviso("ALFA", "Lingua", ripetuto)},
        {"[ALFA]\nLingua=IT\nLingua  =EN", avviso("ALFA", "Lingua  ", ripetuto)},
        {"[ALFA]\nLingua=IT\n[ALFA ]\nLingua=EN", avviso("ALFA ", "Lingua", ripetuto)},
        {"[ALFA]\n" + n64 + "n=1",
         avviso("ALFA", n64 + "n", "il nome del parametro supera i 64 caratteri")},
        {"[ALFA]\nLungo=" + v256 + "v",
         avviso("ALFA", "Lungo", "il valore supera i 256 caratteri")},
        {"[ALFA]\nA=1\n[" + d64 + "D]\nX=1",
         avviso(d64 + "D", "X", "il nome della ditta supera i 64 caratteri")},
        {"[ALFA]", senza.arg("ALFA")},
        {"[ALFA]\r\n\r\nLingua=IT", avviso("ALFA", "Lingua", fuori)},
        {"[ALFA]\nA=1\n[\nLingua=IT", avviso("", "Lingua", fuori)},
        {"[ALFA]\nA=1\n[]", senza.arg("")},
        {"[BETA]\n[ALFA]\nA=1", senza.arg("BETA")},
    };
    ASSERT_TRUE(aggiorna(QStringLiteral("7"), QStringLiteral("[ALFA]\nA=1")));
    const QStringList prima = righe(7);
    for (const auto &[testo, messaggio] : casi) {
        rec.expect(TMsgDlgType::Warning, messaggio);
        EXPECT_FALSE(VerificaPravlin(testo, QStringLiteral("ALFA"))) << testo.toStdString();
        EXPECT_EQ(rec.pending(), 0) << testo.toStdString();
        // The rows indeed cannot hold it: the copy fails, or a section is
        // missing from what it stored.
        rec.allowAny();
        const bool scritto = aggiorna(QStringLiteral("8"), testo);
        rec.allowAny(false);
        rec.clear();
        QSet<QString> sezioni;
        for (const QString &r : righe(8))
            sezioni.insert(r.section(QLatin1Char('|'), 0, 0));
        EXPECT_TRUE(!scritto || sezioni.size() < testo.count(QLatin1Char('[')))
            << testo.toStdString();
    }
    EXPECT_EQ(righe(7), prima);

    // What the columns just hold is stored exactly; case tells names apart.
    const QString limite =
        "[ALFA]\n" + n64 + "=" + v256 + "\nLingua=IT\nlingua=it\n[" + d64 + "]\nLingua=EN\n";
    EXPECT_TRUE(VerificaPravlin(limite, QStringLiteral("ALFA")));
    ASSERT_TRUE(aggiorna(QStringLiteral("7"), limite));
    EXPECT_EQ(righe(7), (QStringList{"ALFA|" + n64 + "|" + v256 + "|1", "ALFA|Lingua|IT|2",
                                     "ALFA|lingua|it|3", d64 + "|Lingua|EN|4"}));
    EXPECT_TRUE(rec.seen().isEmpty());
}
