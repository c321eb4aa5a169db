#include "dbgrid.h"
#include "exportmenuform.h"
#include "ibquery.h"
#include "transfertest.h"

#include <QLineEdit>
#include <QPushButton>

#include <QDir>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/mount.h>
#include <sys/resource.h>

namespace {

const QString kTerminata = QStringLiteral("Esportazione terminata");
const QString kConferma = QStringLiteral("Esportare i programmi selezionati?");

// Project 1 "Base" links programs 3, 1, 7 and 9 (deleted since); project 2
// only program 1. Program 7 has no menu.
class ExportMenuTest : public TransferTest
{
protected:
    void SetUp() override
    {
        TransferTest::SetUp();
        conParametriBlob();
        dati();
        nuovoSnapshot();
    }
    void dati()
    {
        progetto(1, "Base");
        progetto(2, "Altro");
        inserisci("PROGRAMMI", {{"CODICE", 3},
                                {"NOME", "Magazzino"},
                                {"DESCRIZIONE", "Gestione"},
                                {"ICONA", "mag.bmp"}});
        programma(1, "Contabilità");
        programma(7, "Vuoto");
        for (int p : {3, 1, 7, 9})
            collega(1, p);
        collega(2, 1);
        voce(1, 1, {{"DESCRIZIONE", "Voce"}});
    }
    void vociMagazzino()
    {
        voce(3, 2, {{"MENUPREC", 1}, {"LIVELLOMENU", 1}, {"DESCRIZIONE", "Sotto"}});
        QVariantMap prima{{"LIVELLOMENU", 0},
                          {"DESCRIZIONE", "Anagrafica\r\narticoli"},
                          {"DLL", "mag.dll"},
                          {"FUNZIONE", "ArticoliX"},
                          {"NOTE", QByteArray("nota")},
                          {"LIVELLO2VERSIONE", 1},
                          {"PARAMETRI", "A=1;"},
                          {"VISIBILE", 1},
                          {"VOCERAPIDA", 0}};
        if (conBlob)
            prima.insert("PARAMETRIBLOB", "<a>\r\nb\n</a>");
        voce(3, 1, prima);
    }
    std::unique_ptr<TExportMenuForm> apri()
    {
        auto f = std::make_unique<TExportMenuForm>(nullptr, tabVar);
        return f;
    }
    void segna(TExportMenuForm &f, int codice)
    {
        ASSERT_TRUE(f.QueryProgrammi->Locate("CODICE", codice));
        f.GridProgrammiDblClick();
    }
    // Names the file, answers the question with Yes and expects the box
    // that ends the export.
    void esporta(TExportMenuForm &f, const QString &nome,
                 TMsgDlgType tipo = TMsgDlgType::Information, const QString &esito = kTerminata)
    {
        risposta(percorso(nome));
        f.ButtonFile->click();
        rec.expect(TMsgDlgType::Confirmation, kConferma, mrYes);
        rec.expect(tipo, esito);
        f.ButtonExport->click();
    }

    bool conBlob = true;
};

QByteArray rigaMagazzino1(const QString &blob)
{
    return linea({"Base", "3", "Magazzino", "Gestione", "mag.bmp", "3", "1", "", "0",
                  "Anagraficaarticoli", "mag.dll", "ArticoliX", "nota", "1", "A=1;", "1", "0",
                  blob});
}

const QByteArray kRigaMagazzino2 = linea({"Base", "3", "Magazzino", "Gestione", "mag.bmp", "3", "2",
                                          "1", "1", "Sotto", "", "", "", "", "", "", "", ""});
const QByteArray kRigaContabilita = linea(
    {"Base", "1", "Contabilità", "", "", "1", "1", "", "", "Voce", "", "", "", "", "", "", "", ""});

} // namespace

