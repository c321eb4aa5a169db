#include "inifile.h"
#include "pathutil.h"
#include "win1252.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    QString path(const QString &name = QStringLiteral("dati.ini")) const
    {
        return dir.path() + QLatin1Char('/') + name;
    }
    void put(const QByteArray &bytes, const QString &name = QStringLiteral("dati.ini"))
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray bytes(const QString &name = QStringLiteral("dati.ini")) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

const QString kConfig = QStringLiteral("CONFIG");

} // namespace

TEST_F(IniFileTest, MissingFileReadsDefaultsAndIsNotCreated)
{
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString(kConfig, QStringLiteral("Nome Server"), QStringLiteral("x")), "x");
    EXPECT_EQ(ini.ReadInteger(kConfig, QStringLiteral("N"), 7), 7);
    QStringList list{QStringLiteral("old")};
    ini.ReadSections(list);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_FALSE(ini.SectionExists(kConfig));
    ini.EraseSection(kConfig);
    ini.DeleteKey(kConfig, QStringLiteral("Alias"));
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(IniFileTest, ReadsIgnoringCaseTrimmingBlanksAndQuotes)
{
    put("; intestazione\r\n[Config]\r\n  nome server =  srv1 \r\nAlias=\"al ias\"\r\n"
        "Alias=second\r\nsenza uguale\r\n[config]\r\nPercorsoDatabase=ignored\r\n");
    TIniFile ini(path());
    EXPECT_EQ(ini.ReadString(kConfig, QStringLiteral("NOME SERVER"), {}), "srv1");
    EXPECT_EQ(ini.ReadString(QStringLiteral(" config "), QStringLiteral("alias"), {}), "al ias");
    // Only the first section of a name counts.
    EXPECT_EQ(ini.ReadString(kConfig, QStringLiteral("PercorsoDatabase"), QStringLiteral("d")),
              "d");
    EXPECT_EQ(ini.ReadString(kConfig, QStringLiteral("senza uguale"), QStringLiteral("d")), "d");

    QStringList list;
    ini.ReadSection(kConfig, list);
    EXPECT_EQ(list, QStringList({"nome server", "Alias", "Alias"}));
    ini.ReadSectionValues(kConfig, list);
    EXPECT_EQ(list, QStringList({"nome server=srv1", "Alias=al ias", "Alias=al ias"}));
    ini.ReadSections(list);
    EXPECT_EQ(list, QStringList({"Config", "config"}));
}

TEST_F(IniFileTest, WriteChangesOneLineAndReachesTheFileAtOnce)
{
    put("; server\r\n[CONFIG]\r\nNome Server = vecchio\r\nriga strana\r\n\r\n[ALTRO]\r\nX=1");
    TIniFile ini(path());
    ini.WriteString(QStringLiteral("config"), QStringLiteral("NOME SERVER"), QStringLiteral("srv"));
    EXPECT_EQ(bytes(), QByteArray("; server\r\n[CONFIG]\r\nNome Server = srv\r\nriga strana\r\n"
                                  "\r\n[ALTRO]\r\nX=1"));
    EXPECT_EQ(TIniFile(path()).ReadString(kConfig, QStringLiteral("Nome Server"), {}), "srv");
}

TEST_F(IniFileTest, NewKeyEndsItsSectionAndNewSectionEndsTheFile)
{
    put("[A]\nuno=1\n\n\n[B]\ndue=2");
    TIniFile ini(path());
    ini.WriteString(QStringLiteral("a"), QStringLiteral("tre"), QStringLiteral("3"));
    ini.WriteString(QStringLiteral("B"), QStringLiteral("quattro"), QStringLiteral("4"));
    ini.WriteString(QStringLiteral("C"), QStringLiteral("cinque"), QStringLiteral("5"));
    // The file's own LF line ends are kept for the new lines too.
    EXPECT_EQ(bytes(), QByteArray("[A]\nuno=1\ntre=3\n\n\n[B]\ndue=2\nquattro=4\n[C]\ncinque=5\n"));
}

