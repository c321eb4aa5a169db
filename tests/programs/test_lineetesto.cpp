#include "lineetesto.h"
#include "win1252.h"

#include <QBuffer>
#include <gtest/gtest.h>

#include <random>

namespace {

struct Testo
{
    QByteArray bytes;
    QStringList righe;
};

// Lines of every length, from none to past the reader's block, each with one
// of the three ends chosen at random; the last may have none, and a final
// Ctrl-Z is the old end-of-file mark. UTF-8 adds a character of two and one
// of three bytes, so that sequences straddle the reads too.
Testo componi(std::mt19937 &rng, bool utf8)
{
    const char *fini[] = {"\r\n", "\n", "\r"};
    Testo t;
    while (t.bytes.size() < 1300 * 1024) {
        const int lunga = std::uniform_int_distribution<int>(0, 40)(rng) == 0 ? 400 * 1024 : 3000;
        const int n = std::uniform_int_distribution<int>(0, lunga)(rng);
        QString riga;
        for (int i = 0; i < n; ++i) {
            const int c = std::uniform_int_distribution<int>(0, 99)(rng);
            riga += c == 0 ? QChar(0xE8) : c == 1 ? QChar(0x20AC) : QChar('a' + c % 26);
        }
        t.righe << riga;
        t.bytes += utf8 ? riga.toUtf8() : Win1252::encode(riga);
        t.bytes += fini[std::uniform_int_distribution<int>(0, 2)(rng)];
    }
    t.righe << QStringLiteral("fine");
    t.bytes += "fine\r\n";
    return t;
}

QStringList leggi(const QByteArray &bytes, bool *utf8 = nullptr)
{
    QByteArray copia = bytes;
    QBuffer file(&copia);
    file.open(QIODevice::ReadOnly);
    TLineeTesto linee(file);
    QStringList righe;
    QString riga;
    while (linee.Prossima(riga))
        righe << riga;
    EXPECT_TRUE(linee.ErroreLettura().isEmpty());
    if (utf8)
        *utf8 = linee.Utf8();
    return righe;
}

} // namespace

TEST(LineeTesto, EveryLineComesOutWhereverItsEndFallsAgainstTheReads)
{
    std::mt19937 rng(20261209);
    for (const bool utf8 : {false, true}) {
        for (int giro = 0; giro < 3; ++giro) {
            Testo t = componi(rng, utf8);
            bool letto = false;
            const QStringList righe = leggi(t.bytes, &letto);
            EXPECT_EQ(letto, utf8);
            ASSERT_EQ(righe.size(), t.righe.size()) << utf8 << giro;
            for (int i = 0; i < righe.size(); ++i)
                ASSERT_EQ(righe[i], t.righe[i]) << utf8 << giro << " line " << i;

            // No end after the last line, then the old end-of-file mark.
            while (t.bytes.endsWith('\r') || t.bytes.endsWith('\n'))
                t.bytes.chop(1);
            EXPECT_EQ(leggi(t.bytes), t.righe) << utf8 << giro;
            EXPECT_EQ(leggi(t.bytes + '\x1A'), t.righe) << utf8 << giro;
        }
    }
}

// A line end just before, on and just after the sizes a reader may read by:
// a CR LF split between two reads is still one end.
TEST(LineeTesto, AnEndSplitBetweenTwoReadsIsOneEnd)
{
    for (const int blocco : {64 * 1024, 256 * 1024, 1024 * 1024}) {
        for (int scarto = -2; scarto <= 1; ++scarto) {
            for (const char *fine : {"\r\n", "\n", "\r"}) {
                const QByteArray prima(blocco + scarto, 'a');
                const QStringList righe = leggi(prima + fine + "fine\r\n");
                ASSERT_EQ(righe.size(), 2) << blocco << " " << scarto << " " << fine;
                EXPECT_EQ(righe[0].size(), prima.size());
                EXPECT_EQ(righe[1], QStringLiteral("fine"));
            }
        }
    }
}