TEST_F(ExportMenuTest, MarkedProgramsGoInCodeOrderEachEntryOnOneLine)
{
    vociMagazzino();
    nuovoSnapshot();
    auto f = apri();
    EXPECT_EQ(f->windowTitle(), "Export Menu");
    // The project's code and the programs' code and icon are not shown.
    EXPECT_EQ(f->GridProgetti->Model()->columnOfField("CODICE"), -1);
    EXPECT_EQ(f->GridProgrammi->Model()->columnOfField("CODICE"), -1);
    EXPECT_EQ(f->GridProgrammi->Model()->columnOfField("ICONA"), -1);
    ASSERT_EQ(f->QueryProgrammi->RecordCount(), 4);
    EXPECT_EQ(f->QueryProgrammi->FieldByName("CODICE")->AsInteger(), 1);

    segna(*f, 3);
    segna(*f, 7); // no menu: no line
    segna(*f, 1);
    // The deleted program's link is an empty row that cannot be marked.
    f->QueryProgrammi->Last();
    ASSERT_TRUE(f->QueryProgrammi->FieldByName("CODICE")->IsNull());
    f->GridProgrammiDblClick();
    EXPECT_EQ(f->FProgrSelezionati, QStringList({"3", "7", "1"}));
    // Marked rows on the marks colour.
    f->QueryProgrammi->First();
    const QModelIndex primo = f->GridProgrammi->Model()->index(0, 0);
    EXPECT_EQ(primo.data(Qt::BackgroundRole).value<QColor>(), clBackground);
    EXPECT_EQ(f->GridProgrammi->Model()->index(3, 0).data(Qt::BackgroundRole).value<QColor>(),
              QColor(Qt::white));

    esporta(*f, "menu");
    EXPECT_EQ(f->EditFile->text(), percorso("menu.csv"));
    EXPECT_EQ(leggi("menu.csv"), kIntestazione + kRigaContabilita +
                                     rigaMagazzino1("<a>\\r\\nb\\n</a>") + kRigaMagazzino2);
    EXPECT_FALSE(f->QueryProgrammi->ControlsDisabled());
    EXPECT_EQ(f->QueryProgrammi->RecNo(), 1);
    // Only read: nothing was written to the database.
    EXPECT_EQ(committed("SELECT COUNT(*) FROM DETTMENU"), "3");
}

TEST_F(ExportMenuTest, ProgramsWithoutMenuGiveTheHeaderAlone)
{
    auto f = apri();
    segna(*f, 7);
    esporta(*f, "vuoto.csv");
    EXPECT_EQ(leggi("vuoto.csv"), kIntestazione);
}

TEST_F(ExportMenuTest, ChecksBeforeTheFileIsTouched)
{
    auto f = apri();
    rec.expect(TMsgDlgType::Information, "Si prega di specificare un nome file");
    f->ButtonExport->click();

    f->EditFile->setText(percorso("menu.csv"));
    rec.expect(TMsgDlgType::Information, "Selezionare almeno un programma per l'esportazione");
    f->ButtonExport->click();

    segna(*f, 1);
    rec.expect(TMsgDlgType::Confirmation, kConferma, mrNo);
    f->ButtonExport->click();
    EXPECT_EQ(leggi("menu.csv"), "<missing>");
    EXPECT_EQ(rec.pending(), 0);
}

TEST_F(ExportMenuTest, CsvIsAppendedUnlessTheNameHoldsItAnywhere)
{
    auto f = apri();
    for (const auto &[scelto, atteso] :
         std::vector<std::pair<QString, QString>>{{"/x/Menu", "/x/Menu.csv"},
                                                  {"/x/menu.Csv", "/x/menu.Csv"},
                                                  {"/x/a.CSV.bak", "/x/a.CSV.bak"},
                                                  {"/x/menu.txt", "/x/menu.txt.csv"}}) {
        risposta(scelto);
        f->ButtonFile->click();
        EXPECT_EQ(f->EditFile->text(), atteso);
    }
    // A cancelled dialog leaves the name.
    risposta(QString());
    f->ButtonFile->click();
    EXPECT_EQ(f->EditFile->text(), "/x/menu.txt.csv");
}

TEST_F(ExportMenuTest, AnotherProjectUnmarksEveryProgram)
{
    auto f = apri();
    segna(*f, 1);
    segna(*f, 3);
    f->QueryProgetti->Next();
    EXPECT_TRUE(f->FProgrSelezionati.isEmpty());
    ASSERT_EQ(f->QueryProgrammi->RecordCount(), 1);
    EXPECT_EQ(f->QueryProgrammi->FieldByName("NOME")->AsString(), "Contabilità");
    segna(*f, 1);
    f->GridProgrammiDblClick(); // marking again unmarks
    EXPECT_TRUE(f->FProgrSelezionati.isEmpty());
}

TEST_F(ExportMenuTest, AValueTheFileCannotCarryIsRefusedAndTheOldFileKept)
{
    voce(3, 4, {{"DESCRIZIONE", "ok"}});
    voce(3, 5, {{"DLL", "a#b.dll"}});
    voce(1, 2, {{"PARAMETRIBLOB", "<a b=\"\\n\"/>"}});
    nuovoSnapshot();
    scrivi("menu.csv", "vecchio");
    auto f = apri();
    segna(*f, 3);
    esporta(*f, "menu.csv", TMsgDlgType::Warning,
            "Impossibile esportare il programma Magazzino: DETTMENU.DLL della voce di menu 5 "
            "contiene \"#\", che il file di scambio non può riportare");
    EXPECT_EQ(leggi("menu.csv"), "vecchio");
    EXPECT_FALSE(f->QueryProgrammi->ControlsDisabled());

    segna(*f, 3);
    segna(*f, 1);
    esporta(*f, "menu.csv", TMsgDlgType::Warning,
            "Impossibile esportare il programma Contabilità: DETTMENU.PARAMETRIBLOB della voce "
            "di menu 2 contiene \"\\n\", che il file di scambio non può riportare");
    EXPECT_EQ(leggi("menu.csv"), "vecchio");
}

