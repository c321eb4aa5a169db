#include "pravlintext.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using Pravlin::ComponiPravlin;

static void PrintTo(const TPravlin &p, std::ostream *os)
{
    *os << "(" << p.Intestazione.toStdString() << " | " << p.Parametro.toStdString() << " | "
        << p.Valore.toStdString() << ")";
}

TEST(ComponiPravlin, HeadingLinesParameterLinesAndLineFeeds)
{
    EXPECT_EQ(ComponiPravlin({{"A", "X", "1"}, {"A", "Y", ""}, {"B", "Z", "v"}}),
              "[A]\nX=1\nY=\n[B]\nZ=v\n");
    EXPECT_EQ(ComponiPravlin({}), QString());
    // Rows without a heading come first in the database's order and are
    // written bare; after a heading they have nowhere to go.
    EXPECT_EQ(ComponiPravlin({{"", "P", "1"}, {"", "Q", "2"}, {"A", "X", "1"}, {"", "R", "3"}}),
              "P=1\nQ=2\n[A]\nX=1\n");
    // An empty name gives an empty line, right after the heading when first.
    EXPECT_EQ(
        ComponiPravlin({{"A", "", "ignorato"}, {"A", "X", "1"}, {"B", "Y", "2"}, {"B", "", ""}}),
        "[A]\n\nX=1\n[B]\nY=2\n\n");
    // Headings are compared exactly; the order is the caller's.
    EXPECT_EQ(ComponiPravlin({{"b", "X", "1"}, {"B", "X", "2"}, {"b", "X", "3"}}),
              "[b]\nX=1\n[B]\nX=2\n[b]\nX=3\n");
    EXPECT_EQ(ComponiPravlin({{"D'Amico", "Nome'1", "l´ultima"}}), "[D'Amico]\nNome'1=l´ultima\n");
}

namespace {

QString casuale(QRandomGenerator &g, const QString &alfabeto, int massimo)
{
    QString s;
    const int n = int(g.bounded(massimo + 1));
    for (int i = 0; i < n; ++i)
        s += alfabeto.at(int(g.bounded(alfabeto.size())));
    return s;
}

} // namespace

// What the rows' writers can store, written and read back by the splitter,
// gives the same rows: headings and names without line ends, names without
// "=", names and headings not empty.
TEST(ComponiPravlin, SplitterReadsTheRowsBackFuzz)
{
    QRandomGenerator g(20240515);
    const QString testo = QStringLiteral("abcXYZ 09[]'´€É<>\\/.;=");
    const QString nomi = QStringLiteral("abcXYZ 09[]'´€É<>\\/.;");
    for (int giro = 0; giro < 500; ++giro) {
        QVector<TPravlin> righe;
        const int intestazioni = int(g.bounded(5));
        for (int h = 0; h < intestazioni; ++h) {
            QString intestazione = QStringLiteral("H%1").arg(h) + casuale(g, testo, 8);
            const int n = 1 + int(g.bounded(6));
            for (int p = 0; p < n; ++p)
                righe.append({intestazione, QStringLiteral("P%1").arg(p) + casuale(g, nomi, 6),
                              casuale(g, testo, 12)});
        }
        ASSERT_EQ(Pravlin::DividiPravlin(ComponiPravlin(righe)), righe) << "round " << giro;
    }
}

// Rows of any content (other programs write TABPRAVLIN too): a text that
// is empty or ends with its line feed, without a CR of its own.
TEST(ComponiPravlin, AnyRowsGiveWholeLinesFuzz)
{
    QRandomGenerator g(7);
    const QString alfabeto = QStringLiteral("ab[]=\r\n '´\t");
    for (int giro = 0; giro < 500; ++giro) {
        QVector<TPravlin> righe;
        int ritorni = 0;
        const int n = int(g.bounded(12));
        for (int i = 0; i < n; ++i) {
            righe.append({casuale(g, QStringLiteral("ab["), 2), casuale(g, alfabeto, 5),
                          casuale(g, alfabeto, 5)});
            ritorni += righe.last().Intestazione.count('\r') + righe.last().Parametro.count('\r') +
                       righe.last().Valore.count('\r');
        }
        const QString risultato = ComponiPravlin(righe);
        EXPECT_TRUE(risultato.isEmpty() || risultato.endsWith('\n')) << "round " << giro;
        EXPECT_LE(risultato.count('\r'), ritorni) << "round " << giro;
        EXPECT_EQ(risultato.isEmpty(), righe.isEmpty()) << "round " << giro;
    }
}
