#include "filescambiomenu.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace FileScambioMenu;

namespace {

const QByteArray kHeader = "PROGETTO#CODICE#NOME#DESCRIZIONE#ICONA#PROGRAMMA#MENU#MENUPREC#"
                           "LIVELLOMENU#DESCRIZIONE#DLL#FUNZIONE#NOTE#LIVELLO2VERSIONE#PARAMETRI#"
                           "VISIBILE#VOCERAPIDA#PARAMETRIBLOB#\r\n";

// A data line of a file, built from its 18 fields as they stand in the file.
QByteArray line(const QStringList &fields)
{
    return fields.join(QLatin1Char('#')).toLatin1() + "#\r\n";
}

QStringList fields(const char *menu = "1")
{
    return {"Prog", "3",       "Magazzino", "Gestione", "mag.bmp", "3",    menu, "",  "0",
            "Voce", "mag.dll", "ApriX",     "",         "1",       "A=1;", "1",  "0", "script"};
}

TRigaScambio row(const QStringList &f)
{
    TRigaScambio r;
    for (int i = 0; i < NumeroCampi; ++i)
        r[i] = f.value(i);
    return r;
}

QString readError(const QByteArray &bytes)
{
    const TLettura l = LeggiFile(bytes);
    EXPECT_TRUE(l.ok() || l.Righe.isEmpty()) << "rows kept beside an error";
    return l.Errore;
}

} // namespace

TEST(FileScambioScrittura, ExactBytesOfAKnownFile)
{
    TRigaScambio piena;
    piena[Progetto] = QStringLiteral("Qualità");
    piena[Codice] = TestoValore(QVariant(3));
    piena[Nome] = QStringLiteral("Magazzino");
    piena[Descrizione] = TestoValore(QVariant());
    piena[Icona] = QStringLiteral("mag.bmp");
    piena[Programma] = TestoValore(QVariant(3));
    piena[Menu] = TestoValore(QVariant(12));
    piena[MenuPrec] = TestoValore(QVariant());
    piena[LivelloMenu] = TestoValore(QVariant(0));
    piena[DescrizioneMenu] = QStringLiteral("Anagrafica\r\narticoli");
    piena[Dll] = QStringLiteral("mag.dll");
    piena[Funzione] = QStringLiteral("ArticoliX");
    // NOTE is a binary blob: its bytes are Windows-1252 text.
    piena[Note] = TestoValore(QVariant(QByteArray("Prima riga\r\nseconda\xE0")));
    piena[Livello2Versione] = TestoValore(QVariant(1));
    piena[Parametri] = QStringLiteral("TIPOLINEA=FT;\r\nPARAMETROLINEA=X;\r\n");
    piena[Visibile] = TestoValore(QVariant(1));
    piena[VoceRapida] = TestoValore(QVariant(-1));
    piena[ParametriBlob] = QStringLiteral("<CSDForm>\r\n<a b=\"\\x\"/>\n</CSDForm>");

    TRigaScambio vuota;
    vuota[Nome] = QStringLiteral("Vuoto");
    vuota[Menu] = QStringLiteral("1");

    const TFileComposto file = ComponiFile({piena, vuota});
    ASSERT_TRUE(file.ok()) << file.Rifiuto.toStdString();
    const QByteArray atteso =
        kHeader + "Qualit\xE0#3#Magazzino##mag.bmp#3#12##0#Anagraficaarticoli#mag.dll#ArticoliX#"
                  "Prima rigaseconda\xE0#1#TIPOLINEA=FT;PARAMETROLINEA=X;#1#-1#"
                  "<CSDForm>\\r\\n<a b=\"\\x\"/>\\n</CSDForm>#\r\n"
                  "##Vuoto####1############\r\n";
    EXPECT_EQ(file.Contenuto.toStdString(), atteso.toStdString());

    // No rows: the header alone.
    EXPECT_EQ(ComponiFile({}).Contenuto, kHeader);
}