TEST_F(ExportMenuTest, AFailedWriteIsShownAndTheOldFileKept)
{
    // Enough lines to pass the size limit below.
    for (int m = 2; m <= 300; ++m)
        voce(1, m, {{"DESCRIZIONE", QString(60, QLatin1Char('d'))}});
    nuovoSnapshot();
    scrivi("menu.csv", "vecchio");
    auto f = apri();
    segna(*f, 1);
    risposta(percorso("menu.csv"));
    f->ButtonFile->click();

    // The file size limit holds for root too, where a read-only folder would not.
    rec.allowAny();
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit vecchio{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &vecchio), 0);
    rlimit piccolo = vecchio;
    piccolo.rlim_cur = 8192;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &piccolo), 0);
    f->ButtonExport->click();
    setrlimit(RLIMIT_FSIZE, &vecchio);
    std::signal(SIGXFSZ, SIG_DFL);

    ASSERT_EQ(rec.seen().size(), 2);
    EXPECT_EQ(rec.seen()[0].text, kConferma);
    EXPECT_EQ(rec.seen()[1].kind, TMsgDlgType::Error);
    EXPECT_TRUE(rec.seen()[1].text.startsWith("Impossibile scrivere il file " +
                                              percorso("menu.csv") + ":\r"))
        << rec.seen()[1].text.toStdString();
    EXPECT_EQ(leggi("menu.csv"), "vecchio");
    EXPECT_FALSE(f->QueryProgrammi->ControlsDisabled());
    EXPECT_EQ(f->QueryProgrammi->RecNo(), 1);
}

namespace {

// A file system of a few pages mounted on a folder for the test's life.
struct DiscoPiccolo
{
    explicit DiscoPiccolo(const QString &cartella)
        : punto(QFile::encodeName(cartella))
    {
        QDir().mkpath(cartella);
        montato = ::mount("tmpfs", punto.constData(), "tmpfs", 0, "size=16k") == 0;
        if (!montato)
            perche = std::strerror(errno);
    }
    ~DiscoPiccolo()
    {
        if (montato)
            ::umount2(punto.constData(), MNT_DETACH);
    }
    QByteArray punto;
    bool montato = false;
    std::string perche;
};

} // namespace

TEST_F(ExportMenuTest, AFullDiskNamesItsReasonAndKeepsTheOldFile)
{
    for (int m = 2; m <= 300; ++m)
        voce(1, m, {{"DESCRIZIONE", QString(60, QLatin1Char('d'))}});
    nuovoSnapshot();
    const DiscoPiccolo disco(percorso("pieno"));
    if (!disco.montato)
        GTEST_SKIP() << "a small file system cannot be mounted here: " << disco.perche;
    scrivi("pieno/menu.csv", "vecchio");
    auto f = apri();
    segna(*f, 1);
    risposta(percorso("pieno/menu.csv"));
    f->ButtonFile->click();
    rec.allowAny();
    f->ButtonExport->click();
    ASSERT_EQ(rec.seen().size(), 2);
    EXPECT_EQ(rec.seen()[1].kind, TMsgDlgType::Error);
    EXPECT_EQ(rec.seen()[1].text.toStdString(),
              ("Impossibile scrivere il file " + percorso("pieno/menu.csv") + ":\r" +
               qt_error_string(ENOSPC))
                  .toStdString());
    EXPECT_EQ(leggi("pieno/menu.csv"), "vecchio");
    EXPECT_EQ(QDir(percorso("pieno")).entryList(QDir::Files),
              QStringList{QStringLiteral("menu.csv")});
}

// A database whose DETTMENU never got PARAMETRIBLOB: the field is there,
// empty, so readers find every field where they expect it.
class ExportSenzaBlobTest : public ExportMenuTest
{
protected:
    void SetUp() override
    {
        TransferTest::SetUp();
        conBlob = false;
        dati();
        vociMagazzino();
        nuovoSnapshot();
    }
};

TEST_F(ExportSenzaBlobTest, Field18IsEmptyAndTheHeaderNamesIt)
{
    auto f = apri();
    segna(*f, 3);
    esporta(*f, "menu.csv");
    EXPECT_EQ(leggi("menu.csv"), kIntestazione + rigaMagazzino1("") + kRigaMagazzino2);
}
