#include "ibsql.h"
#include "schema.h"
#include "tabxtest.h"

namespace {

// TABX in the user database, made by the one statement the tools use, and
// IBDatabase1 connected to it; the current user is 5.
class TabXRows : public TabXTest
{
protected:
    void SetUp() override
    {
        TabXTest::SetUp();
        creaArchivio();
        exec(Schema::tabX().join('\n'));
        exec(Schema::tabXGenerator().join('\n'));
        // Rows the test writes itself take the codes below.
        exec("SET GENERATOR CODICETABXCOUNTER TO 100");
        utente(5, "ROSSI");
        x = crea(0);
        x->SetUserPerNum(5);
        x->ConnettiDatabase0(fileUtenti());
        ASSERT_TRUE(x->IBDatabase1->Connected());
        rec.clear();
    }
    // A row, through the test's own connection; NULL for the empty text.
    void tabx(int codice, const QString &nome, const QString &testo, const QString &utente,
              const QString &tipo = "TBX", const QString &altro = "NULL,NULL,NULL")
    {
        const auto sql = [](QString s) {
            return s.isEmpty() ? QString("NULL") : "'" + s.replace("'", "''") + "'";
        };
        exec(QString("INSERT INTO TABX (CODICE,CODPROGETTO,CODSITUAZIONE,TIPO,NOME,TESTO,UTENTE,"
                     "NUMERO,DATA,MEMO) VALUES (%1,1,2,%2,%3,%4,%5,%6)")
                 .arg(codice)
                 .arg(sql(tipo), sql(nome), sql(testo), utente.isEmpty() ? QString("NULL") : utente,
                      altro));
    }
    // The rows of a name as "CODPROGETTO|CODSITUAZIONE|TIPO|NUMERO|TESTO|DATA|MEMO|LIVELLO1|
    // LIVELLO2|UTENTE", by CODICE; "-" for NULL.
    QStringList righeTabX(const QString &nome)
    {
        if (!m_lettura)
            m_lettura = std::make_unique<OtherConnection>(fileUtenti());
        TIBSQL q;
        q.setDatabase(&m_lettura->db);
        q.setTransaction(&m_lettura->tr);
        q.SQL = QStringList{"SELECT CODPROGETTO,CODSITUAZIONE,TIPO,NUMERO,TESTO,DATA,MEMO,"
                            "LIVELLO1,LIVELLO2,UTENTE FROM TABX WHERE NOME=:N ORDER BY CODICE"};
        q.Prepare();
        q.ParamByName("N").setAsString(nome);
        QStringList out;
        for (q.ExecQuery(); !q.Eof(); q.Next()) {
            QStringList campi;
            for (int i = 0; i < q.FieldCount(); ++i)
                campi << (q.Fields(i).IsNull() ? "-" : q.Fields(i).AsString());
            out << campi.join('|');
        }
        q.Close();
        m_lettura->tr.Commit();
        return out;
    }
    std::unique_ptr<TTabXForm> x;

private:
    std::unique_ptr<OtherConnection> m_lettura;
};

} // namespace

TEST_F(TabXRows, LoadsTheUsersTbxRowsOverMemTabX)
{
    x->Inserisci("TBX", "Vuota", "1", "vecchio", "01/01/2020", "m", "", "", "5");
    x->Inserisci("TBX", "SoloTesto", "2", "b", "02/02/2020", "mm", "", "", "5");
    tabx(1, "Vuota", "", "5");
    tabx(2, "SoloTesto", "nuovo", "5");
    tabx(3, "Nuova", "n", "5", "TBX", "7,'24.12.2024','memo'");
    tabx(4, "Globale", "g", "");
    tabx(5, "Altrui", "a", "6");
    tabx(6, "AltroTipo", "t", "5", "ALTRO");
    x->AggiornaParametriTabX();

    TRxMemoryData *t = x->MemTabX;
    const auto riga = [&](const QString &nome) {
        if (!t->Locate("Nome", nome))
            return QString("<assente>");
        QStringList campi;
        for (const char *c : {"Numero", "Testo", "Data", "Memo", "Utente"})
            campi << (t->FieldByName(c)->IsNull() ? "-" : t->FieldByName(c)->AsString());
        return campi.join('|');
    };
    EXPECT_EQ(riga("Vuota").toStdString(), "-|-|-|-|5"); // cleared
    EXPECT_EQ(riga("SoloTesto").toStdString(), "2|nuovo|02/02/2020|mm|5");
    EXPECT_EQ(riga("Nuova").toStdString(), "7|n|24/12/2024|memo|5");
    for (const char *assente : {"Globale", "Altrui", "AltroTipo"})
        EXPECT_EQ(riga(assente), "<assente>") << assente;
}