TEST(FileScambioScrittura, LineBreaksOfTheFirstFieldsAreDropped)
{
    // A line break in a program's name or description would split the line.
    TRigaScambio r;
    r[Progetto] = QStringLiteral("Pro\r\ngetto");
    r[Nome] = QStringLiteral("Ma\ngazzino");
    r[Descrizione] = QStringLiteral("Una\rdue");
    r[Icona] = QStringLiteral("a\r\n");
    EXPECT_EQ(RigaDati(r), QStringLiteral("Progetto##Magazzino#Unadue#a##############"));
}

TEST(FileScambioScrittura, ValuesTheFileCannotCarryAreRefused)
{
    const TRigaScambio buona = row(fields("7"));
    const QString coda = QStringLiteral(", che il file di scambio non può riportare");
    const auto refusal = [&](int campo, const QString &valore) {
        TRigaScambio r = buona;
        r[campo] = valore;
        const TFileComposto f = ComponiFile({buona, r});
        EXPECT_TRUE(f.Contenuto.isEmpty());
        return f.Rifiuto;
    };

    EXPECT_EQ(refusal(Progetto, QStringLiteral("A#B")),
              QStringLiteral("Impossibile esportare il programma Magazzino: PROGETTI.NOME "
                             "contiene \"#\"") +
                  coda);
    EXPECT_EQ(refusal(Descrizione, QStringLiteral("#")),
              QStringLiteral("Impossibile esportare il programma Magazzino: "
                             "PROGRAMMI.DESCRIZIONE contiene \"#\"") +
                  coda);
    EXPECT_EQ(refusal(Nome, QStringLiteral("N#1")),
              QStringLiteral("Impossibile esportare il programma N#1: PROGRAMMI.NOME contiene "
                             "\"#\"") +
                  coda);
    EXPECT_EQ(refusal(Funzione, QStringLiteral("Apri#X")),
              QStringLiteral("Impossibile esportare il programma Magazzino: DETTMENU.FUNZIONE "
                             "della voce di menu 7 contiene \"#\"") +
                  coda);
    EXPECT_EQ(refusal(ParametriBlob, QStringLiteral("<a>#</a>")),
              QStringLiteral("Impossibile esportare il programma Magazzino: "
                             "DETTMENU.PARAMETRIBLOB della voce di menu 7 contiene \"#\"") +
                  coda);
    EXPECT_EQ(refusal(ParametriBlob, QStringLiteral("C:\\root\\x")),
              QStringLiteral("Impossibile esportare il programma Magazzino: "
                             "DETTMENU.PARAMETRIBLOB della voce di menu 7 contiene \"\\r\"") +
                  coda);
    EXPECT_EQ(refusal(ParametriBlob, QStringLiteral("C:\\nuovi")),
              QStringLiteral("Impossibile esportare il programma Magazzino: "
                             "DETTMENU.PARAMETRIBLOB della voce di menu 7 contiene \"\\n\"") +
                  coda);

    // The escapes' text is harmless elsewhere, and real line breaks are what
    // the escapes are for.
    TRigaScambio altrove = buona;
    altrove[Parametri] = QStringLiteral("C:\\nuovi\\root");
    altrove[ParametriBlob] = QStringLiteral("a\r\nb\\\r\\\n\\");
    EXPECT_TRUE(ComponiFile({altrove}).ok());

    // The first value of the first row that cannot be carried is named.
    TRigaScambio due = buona;
    due[Dll] = QStringLiteral("a#");
    due[Progetto] = QStringLiteral("b#");
    TRigaScambio tre = buona;
    tre[Nome] = QStringLiteral("#");
    EXPECT_TRUE(Rifiuto({buona, due, tre}).contains(QStringLiteral("PROGETTI.NOME")));
}