TEST_F(IniFileTest, NewLinesEndAsTheLinesAroundThem)
{
    // The first line ends in a lone CR, the rest in LF: a CR before the blank
    // LF line would read back as one CR LF and the blank line would be gone.
    put("[A]\runo=1\n\n[B]\ndue=2\n");
    TIniFile ini(path());
    ini.WriteString(QStringLiteral("A"), QStringLiteral("tre"), QStringLiteral("3"));
    EXPECT_EQ(bytes(), QByteArray("[A]\runo=1\ntre=3\n\n[B]\ndue=2\n"));
    ini.WriteString(QStringLiteral("C"), QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_EQ(bytes(), QByteArray("[A]\runo=1\ntre=3\n\n[B]\ndue=2\n[C]\nk=v\n"));

    // A removal that brings a lone CR before a blank LF line keeps the blank.
    put("[A]\rk=1\n\n[B]\rx=1\r");
    ini.DeleteKey(QStringLiteral("A"), QStringLiteral("k"));
    EXPECT_EQ(bytes(), QByteArray("[A]\r\r[B]\rx=1\r"));
    ini.WriteString(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("2"));
    EXPECT_EQ(bytes(), QByteArray("[A]\rk=2\r\r[B]\rx=1\r"));
}

TEST_F(IniFileTest, NewFileIsWindows1252WithCrLf)
{
    TIniFile ini(path());
    ini.WriteString(kConfig, QStringLiteral("Nome Server"), QStringLiteral("caffè"));
    ini.WriteInteger(kConfig, QStringLiteral("Numero"), -12);
    EXPECT_EQ(bytes(), QByteArray("[CONFIG]\r\nNome Server=caff\xE8\r\nNumero=-12\r\n"));
    EXPECT_EQ(ini.ReadString(kConfig, QStringLiteral("nome server"), {}), "caffè");
    EXPECT_TRUE(ini.SectionExists(kConfig));
    EXPECT_TRUE(ini.ValueExists(kConfig, QStringLiteral("NUMERO")));
}

TEST_F(IniFileTest, RefusedWritesLeaveTheFileAsItWas)
{
    put("[CONFIG]\r\nAlias=a\r\n");
    TIniFile ini(path());
    EXPECT_THROW(ini.WriteString(kConfig, QStringLiteral("Alias"), QStringLiteral("日本")),
                 Win1252::EncodingError);
    EXPECT_THROW(ini.WriteString(kConfig, QStringLiteral("Alias"), QStringLiteral("x\r\n[Y]")),
                 EIniFileException);
    EXPECT_THROW(ini.WriteString(kConfig, QStringLiteral("a=b"), QStringLiteral("x")),
                 EIniFileException);
    EXPECT_THROW(ini.WriteString(QStringLiteral("A]B"), QStringLiteral("k"), QStringLiteral("x")),
                 EIniFileException);
    // A comment, and a section header for the suite's Windows programs.
    for (const char *key : {";nota", "  ;nota", "[Y", " [Y]"}) {
        EXPECT_THROW(ini.WriteString(kConfig, QString::fromLatin1(key), QStringLiteral("x")),
                     EIniFileException)
            << key;
    }
    EXPECT_EQ(bytes(), QByteArray("[CONFIG]\r\nAlias=a\r\n"));
    ini.WriteString(kConfig, QStringLiteral("a;b[c]"), QStringLiteral(";[x]"));
    EXPECT_EQ(ini.ReadString(kConfig, QStringLiteral("A;B[C]"), {}), ";[x]");

    TIniFile nowhere(path(QStringLiteral("manca/dati.ini")));
    EXPECT_THROW(nowhere.WriteString(kConfig, QStringLiteral("k"), QStringLiteral("v")),
                 EIniFileException);
}

TEST_F(IniFileTest, ReadIntegerTakesWholeNumbersOnly)
{
    put("[N]\r\na=12\r\nb= -3 \r\nc=$1F\r\nd=0x1f\r\ne=12abc\r\nf=99999999999\r\ng=\r\n"
        "h=0xFFFFFFFF\r\n");
    TIniFile ini(path());
    const QString n = QStringLiteral("N");
    EXPECT_EQ(ini.ReadInteger(n, QStringLiteral("a"), 0), 12);
    EXPECT_EQ(ini.ReadInteger(n, QStringLiteral("b"), 0), -3);
    EXPECT_EQ(ini.ReadInteger(n, QStringLiteral("c"), 0), 31);
    EXPECT_EQ(ini.ReadInteger(n, QStringLiteral("d"), 0), 31);
    EXPECT_EQ(ini.ReadInteger(n, QStringLiteral("e"), 5), 5);
    EXPECT_EQ(ini.ReadInteger(n, QStringLiteral("f"), 5), 5);
    EXPECT_EQ(ini.ReadInteger(n, QStringLiteral("g"), 5), 5);
    EXPECT_EQ(ini.ReadInteger(n, QStringLiteral("h"), 5), -1);
}

TEST_F(IniFileTest, ExistenceEraseAndDelete)
{
    put("[Vuota]\r\n; nota\r\n[U1]\r\nk=\r\nj=2\r\n\r\n[U2]\r\nz=1\r\n[u1]\r\nw=3\r\n");
    TIniFile ini(path());
    EXPECT_FALSE(ini.SectionExists(QStringLiteral("Vuota"))); // a bare header holds no key
    EXPECT_TRUE(ini.ValueExists(QStringLiteral("U1"), QStringLiteral("K")));
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("U1"), QStringLiteral("w")));

    ini.DeleteKey(QStringLiteral("u1"), QStringLiteral("J"));
    EXPECT_EQ(bytes(), QByteArray("[Vuota]\r\n; nota\r\n[U1]\r\nk=\r\n\r\n[U2]\r\nz=1\r\n[u1]\r\n"
                                  "w=3\r\n"));
    ini.EraseSection(QStringLiteral("U1"));
    EXPECT_EQ(bytes(), QByteArray("[Vuota]\r\n; nota\r\n[U2]\r\nz=1\r\n"));
}

