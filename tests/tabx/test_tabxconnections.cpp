#include "tabxtest.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class TabXConnections : public TabXTest
{
protected:
    void SetUp() override
    {
        TabXTest::SetUp();
        x = crea(3); // the connections need no user database
    }
    void valore(const QString &nome, const QString &testo)
    {
        x->MemTabX->AppendRecord({QVariant(), "TBX", nome, QVariant(), testo});
    }
    std::unique_ptr<TTabXForm> x;
};

} // namespace

TEST_F(TabXConnections, PathFromTheNamedValue)
{
    TestDatabase archivio("ditta.fdb");
    valore("ArchivioDitta", archivio.path());
    EXPECT_EQ(x->GetV("ArchivioDitta"), archivio.path());
    EXPECT_EQ(x->GetV("archiviodittA"), QString()); // names match exactly

    x->ConnettiDatabase2("ArchivioDitta");
    ASSERT_TRUE(x->IBDatabase2->Connected());
    EXPECT_EQ(x->IBDatabase2->DatabaseName, archivio.path());
    x->ConnettiDatabase5("ArchivioDitta");
    EXPECT_TRUE(x->IBDatabase5->Connected());
    x->ConnettiDatabase0(archivio.path());
    EXPECT_TRUE(x->IBDatabase1->Connected());
    EXPECT_FALSE(x->IBDatabase3->Connected());
    EXPECT_TRUE(rec.seen().isEmpty());
}

TEST_F(TabXConnections, MissingFileIsCreatedAtThatPath)
{
    QTemporaryDir altrove;
    const QString percorso = altrove.path() + "/nuova.fdb";
    valore("Nuova", percorso);
    rec.expect(TMsgDlgType::None, "Effettuata creazione data base");
    x->ConnettiDatabase4("Nuova");
    EXPECT_TRUE(x->IBDatabase4->Connected());
    EXPECT_TRUE(QFile::exists(percorso));
}

TEST_F(TabXConnections, MissingNameTriesNothing)
{
    QTemporaryDir lavoro;
    const QString prima = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(lavoro.path()));
    rec.expect(TMsgDlgType::Error, "Errore apertura archivio");
    x->ConnettiDatabase3("Manca");
    rec.expect(TMsgDlgType::Error, "Errore apertura archivio");
    x->ConnettiDatabase0(QString());
    QDir::setCurrent(prima);

    EXPECT_FALSE(x->IBDatabase3->Connected());
    EXPECT_EQ(rec.seen().size(), 2); // no prompt
    EXPECT_TRUE(QDir(lavoro.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}