TEST(FileScambioScrittura, WriteReplacesTheFileOnlyWhenComplete)
{
    QTemporaryDir dir;
    const QString nome = dir.filePath(QStringLiteral("menu.csv"));
    QString errore;
    ASSERT_TRUE(ScriviFile(nome, "vecchio", &errore)) << errore.toStdString();
    ASSERT_TRUE(ScriviFile(nome, kHeader, &errore));
    QFile f(nome);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), kHeader);
    f.close();

    // A folder that does not exist: the file and the reason are named.
    const QString altrove = dir.filePath(QStringLiteral("manca/menu.csv"));
    EXPECT_FALSE(ScriviFile(altrove, kHeader, &errore));
    EXPECT_TRUE(errore.startsWith(QStringLiteral("Impossibile scrivere il file ") + altrove +
                                  QStringLiteral(":\r")))
        << errore.toStdString();
    EXPECT_FALSE(errore.section(QLatin1Char('\r'), 1).isEmpty());

    // A write that fails midway (the file size limit holds for root too):
    // the old file keeps its bytes.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit vecchio{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &vecchio), 0);
    rlimit piccolo = vecchio;
    piccolo.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &piccolo), 0);
    const bool scritto = ScriviFile(nome, QByteArray(100000, 'x'), &errore);
    setrlimit(RLIMIT_FSIZE, &vecchio);
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(scritto);
    EXPECT_TRUE(errore.startsWith(QStringLiteral("Impossibile scrivere il file ") + nome));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), kHeader);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("menu.csv")});
}

TEST(FileScambioLettura, FieldsOfAGoodFile)
{
    const QByteArray file =
        kHeader + line(fields()) + "\r\n\n" +
        // LF alone, escapes undone.
        "P#9#Qualit\xE0#\x80#i#9#2#1#1#d#l#f#n#0#p#1#0#<a b='x'>\\r\\n\\x\\n#\n" +
        // The final "#" of the line missing, and exactly 17 "#".
        "P#9#Altro####3###########abc\r\n" + "P#9#Altro####4###########";
    const TLettura l = LeggiFile(file);
    ASSERT_TRUE(l.ok()) << l.Errore.toStdString();
    ASSERT_EQ(l.Righe.size(), 4);
    EXPECT_EQ(l.Righe[0], row(fields()));
    EXPECT_EQ(l.Righe[1][Nome], QStringLiteral("Qualità"));
    EXPECT_EQ(l.Righe[1][Descrizione], QStringLiteral("€"));
    EXPECT_EQ(l.Righe[1][ParametriBlob], QStringLiteral("<a b='x'>\r\n\\x\n"));
    EXPECT_EQ(l.Righe[2][ParametriBlob], QStringLiteral("abc"));
    EXPECT_EQ(l.Righe[3][Menu], QStringLiteral("4"));
    EXPECT_EQ(l.Righe[3][ParametriBlob], QString());

    // The header alone, with or without its line end.
    EXPECT_TRUE(LeggiFile(kHeader).ok());
    EXPECT_TRUE(LeggiFile("PROGETTO#").ok());
}

