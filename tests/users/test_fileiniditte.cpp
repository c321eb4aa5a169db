#include "fileiniditte.h"

#include <gtest/gtest.h>

#include <random>

using namespace FileIniDitte;

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

TEST(FileIniDitte, AWindows1252CrLfFileGivesItsCompaniesAndOptionsInFileOrder)
{
    const QByteArray file = "Prima=ignorata\r\n"
                            "[Caff\xE8 Rossi]\r\n"
                            "Citt\xE0=Forl\xEC\r\n"
                            "commento senza uguale\r\n"
                            "=senza nome\r\n"
                            "\r\n"
                            "Formula=a=b\r\n"
                            "[]\r\n"
                            "Orfana=1\r\n"
                            "[Beta] coda\r\n"
                            "Vuoto=\r\n"
                            "Strana]x[y=2\r\n"
                            "Ultima=fine";
    const TContenuto c = Leggi(file);
    EXPECT_EQ(c.Ditte, (QStringList{s("Caffè Rossi"), "Beta"}));
    const QVector<TOpzione> attese{{1, s("Caffè Rossi"), s("Città"), s("Forlì"), ""},
                                   {2, s("Caffè Rossi"), "Formula", "a=b", ""},
                                   {3, "Beta", "Vuoto", "", ""},
                                   {4, "Beta", "Strana]x[y", "2", ""},
                                   {5, "Beta", "Ultima", "fine", ""}};
    EXPECT_EQ(c.Opzioni, attese);
}

TEST(FileIniDitte, TheNoteIsCutFromTheValue)
{
    const struct
    {
        const char *riga, *valore, *nota;
    } casi[] = {
        {"AB<NOTE>x</NOTE>", "AB", "x"},
        {"AB <note>la nota</Note> dopo", "AB", "la nota"},
        {"AB  <NOTE>fino in fondo", "AB ", "fino in fondo"},
        {"A<NOTE></NOTE>", "A", ""},
        {"<NOTE></NOTE>", "", ""},
        {"x</NOTE>y<Note>z</nOTE>w", "x</NOTE>y", "z"},
        {"<NOTE>a<NOTE>b</NOTE>", "", "a<NOTE>b"},
        {"senza nota", "senza nota", ""},
    };
    for (const auto &caso : casi) {
        const TContenuto c = Leggi(QByteArray("[A]\nO=") + caso.riga);
        ASSERT_EQ(c.Opzioni.size(), 1) << caso.riga;
        EXPECT_EQ(c.Opzioni[0].Valore, caso.valore) << caso.riga;
        EXPECT_EQ(c.Opzioni[0].Note, caso.nota) << caso.riga;
    }
}

TEST(FileIniDitte, EncodingsLineEndsAndWidths)
{
    // UTF-8 with a byte-order mark and LF; a lone CR ends lines too.
    TContenuto c = Leggi("\xEF\xBB\xBF[Caff\xC3\xA8]\nA=\xC3\xA8\rB=2\r\n");
    EXPECT_EQ(c.Ditte, QStringList{s("Caffè")});
    ASSERT_EQ(c.Opzioni.size(), 2);
    EXPECT_EQ(c.Opzioni[0].Valore, s("è"));
    EXPECT_EQ(c.Opzioni[1].Opzione, "B");
    // Not valid UTF-8: Windows-1252, where 0x80 is the euro sign.
    EXPECT_EQ(Testo("\xC3\x80\x80"), s("Ã€€"));

    const QByteArray lunga(300, 'v');
    c = Leggi("[" + QByteArray(130, 'D') + "]\n" + QByteArray(70, 'o') + "=" + lunga + "<NOTE>" +
              lunga);
    EXPECT_EQ(c.Ditte, QStringList{QString(128, 'D')});
    ASSERT_EQ(c.Opzioni.size(), 1);
    EXPECT_EQ(c.Opzioni[0].Opzione, QString(64, 'o'));
    EXPECT_EQ(c.Opzioni[0].Valore, QString(256, 'v'));
    EXPECT_EQ(c.Opzioni[0].Note, QString(256, 'v'));
}

TEST(FileIniDitte, AnyBytesGiveAWellFormedResult)
{
    const QList<QByteArray> pezzi{"[",      "]",  "=",        "<NOTE>", "</note>",
                                  "<nOtE>", "\r", "\n",       "\r\n",   QByteArray(1, '\0'),
                                  "ab",     " ",  "\xC3\xA8", "Ditta"};
    std::mt19937 gen(29);
    for (int file = 0; file < 400; ++file) {
        QByteArray bytes;
        const int n = std::uniform_int_distribution<int>(0, 60)(gen);
        for (int i = 0; i < n; ++i) {
            const int scelta = std::uniform_int_distribution<int>(0, pezzi.size() + 2)(gen);
            if (scelta < pezzi.size())
                bytes += pezzi[scelta];
            else if (scelta == pezzi.size())
                bytes += char(std::uniform_int_distribution<int>(128, 255)(gen));
            else if (scelta == pezzi.size() + 1 && file % 40 == 0)
                bytes += QByteArray(100000, 'x');
        }
        const TContenuto c = Leggi(bytes);
        auto senzaFineRiga = [](const QString &t) {
            return !t.contains(QLatin1Char('\r')) && !t.contains(QLatin1Char('\n'));
        };
        for (const QString &d : c.Ditte) {
            EXPECT_FALSE(d.isEmpty());
            EXPECT_TRUE(senzaFineRiga(d));
            EXPECT_LE(d.size(), LunghezzaDitta);
        }
        for (int i = 0; i < c.Opzioni.size(); ++i) {
            const TOpzione &o = c.Opzioni[i];
            EXPECT_EQ(o.Numero, i + 1);
            EXPECT_TRUE(c.Ditte.contains(o.Ditta));
            EXPECT_FALSE(o.Opzione.isEmpty());
            EXPECT_FALSE(o.Valore.contains(QStringLiteral("<note>"), Qt::CaseInsensitive));
            for (const QString &t : {o.Opzione, o.Valore, o.Note})
                EXPECT_TRUE(senzaFineRiga(t));
            EXPECT_LE(o.Opzione.size(), LunghezzaOpzione);
            EXPECT_LE(o.Valore.size(), LunghezzaValore);
            EXPECT_LE(o.Note.size(), LunghezzaNote);
        }
        const TContenuto ancora = Leggi(bytes);
        EXPECT_EQ(ancora.Ditte, c.Ditte);
        EXPECT_EQ(ancora.Opzioni, c.Opzioni);
        if (HasFailure())
            FAIL() << "file " << file << ": " << bytes.toHex().left(400).constData();
    }
}
