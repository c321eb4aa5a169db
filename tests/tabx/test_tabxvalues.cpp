#include "tabxtest.h"

namespace {

class TabXValues : public TabXTest
{
protected:
    void SetUp() override
    {
        TabXTest::SetUp();
        x = crea(3);
    }
    // Every row, sorted, as "Tipo|Nome|Numero|Testo|Data|Memo|Livello1|Livello2|Utente".
    QStringList righe()
    {
        QStringList out;
        TRxMemoryData *t = x->MemTabX;
        for (t->First(); !t->Eof(); t->Next()) {
            QStringList campi;
            for (int i = 1; i < t->FieldCount(); ++i)
                campi << (t->Fields(i)->IsNull() ? "-" : t->Fields(i)->AsString());
            out << campi.join('|');
        }
        out.sort(); // an insert goes before the current row
        return out;
    }
    std::unique_ptr<TTabXForm> x;
};

} // namespace

TEST_F(TabXValues, SetOnlyChangesNamesThatExist)
{
    EXPECT_FALSE(x->SetV("Manca", "v"));
    EXPECT_FALSE(x->SetM("Manca", "v"));
    EXPECT_EQ(x->GetV("Manca"), "");
    EXPECT_EQ(x->GetM("Manca"), "");
    EXPECT_TRUE(righe().isEmpty());

    x->Inserisci("TBX", "Titolo", "", "", "", "", "", "", "");
    EXPECT_TRUE(x->SetV("Titolo", "Vendite d'aprile"));
    EXPECT_TRUE(x->SetM("Titolo", QString(70000, 'm')));
    EXPECT_FALSE(x->SetV("titolo", "x")); // exact, case-sensitive
    EXPECT_EQ(x->GetV("Titolo"), "Vendite d'aprile");
    EXPECT_EQ(x->GetM("Titolo"), QString(70000, 'm'));
}

TEST_F(TabXValues, InserisciIsAnUpsertOnTypeNameAndUser)
{
    x->Inserisci("TBX", "A", "7", "primo", "25/12/2024", "m1", "1", "2", "5");
    x->Inserisci("TBX", "A", "8", "secondo", "", "", "3", "", "5");
    EXPECT_EQ(righe(), QStringList({"TBX|A|8|secondo|-|-|3|-|5"}));

    // Another user adds a row, inserted before the current one: it is now
    // the first row of the name, and answers.
    x->Inserisci("TBX", "A", "", "terzo", "", "", "", "", "6");
    EXPECT_EQ(x->GetV("A"), "terzo");
    EXPECT_EQ(righe().size(), 2);

    // Without a user: the row without one is found again.
    x->Inserisci("ALTRO", "B", "", "b1", "", "", "", "", "");
    x->Inserisci("ALTRO", "B", "", "b2", "", "", "", "", "");
    EXPECT_EQ(righe().first(), "ALTRO|B|-|b2|-|-|-|-|-");
    EXPECT_EQ(righe().size(), 3);
}

TEST_F(TabXValues, ATextThatDoesNotConvertChangesNothing)
{
    x->Inserisci("TBX", "A", "1", "a", "01/02/2024", "", "", "", "5");
    const QStringList prima = righe();
    struct Caso
    {
        const char *nome, *numero, *data, *livello, *utente;
    };
    for (const Caso &c : {Caso{"A", "abc", "", "", "5"}, Caso{"A", "", "31/02/2024", "", "5"},
                          Caso{"N", "", "", "99999", "5"}, Caso{"N", "", "", "", "x"}}) {
        EXPECT_THROW(
            x->Inserisci("TBX", c.nome, c.numero, "t", c.data, "", c.livello, "", c.utente),
            std::exception)
            << c.nome << c.numero << c.data;
        EXPECT_EQ(x->MemTabX->State(), dsBrowse);
        EXPECT_EQ(righe(), prima);
    }
    // The next locate posts nothing half-set.
    x->Inserisci("TBX", "B", "2", "b", "", "", "", "", "5");
    EXPECT_EQ(righe(), QStringList({"TBX|A|1|a|01/02/2024|-|-|-|5", "TBX|B|2|b|-|-|-|-|5"}));
}