TEST_F(TabXRows, ParametersAreAddedAndWrittenAsBoundValuesOrNotAtAll)
{
    // An extra column: the named insert still fills the right ones.
    exec("ALTER TABLE TABX ADD EXTRA VARCHAR(10)");
    const QString nome = "Nome'1";
    EXPECT_FALSE(x->VerificaEsistenzaInTabX("1", "2", nome));
    EXPECT_TRUE(x->AggiungiParametroInTabX("1", "2", nome, "3,5", "l'altro", "25/12/2024", "m'emo",
                                           "1", ""));
    EXPECT_EQ(righeTabX(nome), QStringList({"1|2|TBX|4|l´altro|25/12/2024|m´emo|1|-|5"}));
    EXPECT_TRUE(x->AggiungiParametroInTabX("1", "2", nome, "9", "", "", "", "", ""));
    EXPECT_EQ(righeTabX(nome).size(), 1);
    for (const auto &vuoto : {QStringList{"", "2", "N"}, {"1", "", "N"}, {"1", "2", ""}}) {
        EXPECT_FALSE(
            x->AggiungiParametroInTabX(vuoto[0], vuoto[1], vuoto[2], "", "", "", "", "", ""));
        EXPECT_FALSE(x->ScriviParametroInTabX(vuoto[0], vuoto[1], vuoto[2], "", "", "", ""));
    }
    EXPECT_FALSE(x->ScriviParametroInTabX("1", "3", nome, "1", "", "", "")); // no such row

    EXPECT_TRUE(x->ScriviParametroInTabX("1", "2", nome, "-2", "d'oro", "01/03/2024", "x"));
    EXPECT_EQ(righeTabX(nome), QStringList({"1|2|TBX|-2|d´oro|01/03/2024|x|1|-|5"}));
    EXPECT_TRUE(x->ScriviParametroInTabX("1", "2", nome, "", "", "", ""));
    EXPECT_EQ(righeTabX(nome), QStringList({"1|2|TBX|-|-|-|-|1|-|5"}));

    // Loading into MemTabX needs the name there.
    EXPECT_TRUE(x->ScriviParametroInTabX("1", "2", nome, "", "testo", "", "memo"));
    EXPECT_FALSE(x->CaricaParametroDaTabX("1", "2", nome, "", "", "", "", "", ""));
    x->Inserisci("ALTRO", nome, "", "", "", "", "", "", "");
    EXPECT_TRUE(x->CaricaParametroDaTabX("1", "2", nome, "", "", "", "", "", ""));
    EXPECT_EQ(x->GetV(nome), "testo");
    EXPECT_EQ(x->GetM(nome), "memo");
    EXPECT_TRUE(rec.seen().isEmpty());

    // A number or a date that does not convert fails the statement.
    const QString nomeP = "P";
    ASSERT_TRUE(x->AggiungiParametroInTabX("1", "2", nomeP, "1", "t", "", "", "", ""));
    const QStringList prima = righeTabX(nomeP);
    for (const auto &errato : {QStringList{"abc", ""}, QStringList{"", "31/02/2024"}}) {
        rec.expect(TMsgDlgType::Error,
                   "Errore interno di UPDATE: impossibile settare il parametro P");
        EXPECT_FALSE(x->ScriviParametroInTabX("1", "2", "P", errato[0], "nuovo", errato[1], ""));
        rec.expect(TMsgDlgType::Error,
                   "Errore interno di INSERT: impossibile aggiungere il parametro Q");
        EXPECT_FALSE(
            x->AggiungiParametroInTabX("1", "2", "Q", errato[0], "", errato[1], "", "", ""));
    }
    EXPECT_EQ(righeTabX(nomeP), prima);
    EXPECT_TRUE(righeTabX("Q").isEmpty());
    EXPECT_EQ(rec.pending(), 0);
}

