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
        for (x->MemTabX->First(); !x->MemTabX->Eof(); x->MemTabX->Next()) {
            QStringList campi;
            for (int i = 1; i < x->MemTabX->FieldCount(); ++i)
                campi << (x->MemTabX->Fields(i)->IsNull() ? "-"
                                                          : x->MemTabX->Fields(i)->AsString());
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
    EXPECT_TRUE(righe().isEmpty());

    x->Inserisci("TBX", "Titolo", "", "", "", "", "", "", "");
    EXPECT_TRUE(x->SetV("Titolo", "Vendite d'aprile"));
    EXPECT_TRUE(x->SetM("Titolo", QString(70000, 'm')));
    EXPECT_FALSE(x->SetV("titolo", "x")); // exact, case-sensitive
    EXPECT_EQ(x->GetV("Titolo"), "Vendite d'aprile");
    EXPECT_EQ(x->GetM("Titolo"), QString(70000, 'm'));
}

TEST_F(TabXValues, InserisciUpsertsOnTypeNameAndUserAndConvertsFirst)
{
    x->Inserisci("TBX", "A", "7", "primo", "25/12/2024", "m1", "1", "2", "5");
    x->Inserisci("TBX", "A", "8", "secondo", "", "", "3", "", "5");
    EXPECT_EQ(righe(), QStringList({"TBX|A|8|secondo|-|-|3|-|5"}));
    // Another user's row goes before the current one and answers first.
    x->Inserisci("TBX", "A", "", "terzo", "", "", "", "", "6");
    EXPECT_EQ(x->GetV("A"), "terzo");
    // An empty user finds the row without one.
    x->Inserisci("ALTRO", "B", "", "b1", "", "", "", "", "");
    x->Inserisci("ALTRO", "B", "", "b2", "", "", "", "", "");
    const QStringList prima = righe();
    EXPECT_EQ(prima.size(), 3);
    EXPECT_EQ(prima.first(), "ALTRO|B|-|b2|-|-|-|-|-");

    // Numero, date, level, user that do not convert: the table is unchanged
    // and nothing half-set is posted by the next locate.
    for (const auto &c : {QStringList{"A", "abc", "", "", "5"},
                          {"A", "", "31/02/2024", "", "5"},
                          {"N", "", "", "99999", "5"},
                          {"N", "", "", "", "x"}}) {
        EXPECT_THROW(x->Inserisci("TBX", c[0], c[1], "t", c[2], "", c[3], "", c[4]),
                     std::exception);
        EXPECT_EQ(x->MemTabX->State(), dsBrowse);
    }
    EXPECT_EQ(righe(), prima);
}
