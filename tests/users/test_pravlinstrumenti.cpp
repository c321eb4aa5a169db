#include "pravlinstrumenti.h"
#include "win1252.h"

#include <gtest/gtest.h>
#include <random>
#include <tuple>

using namespace Strumenti;

namespace {

const QStringList kTesto = {"[ALFA]",    "Lingua=IT", "lingua2=it", "[BETA]",
                            "LINGUA=EN", "Città=Èra", "città=èra"};

// Each press of "Cerca" as the window makes it: the line found, or -1.
QVector<int> cerca(const QStringList &parole)
{
    QString parola;
    int ultima = 0;
    QVector<int> trovate;
    for (const QString &p : parole) {
        const auto t = Cerca(kTesto, p, parola, ultima);
        trovate.append(t ? t->riga : -1);
    }
    return trovate;
}

} // namespace

TEST(PravlinStrumenti, SearchGoesLineByLineIgnoringTheCaseOfAToZOnly)
{
    struct Caso
    {
        const char *nome;
        QStringList parole;
        QVector<int> righe;
    };
    const Caso casi[] = {
        // The same word goes on after the last line found, then "Ricerca
        // terminata", and again; another word starts from the top.
        {"same word",
         {"lingua", "lingua", "lingua", "lingua", "lingua", "beta"},
         {1, 2, 4, -1, -1, 3}},
        {"accented letters keep their case", {"èra", "èra", "ÈRA"}, {6, -1, 5}},
        {"empty word", {"", ""}, {-1, -1}},
        {"not there", {"gamma"}, {-1}},
    };
    for (const Caso &c : casi)
        EXPECT_EQ(cerca(c.parole), c.righe) << c.nome;

    QString parola;
    int ultima = 0;
    const auto t = Cerca(kTesto, "it", parola, ultima);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->colonna, 7);
    EXPECT_EQ(MaiuscoleAZ("àbz{è"), "àBZ{è");
}

TEST(PravlinStrumenti, SubstituteTouchesOnlyParameterLinesNamedExactly)
{
    const QStringList testo = {"[DBX]", "DB=1", "PATHDB=2", "DB =3", "[A]", "DB=4", "=5", "DB"};
    struct Caso
    {
        QString tag;
        QVector<int> righe;
    };
    const Caso casi[] = {{"DB", {1, 5}}, {"", {}}, {"PATHDB", {2}}, {"DB ", {3}}, {"X", {}}};
    for (const Caso &c : casi)
        EXPECT_EQ(RigheDelTag(testo, c.tag), c.righe) << c.tag.toStdString();

    // A header, even with "=", and a line without "=" name no parameter.
    for (const QString &r : {QString("[DB=1]"), QString("DB"), QString()})
        EXPECT_FALSE(TagEValore(r)) << r.toStdString();
    const auto tv = TagEValore("Formula=a=b");
    ASSERT_TRUE(tv);
    EXPECT_EQ(tv->tag, "Formula");
    EXPECT_EQ(tv->valore, "a=b");

    EXPECT_EQ(ConBarra("/srv/suite"), "/srv/suite\\");
    EXPECT_EQ(ConBarra("C:\\Suite\\"), "C:\\Suite\\");
}

TEST(PravlinStrumenti, ExchangeFileRoundTripAndReadBack)
{
    // What the memo shows comes back as it was.
    for (const QString &memo :
         {QString("[ALFA]\nLingua=IT\nNota=l´ultima €"), QString("a\n\nb\n"), QString("\n")}) {
        const TLettura l = LeggiFileScambio(FileScambio(memo));
        EXPECT_EQ(l.esito, TLettura::Letto);
        EXPECT_EQ(l.testo, memo);
    }
    EXPECT_EQ(FileScambio("a\nè"), QByteArray("a\r\n\xc3\xa8\r\n"));
    EXPECT_TRUE(FileScambio("").isEmpty());

    struct Caso
    {
        QByteArray bytes;
        TLettura::Esito esito;
        QString testo;
        int riga;
    };
    const Caso casi[] = {
        {"a\r\nb", TLettura::Letto, "a\nb", 0},     // last line without line end
        {"a\nb\n\n", TLettura::Letto, "a\nb\n", 0}, // one line end dropped only
        {"\xef\xbb\xbf"
         "a\r\n",
         TLettura::Letto, "a", 0},                     // a byte-order mark goes
        {"citt\xe0\r\n", TLettura::Letto, "città", 0}, // not UTF-8: Windows-1252
        {QByteArray("a\r\nb\0c\r\n", 8), TLettura::CarattereNonAmmesso, "", 2},
        {"a\r\nb\r\n\xe2\x86\x92\r\n", TLettura::CarattereNonAmmesso, "", 3},
        {"", TLettura::VuotoOMancante, "", 0},
    };
    for (const Caso &c : casi) {
        const TLettura l = LeggiFileScambio(c.bytes);
        EXPECT_EQ(std::tie(l.esito, l.testo, l.riga), std::tie(c.esito, c.testo, c.riga))
            << c.bytes.toStdString();
    }
}

TEST(PravlinStrumenti, ReadBackOfAnyBytesIsStorableOrRefused)
{
    std::mt19937 rng(36);
    const char pezzi[] = {'a',    '=',    '\r',   '\n',   '\0',   '\xc3', '\xa8',
                          '\xe2', '\x82', '\xac', '\x81', '\xff', '[',    ']'};
    for (int i = 0; i < 2000; ++i) {
        QByteArray bytes;
        const int n = int(rng() % 40);
        for (int k = 0; k < n; ++k)
            bytes.append(pezzi[rng() % sizeof pezzi]);
        const TLettura l = LeggiFileScambio(bytes);
        if (l.esito != TLettura::Letto)
            continue;
        EXPECT_TRUE(Win1252::canEncode(l.testo));
        EXPECT_FALSE(l.testo.contains(QChar(0)));
        EXPECT_FALSE(l.testo.contains('\r'));
        // What was read goes out and back unchanged.
        EXPECT_EQ(LeggiFileScambio(FileScambio(l.testo)).testo, l.testo);
    }
}