TEST_F(TabXRows, GlobalAndPerUserValues)
{
    tabx(20, "Ditta", "globale", "");
    tabx(10, "Ditta", "prima globale", "");
    EXPECT_EQ(x->ValoreTabX("Ditta", false), "prima globale"); // the lowest CODICE
    EXPECT_EQ(x->ValoreTabX("Ditta", true), "");

    // A new per-user row: NULL for an empty text; an update writes it empty.
    EXPECT_TRUE(x->SettaValoreTabX("Ditta", "", true));
    EXPECT_EQ(righeTabX("Ditta").last(), "-|-|-|-|-|-|-|-|-|5");
    EXPECT_TRUE(x->SettaValoreTabX("Ditta", "", true));
    EXPECT_EQ(righeTabX("Ditta").last(), "-|-|-|-||-|-|-|-|5");
    EXPECT_TRUE(x->SettaValoreTabX("Ditta", "l'utente", true));
    EXPECT_EQ(x->ValoreTabX("Ditta", true), "l´utente");
    // Without the user every row of the name changes.
    EXPECT_TRUE(x->SettaValoreTabX("Ditta", "tutte", false));
    for (const QString &r : righeTabX("Ditta"))
        EXPECT_TRUE(r.contains("|tutte|")) << r.toStdString();
    EXPECT_TRUE(x->SettaValoreTabX("Nuovo'", "n", false));
    EXPECT_EQ(righeTabX("Nuovo'"), QStringList({"-|-|-|-|n|-|-|-|-|-"}));

    const QString lungo = QString(100000, 'x') + "'€";
    EXPECT_TRUE(x->SettaValoreMTabX("Memo", "", true));
    EXPECT_TRUE(x->SettaValoreMTabX("Memo", lungo, true));
    EXPECT_EQ(x->ValoreMTabX("Memo", true), QString(100000, 'x') + "´€");
    EXPECT_EQ(righeTabX("Memo").size(), 1);

    // Silent failures: a text too long for TESTO, a character the code page
    // lacks.
    EXPECT_FALSE(x->SettaValoreTabX("Ditta", QString(200, 't'), true));
    EXPECT_FALSE(x->SettaValoreMTabX("Cinese", "中", true));
    EXPECT_TRUE(rec.seen().isEmpty());
}

TEST_F(TabXRows, UserCheckGenCopiesTheGlobalValueForTheUser)
{
    tabx(1, "Stampante", "lp'0", "");
    EXPECT_EQ(x->ValoreTabXUserCheckGen("Stampante"), "lp'0");
    EXPECT_EQ(righeTabX("Stampante").last(), "-|-|-|-|lp´0|-|-|-|-|5");
    exec("UPDATE TABX SET TESTO='cambiata' WHERE UTENTE IS NULL");
    EXPECT_EQ(x->ValoreTabXUserCheckGen("Stampante"), "lp´0"); // from the copy

    EXPECT_EQ(x->ValoreTabXUserCheckGen("Nessuna"), "");
    EXPECT_EQ(righeTabX("Nessuna"), QStringList({"-|-|-|-|-|-|-|-|-|5"}));
    EXPECT_EQ(x->ValoreTabXUserCheckGen("Nessuna"), "");
    EXPECT_EQ(righeTabX("Nessuna").size(), 1);
}