TEST_F(IniFileTest, WindowsNameFindsTheFileInAnotherCase)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Nomidit/UserCfg")));
    put("[STATUS MACCHINA]\r\nUltimaDitta=D1\r\n", QStringLiteral("Nomidit/UserCfg/1 Rossi.ini"));
    TIniFile ini(dir.path() + QStringLiteral("\\NOMIDIT\\USERCFG\\1 ROSSI.INI"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Status Macchina"), QStringLiteral("ultimaditta"), {}),
              "D1");
    ini.WriteString(QStringLiteral("D1"), QStringLiteral("P"), QStringLiteral("v"));
    EXPECT_EQ(bytes(QStringLiteral("Nomidit/UserCfg/1 Rossi.ini")),
              QByteArray("[STATUS MACCHINA]\r\nUltimaDitta=D1\r\n[D1]\r\nP=v\r\n"));
    EXPECT_EQ(QDir(dir.path() + QStringLiteral("/Nomidit/UserCfg")).count(), 3u); // . .. file
}

TEST(PathUtil, ResolvesEachComponentIgnoringCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Grafica")));
    QFile(dir.path() + QStringLiteral("/Grafica/Verde.bmp")).open(QIODevice::WriteOnly);
    const QString base = dir.path() + QLatin1Char('/');

    EXPECT_EQ(toLocalPath(QStringLiteral("a\\b\\c")), "a/b/c");
    EXPECT_EQ(resolvePath(base + QStringLiteral("GRAFICA\\VERDE.BMP")),
              base + QStringLiteral("Grafica/Verde.bmp"));
    EXPECT_EQ(resolvePath(base + QStringLiteral("grafica/")), base + QStringLiteral("Grafica/"));
    // A file still to be created lands in the existing folder.
    EXPECT_EQ(resolvePath(base + QStringLiteral("GRAFICA\\Nuovo.bmp")),
              base + QStringLiteral("Grafica/Nuovo.bmp"));
    EXPECT_EQ(resolvePath(base + QStringLiteral("Manca\\Verde.bmp")),
              base + QStringLiteral("Manca/Verde.bmp"));

    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    EXPECT_EQ(resolvePath(QStringLiteral("grafica\\verde.BMP")), "Grafica/Verde.bmp");
    QDir::setCurrent(cwd);
}

TEST(PathUtil, ProgramFolderEndsWithSlash)
{
    EXPECT_EQ(programFolder(), QCoreApplication::applicationDirPath() + QLatin1Char('/'));
}
