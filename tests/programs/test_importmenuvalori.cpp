#include "importmenuvalori.h"

#include <gtest/gtest.h>

using namespace FileScambioMenu;

namespace {

TRigaScambio rigaLetta()
{
    TRigaScambio r;
    r[Nome] = QStringLiteral("Dell'Arte");
    r[Descrizione] = QStringLiteral("L'arte");
    r[Icona] = QStringLiteral("l'icona.bmp");
    r[Menu] = QStringLiteral("12");
    r[MenuPrec] = QString();
    r[LivelloMenu] = QStringLiteral("0");
    r[DescrizioneMenu] = QStringLiteral("Voce d'esempio");
    r[Dll] = QStringLiteral("l'arte.dll");
    r[Funzione] = QStringLiteral("Apri'X");
    r[Note] = QStringLiteral("nota dell'utente");
    r[Livello2Versione] = QStringLiteral(" -3 ");
    r[Parametri] = QStringLiteral("TIPOLINEA=FT;PARAMETROLINEA=l'ultima;");
    r[Visibile] = QStringLiteral("1");
    r[VoceRapida] = QString();
    r[ParametriBlob] = QStringLiteral("<a v='1'>\r\n</a>\n");
    return r;
}

} // namespace

TEST(ImportMenuValori, StagedAndStoredValuesOfALine)
{
    const TRigaScambio r = rigaLetta();
    const TProgrammaFile p = ProgrammaDellaRiga(r);
    EXPECT_EQ(p, (TProgrammaFile{QStringLiteral("Dell'Arte"), QStringLiteral("L'arte"),
                                 QStringLiteral("l'icona.bmp")}));
    EXPECT_EQ(ProgrammaDaMemorizzare(p),
              (TProgrammaFile{QStringLiteral("Dell´Arte"), QStringLiteral("L´arte"),
                              QStringLiteral("l'icona.bmp")}));

    const TVoceFile v = VoceDellaRiga(r);
    EXPECT_EQ(v.Menu, QVariant(12));
    EXPECT_TRUE(v.MenuPrec.isNull());
    EXPECT_EQ(v.LivelloMenu, QVariant(0));
    EXPECT_EQ(v.Livello2Versione, QVariant(-3));
    EXPECT_EQ(v.Visibile, QVariant(1));
    EXPECT_TRUE(v.VoceRapida.isNull());
    EXPECT_EQ(v.Parametri,
              QVariant(QStringLiteral("TIPOLINEA=FT;\r\nPARAMETROLINEA=l'ultima;\r\n")));
    EXPECT_EQ(v.ParametriBlob, QVariant(QStringLiteral("<a v='1'>\r\n</a>\n")));

    const TVoceFile m = VoceDaMemorizzare(v);
    EXPECT_EQ(m.Descrizione, QVariant(QStringLiteral("Voce d´esempio")));
    EXPECT_EQ(m.Note, QVariant(QStringLiteral("nota dell´utente")));
    EXPECT_EQ(m.Parametri,
              QVariant(QStringLiteral("TIPOLINEA=FT;\r\nPARAMETROLINEA=l´ultima;\r\n")));
    // Names of files and functions, and scripts, keep their apostrophes.
    EXPECT_EQ(m.Dll, QVariant(QStringLiteral("l'arte.dll")));
    EXPECT_EQ(m.Funzione, QVariant(QStringLiteral("Apri'X")));
    EXPECT_EQ(m.ParametriBlob, v.ParametriBlob);
    EXPECT_EQ(m.Menu, v.Menu);

    // As the staging table's blob columns hold them: Windows-1252 bytes.
    TVoceFile b;
    b.Note = QByteArray("l'ora \xE8");
    b.ParametriBlob = QByteArray("<a v='1'/>");
    const TVoceFile mb = VoceDaMemorizzare(b);
    EXPECT_EQ(mb.Note, QVariant(QByteArray("l\xB4ora \xE8")));
    EXPECT_EQ(mb.ParametriBlob, b.ParametriBlob);
}

TEST(ImportMenuValori, EmptyFieldsAreNull)
{
    TRigaScambio r;
    r[Nome] = QStringLiteral("X");
    r[Menu] = QStringLiteral("1");
    const TProgrammaFile p = ProgrammaDellaRiga(r);
    EXPECT_TRUE(p.Descrizione.isNull());
    EXPECT_TRUE(p.Icona.isNull());
    const TVoceFile v = VoceDaMemorizzare(VoceDellaRiga(r));
    for (const QVariant *q :
         {&v.MenuPrec, &v.LivelloMenu, &v.Descrizione, &v.Dll, &v.Funzione, &v.Note,
          &v.Livello2Versione, &v.Parametri, &v.Visibile, &v.VoceRapida, &v.ParametriBlob})
        EXPECT_TRUE(q->isNull());
}

TEST(ImportMenuValori, ParametriOverTheColumnStayAsRead)
{
    TRigaScambio r;
    r[Menu] = QStringLiteral("1");
    // 250 characters with three ";": 256 once expanded, still fits.
    r[Parametri] = QString(247, QLatin1Char('a')) + QStringLiteral(";;;");
    EXPECT_EQ(VoceDellaRiga(r).Parametri.toString(),
              QString(247, QLatin1Char('a')) + QStringLiteral(";\r\n;\r\n;\r\n"));
    // One character more would pass 256: nothing is cut, no break is added.
    r[Parametri] = QString(248, QLatin1Char('a')) + QStringLiteral(";;;");
    EXPECT_EQ(VoceDellaRiga(r).Parametri.toString(), r[Parametri]);
}

TEST(ImportMenuValori, NameMatching)
{
    const TIndiceProgrammi indice({{7, QStringLiteral("QUALITÀ")},
                                   {9, QStringLiteral("Dell'Arte")},
                                   {4, QStringLiteral("DELL´ARTE")},
                                   {12, QStringLiteral("Magazzino")},
                                   {3, QStringLiteral("magazzino")},
                                   {20, QStringLiteral("Ÿ")},
                                   {21, QStringLiteral("Conti´")}});
    // Accented letters fold like the others, on both sides.
    EXPECT_EQ(indice.Cerca(QStringLiteral("Qualità")), 7);
    EXPECT_EQ(indice.Cerca(QStringLiteral("qualitÀ")), 7);
    EXPECT_EQ(indice.Cerca(QStringLiteral("ÿ")), 20);
    EXPECT_EQ(indice.Cerca(QStringLiteral("Qualita")), std::nullopt);
    // Equal as written and with "´": the lowest code of all.
    EXPECT_EQ(indice.Cerca(QStringLiteral("dell'arte")), 4);
    EXPECT_EQ(indice.Cerca(QStringLiteral("Dell´Arte")), 4);
    EXPECT_EQ(indice.Cerca(QStringLiteral("MAGAZZINO")), 3);
    EXPECT_EQ(indice.Cerca(QStringLiteral("Conti'")), 21);
    // Only the file's apostrophes are replaced, and nothing is trimmed.
    EXPECT_EQ(indice.Cerca(QStringLiteral("Conti")), std::nullopt);
    EXPECT_EQ(indice.Cerca(QStringLiteral("Magazzino ")), std::nullopt);
    EXPECT_EQ(TIndiceProgrammi({}).Cerca(QStringLiteral("X")), std::nullopt);
}