TEST(FileScambioLettura, FirstBadLineIsNamedAndNoRowIsKept)
{
    const QByteArray buona = line(fields());
    const auto err = [](int n, const QString &motivo) {
        return QStringLiteral("File non valido alla riga %1:\r").arg(n) + motivo;
    };
    const QString intestazione =
        QStringLiteral("la riga di intestazione non inizia con \"PROGETTO#\"");
    EXPECT_EQ(readError(""), err(1, intestazione));
    EXPECT_EQ(readError("\r\n" + kHeader), err(1, intestazione));
    EXPECT_EQ(readError("progetto#CODICE#\r\n"), err(1, intestazione));

    // Blank lines count in the numbering.
    EXPECT_EQ(readError(kHeader + buona + "\r\n\r\n" + line(fields("x1")) + buona),
              err(5, QStringLiteral("'x1' is not a valid integer value for field 'MENU'")));
    EXPECT_EQ(readError(kHeader + line(fields(""))),
              err(2, QStringLiteral("'' is not a valid integer value for field 'MENU'")));

    QStringList f = fields();
    f[16] = QStringLiteral("32768");
    EXPECT_EQ(readError(kHeader + line(f)),
              err(2, QStringLiteral("'32768' is not a valid integer value for field "
                                    "'VOCERAPIDA'")));
    f = fields();
    f[7] = QStringLiteral("1.5");
    EXPECT_EQ(readError(kHeader + line(f)),
              err(2, QStringLiteral("'1.5' is not a valid integer value for field 'MENUPREC'")));
    f = fields();
    f[8] = QStringLiteral("-32768");
    f[13] = QStringLiteral("32767");
    f[15] = QStringLiteral(" +5 ");
    EXPECT_TRUE(LeggiFile(kHeader + line(f)).ok());

    f = fields();
    f[2] = QString();
    EXPECT_EQ(readError(kHeader + buona + line(f)),
              err(3, QStringLiteral("PROGRAMMI.NOME (campo 3) è vuoto")));

    // Cut lines, a trailing line of blanks.
    EXPECT_EQ(readError(kHeader + buona + "P#1#Nome#d#i#1#2#\r\n"),
              err(3, QStringLiteral("la riga ha 7 separatori \"#\" invece di almeno 17")));
    EXPECT_EQ(readError(kHeader + buona + "  \r\n" + buona),
              err(3, QStringLiteral("la riga ha 0 separatori \"#\" invece di almeno 17")));
    EXPECT_TRUE(LeggiFile(kHeader + buona + "  \r\n").ok());

    // Texts must fit their columns; the limits themselves are fine.
    const struct
    {
        int campo;
        int limite;
        const char *colonna;
    } limiti[] = {{2, 15, "PROGRAMMI.NOME"},      {3, 64, "PROGRAMMI.DESCRIZIONE"},
                  {4, 64, "PROGRAMMI.ICONA"},     {9, 64, "DETTMENU.DESCRIZIONE"},
                  {10, 20, "DETTMENU.DLL"},       {11, 30, "DETTMENU.FUNZIONE"},
                  {14, 256, "DETTMENU.PARAMETRI"}};
    for (const auto &l : limiti) {
        f = fields();
        f[l.campo] = QString(l.limite, QLatin1Char('a'));
        EXPECT_TRUE(LeggiFile(kHeader + line(f)).ok()) << l.colonna;
        f[l.campo] += QLatin1Char('b');
        EXPECT_EQ(readError(kHeader + line(f)),
                  err(2, QStringLiteral("%1 (campo %2) supera i %3 caratteri")
                             .arg(QLatin1String(l.colonna))
                             .arg(l.campo + 1)
                             .arg(l.limite)));
    }
    // Blobs and the fields the import does not use have no limit.
    f = fields();
    f[0] = f[1] = f[5] = f[12] = f[17] = QString(5000, QLatin1Char('z'));
    EXPECT_TRUE(LeggiFile(kHeader + line(f)).ok());
}

// The reading runs ahead on a thread of its own: a destination that fails
// at any line, in or between the batches handed over, stops it with the
// lines before delivered in order, and its failure reaches the caller.
TEST(FileScambioLettura, AFailingDestinationStopsTheReadingAndItsFailureGoesOn)
{
    QByteArray bytes = kHeader;
    for (int m = 1; m <= 6000; ++m)
        bytes += line(fields(QByteArray::number(m).constData()));
    for (const int ferma : {1, 255, 256, 257, 2049, 6000}) {
        QBuffer file(&bytes);
        file.open(QIODevice::ReadOnly);
        int viste = 0;
        EXPECT_THROW(LeggiFile(file,
                               [&](const TRigaScambio &r) {
                                   ASSERT_EQ(r[Menu].toInt(), ++viste);
                                   if (viste == ferma)
                                       throw std::runtime_error("pieno");
                               }),
                     std::runtime_error)
            << ferma;
        EXPECT_EQ(viste, ferma);
    }
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    int viste = 0;
    EXPECT_EQ(LeggiFile(file, [&](const TRigaScambio &) { ++viste; }), QString());
    EXPECT_EQ(viste, 6000);
}
