#include "pravlintext.h"

#include <gtest/gtest.h>

using namespace Pravlin;

// Readable failures for entry lists.
static void PrintTo(const TPravlin &p, std::ostream *os)
{
    *os << "(" << p.Intestazione.toStdString() << " | " << p.Parametro.toStdString() << " | "
        << p.Valore.toStdString() << ")";
}

namespace {

QString checkMessage(const QString &testo)
{
    try {
        CheckParametri(testo);
    } catch (const ECheckParametri &e) {
        return e.message();
    }
    return QString();
}

} // namespace

TEST(DividiPravlin, CompleteTextGivesEntriesInTextOrder)
{
    const QString testo = QStringLiteral("Prima=ignorata\r\n"
                                         "[ALFA]\r\n"
                                         "Lingua=IT\r\n"
                                         "Formula=a=b+c\r\n"
                                         "Vuoto=\r\n"
                                         "senza uguale\r\n"
                                         "=senzanome\r\n"
                                         "\r\n"
                                         "Sperduto=1\n"
                                         "[BETA <INATTIVA>]\n"
                                         " Spazio = x \n"
                                         "[GAMMA]\n"
                                         "Ultimo=fine");
    const QVector<TPravlin> attese = {
        {QStringLiteral("ALFA"), QStringLiteral("Lingua"), QStringLiteral("IT")},
        {QStringLiteral("ALFA"), QStringLiteral("Formula"), QStringLiteral("a=b+c")},
        {QStringLiteral("ALFA"), QStringLiteral("Vuoto"), QString()},
        {QStringLiteral("BETA <INATTIVA>"), QStringLiteral(" Spazio "), QStringLiteral(" x ")},
        {QStringLiteral("GAMMA"), QStringLiteral("Ultimo"), QStringLiteral("fine")},
    };
    EXPECT_EQ(DividiPravlin(testo), attese);
}

TEST(DividiPravlin, OddHeadersAndLineEnds)
{
    // A blank after the bracket: the blank is cut, the bracket stays.
    EXPECT_EQ(
        DividiPravlin(QStringLiteral("[X] \nA=1\n")),
        (QVector<TPravlin>{{QStringLiteral("X]"), QStringLiteral("A"), QStringLiteral("1")}}));
    // "[" alone and "[]" open an empty section: nothing until the next header.
    EXPECT_TRUE(DividiPravlin(QStringLiteral("[\nA=1\n[]\nB=2\n")).isEmpty());
    EXPECT_EQ(DividiPravlin(QStringLiteral("[]\nB=2\n[Y]\nC=3")).size(), 1);
    // A CR inside a line is dropped, not kept in the value.
    EXPECT_EQ(
        DividiPravlin(QStringLiteral("[X]\r\r\nA=1\r2\r\n")),
        (QVector<TPravlin>{{QStringLiteral("X"), QStringLiteral("A"), QStringLiteral("12")}}));
    // A line holding only a CR is an empty line and ends the section.
    EXPECT_TRUE(DividiPravlin(QStringLiteral("[X]\n\r\nA=1\n")).isEmpty());
    EXPECT_TRUE(DividiPravlin(QString()).isEmpty());
}

TEST(DittaPresente, NeedsTheActiveHeaderExactly)
{
    const QString testo = QStringLiteral("[ACME]\r\nA=1\r\n[Beta <INATTIVA>]\r\n");
    EXPECT_TRUE(DittaPresente(testo, QStringLiteral("ACME")));
    EXPECT_FALSE(DittaPresente(testo, QStringLiteral("acme")));
    EXPECT_FALSE(DittaPresente(testo, QStringLiteral("Beta")));
    EXPECT_FALSE(DittaPresente(testo, QStringLiteral("ACM")));
    EXPECT_EQ(MsgDittaMancante, QStringLiteral("Si prega di specificare una ditta nel Pravlin"));
}

TEST(CheckParametri, DirectoryBinMustEndWithBackslash)
{
    EXPECT_EQ(checkMessage(QStringLiteral("[ACME]\r\nDirectory bin=C:\\Suite\\bin\\\r\n")),
              QString());
    EXPECT_EQ(checkMessage(QStringLiteral("[ACME]\r\nA=1\r\nDirectory bin=C:\\Suite\\bin\r\n")),
              QStringLiteral("Ditta \"ACME\", parametrizzazione \"Directory bin=C:\\Suite\\bin\": "
                             "il percorso deve terminare con \"\\\""));
    // Nothing after the sign is no path either.
    EXPECT_EQ(checkMessage(QStringLiteral("[B]\nDirectory bin=")),
              QStringLiteral("Ditta \"B\", parametrizzazione \"Directory bin=\": "
                             "il percorso deve terminare con \"\\\""));
    // Inside a longer name, the rule applies all the same.
    EXPECT_EQ(checkMessage(QStringLiteral("[B]\rVecchia Directory bin=x")),
              QStringLiteral("Ditta \"B\", parametrizzazione \"Vecchia Directory bin=x\": "
                             "il percorso deve terminare con \"\\\""));
}

TEST(CheckParametri, CompanyIsTheLastLineWithABracket)
{
    const QString coda = QStringLiteral(": il percorso deve terminare con \"\\\"");
    EXPECT_EQ(checkMessage(QStringLiteral("Directory bin=x\n[A]\n")),
              QStringLiteral("Ditta \"\", parametrizzazione \"Directory bin=x\"") + coda);
    EXPECT_EQ(checkMessage(QStringLiteral("[A <INATTIVA>]\nDirectory bin=x")),
              QStringLiteral("Ditta \"A <INATTIVA>\", parametrizzazione \"Directory bin=x\"") +
                  coda);
    // A bracket inside a value renames the company for later lines.
    EXPECT_EQ(checkMessage(QStringLiteral("[A]\nNota=v[1]\nDirectory bin=x")),
              QStringLiteral("Ditta \"Nota=v1\", parametrizzazione \"Directory bin=x\"") + coda);
}
