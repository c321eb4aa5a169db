#include "dbcontrols.h"
#include "dberrortext.h"
#include "dbgrid.h"
#include "filescambiomenu.h"
#include "ibquery.h"
#include "importmenuform.h"
#include "memorydata.h"
#include "transfertest.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <random>

using namespace FileScambioMenu;

namespace {

const QString kDomanda = QStringLiteral("Importare i programmi selezionati con i relativi menu?");
const QString kCompletata = QStringLiteral("Importazione completata");
const QString kInterrotta = QStringLiteral("Importazione interrotta");

// A data line of the file: program `nome`, entry `menu`, the other fields
// as given by position (from 0).
QByteArray voceFile(const QString &nome, int menu, const QMap<int, QString> &altri = {})
{
    QStringList c = {"Prog", "99", nome,   "", "", "99", QString::number(menu),
                     "",     "0",  "Voce", "", "", "",   "",
                     "",     "1",  "0",    ""};
    for (auto it = altri.cbegin(); it != altri.cend(); ++it)
        c[it.key()] = it.value();
    return linea(c);
}

class ImportMenuTest : public TransferTest
{
protected:
    void SetUp() override
    {
        TransferTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        conParametriBlob();
    }
    std::unique_ptr<TImportMenuForm> apri()
    {
        nuovoSnapshot();
        return std::make_unique<TImportMenuForm>(nullptr, tabVar);
    }
    void carica(TImportMenuForm &f, const QByteArray &righe)
    {
        scrivi("menu.csv", kIntestazione + righe);
        risposta(percorso("menu.csv"));
        f.ButtonFile->click();
    }
    // Yes to the question, then the box that ends the import.
    void importa(TImportMenuForm &f, TMsgDlgType tipo, const QString &esito)
    {
        rec.expect(TMsgDlgType::Confirmation, kDomanda, mrYes);
        rec.expect(tipo, esito);
        f.ButtonImport->click();
    }
    // Every program of the file: code, name and S2, in file order.
    QStringList staged(TImportMenuForm &f)
    {
        QStringList out;
        for (f.MemTabProg->First(); !f.MemTabProg->Eof(); f.MemTabProg->Next())
            out << f.MemTabProg->FieldByName("CODICE")->AsString() + " " +
                       f.MemTabProg->FieldByName("NOME")->AsString() + " " +
                       f.MemTabProg->FieldByName("S2")->AsString();
        f.MemTabProg->First();
        return out;
    }
    QStringList log(TImportMenuForm &f) { return f.MemoLog->toPlainText().split('\n'); }
};

} // namespace

TEST_F(ImportMenuTest, NamesMatchIgnoringCaseAccentsAndApostrophesNewOnesGetNewCodes)
{
    programma(4, "MAGAZZINO");
    programma(2, "Qualità");
    programma(6, "Dell´Arte");
    programma(5, "Dell´Arte"); // of two, the lower code
    auto f = apri();
    EXPECT_EQ(f->windowTitle(), "Import Menu");
    carica(*f, voceFile("magazzino", 1) + voceFile("magazzino", 2) + voceFile("Nuovo", 1) +
                   voceFile("QUALITÀ", 1) + voceFile("Dell'Arte", 1) + voceFile("Altro", 1) +
                   voceFile("magazzino", 3) + voceFile("Nuovo", 2));
    EXPECT_EQ(f->EditFile->text(), percorso("menu.csv"));
    EXPECT_EQ(staged(*f), QStringList({"4 magazzino 1", "7 Nuovo 2", "2 QUALITÀ 1", "5 Dell'Arte 1",
                                       "8 Altro 2", "4 magazzino 1", "9 Nuovo 2"}));
    EXPECT_EQ(f->MemTabMenu->RecordCount(), 8);

    // New programs in blue; the codes and marks are not shown.
    TDataSetModel *m = f->GridProgFile->Model();
    EXPECT_EQ(m->columnOfField("CODICE"), -1);
    EXPECT_EQ(m->columnOfField("S2"), -1);
    EXPECT_EQ(f->GridMenuFile->Model()->columnOfField("PROGRAMMA"), -1);
    EXPECT_EQ(m->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
    EXPECT_EQ(m->index(1, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::blue));

    // The file's menu grid shows the current program's rows, every line of its code.
    EXPECT_EQ(f->MemTabMenu->ViewRowCount(), 3);
    f->MemTabProg->Next();
    EXPECT_EQ(f->MemTabMenu->ViewRowCount(), 1);
    EXPECT_EQ(f->MemTabMenu->FieldByName("PROGRAMMA")->AsInteger(), 7);
}

TEST_F(ImportMenuTest, AnEmptyRegisterGivesTheFirstNewProgramCodeOne)
{
    auto f = apri();
    carica(*f, voceFile("Primo", 1) + voceFile("Secondo", 1));
    EXPECT_EQ(staged(*f), QStringList({"1 Primo 2", "2 Secondo 2"}));
}

TEST_F(ImportMenuTest, AnExistingProgramGetsTheFilesMenuAndANewOneIsAdded)
{
    inserisci("PROGRAMMI", {{"CODICE", 4}, {"NOME", "MAGAZZINO"}, {"DESCRIZIONE", "qui"}});
    for (int m : {1, 2, 3})
        voce(4, m, {{"DESCRIZIONE", "vecchia"}});
    auto f = apri();
    ASSERT_EQ(f->QueryProgPres->RecordCount(), 1);
    EXPECT_EQ(f->QueryMenuPres->RecordCount(), 3);
    carica(*f, voceFile("magazzino", 1, {{3, "altra descrizione"}, {9, "Prima"}}) +
                   voceFile("magazzino", 5, {{7, "1"}, {8, "1"}}) +
                   voceFile("Nuovo", 1,
                            {{3, "Desc"},
                             {4, "n.bmp"},
                             {9, "Voce l'uno"},
                             {10, "n.dll"},
                             {11, "ApriX"},
                             {12, "nota"},
                             {13, "1"},
                             {14, "A=1;B=2;"},
                             {16, ""},
                             {17, "<a>\\r\\nb\\n</a>"}}));
    f->ButtonSel1->click();
    importa(*f, TMsgDlgType::Information, kCompletata);
    EXPECT_EQ(log(*f), QStringList({"Inizio importazione", "Importazione terminata"}));

    EXPECT_EQ(programmi(), QStringList({"4|MAGAZZINO|qui|<null>", "5|Nuovo|Desc|n.bmp"}));
    EXPECT_EQ(menu(),
              QStringList({"4|1|<null>|0|Prima|<null>|<null>|<null>|<null>|<null>|1|0|<null>",
                           "4|5|1|1|Voce|<null>|<null>|<null>|<null>|<null>|1|0|<null>",
                           "5|1|<null>|0|Voce l´uno|n.dll|ApriX|nota|1|A=1;\r\nB=2;\r\n|1|<null>|"
                           "<a>\r\nb\n</a>"}));
    EXPECT_EQ(f->QueryProgPres->RecordCount(), 2);
    EXPECT_EQ(f->MemTabProg->RecNo(), 1);
    EXPECT_FALSE(f->MemTabProg->ControlsDisabled());
}

TEST_F(ImportMenuTest, ApostrophesInEveryTextColumnAndTheNameFoundAgainNextTime)
{
    const QByteArray righe = voceFile("Dell'Arte", 1,
                                      {{3, "l'arte"},
                                       {4, "l'icona.bmp"},
                                       {9, "l'uno"},
                                       {10, "l'a.dll"},
                                       {11, "f'X"},
                                       {12, "n'ota"},
                                       {14, "p'1;"},
                                       {17, "<a b='1'/>"}});
    auto f = apri();
    carica(*f, righe);
    f->GridProgFileDblClick();
    importa(*f, TMsgDlgType::Information, kCompletata);
    EXPECT_EQ(programmi(), QStringList({"1|Dell´Arte|l´arte|l'icona.bmp"}));
    EXPECT_EQ(menu(), QStringList({"1|1|<null>|0|l´uno|l'a.dll|f'X|n´ota|<null>|p´1;\r\n|1|0|"
                                   "<a b='1'/>"}));

    // Read again, the file's name finds the stored one.
    carica(*f, righe);
    EXPECT_EQ(staged(*f), QStringList({"1 Dell'Arte 1"}));
}

TEST_F(ImportMenuTest, AWindowScriptOfAHundredThousandCharacters)
{
    QString script;
    while (script.size() < 100000)
        script += QStringLiteral("<Campo Nome='c%1' Titolo=\"à\"/>\\r\\n").arg(script.size());
    auto f = apri();
    carica(*f, voceFile("Script", 1, {{17, script}}));
    f->ButtonSel1->click();
    importa(*f, TMsgDlgType::Information, kCompletata);
    QString atteso = script;
    atteso.replace("\\r", "\r").replace("\\n", "\n");
    EXPECT_EQ(committed("SELECT PARAMETRIBLOB FROM DETTMENU"), atteso);
}

TEST_F(ImportMenuTest, ADuplicatedLineStopsTheImportWithItsLogAndNothingWritten)
{
    programma(4, "MAGAZZINO");
    voce(4, 1, {{"DESCRIZIONE", "vecchia"}});
    const QStringList programmiPrima = programmi(), menuPrima = menu();
    auto f = apri();
    carica(*f, voceFile("Nuovo", 1) + voceFile("magazzino", 1) +
                   voceFile("magazzino", 2, {{7, "1"}, {9, "Doppia"}, {14, "x;"}}) +
                   voceFile("magazzino", 2, {{12, "l'ora è"}, {17, "<a v='€'/>"}}));
    f->ButtonSel1->click();
    importa(*f, TMsgDlgType::Error, kInterrotta);

    QStringList l = log(*f);
    ASSERT_GE(l.size(), 20);
    // The key already taken is said first.
    EXPECT_EQ(l.takeAt(1), DbErrorText::MsgChiaveDuplicata);
    EXPECT_EQ(
        l.mid(0, 18),
        QStringList(
            {"Inizio importazione", "Errore interno di INSERT:", "INSERT INTO DETTMENU (PROGRAMMA,",
             "MENU,MENUPREC,LIVELLOMENU,DESCRIZIONE,", "DLL,FUNZIONE,NOTE,LIVELLO2VERSIONE,",
             "PARAMETRI,VISIBILE,VOCERAPIDA,PARAMETRIBLOB) VALUES(", "'4',", "'2',", "NULL,",
             "'0',", "'Voce',", "NULL,", "NULL,", "'l´ora è',", "NULL,", "NULL,", "'1',", "'0',"}));
    EXPECT_EQ(l[18], "'<a v='€'/>')");
    EXPECT_TRUE(l.join("\n").contains("DETTMENU_CHIAVEPRIMARIA")) << l.join("\n").toStdString();

    EXPECT_EQ(programmi(), programmiPrima);
    EXPECT_EQ(menu(), menuPrima);
    EXPECT_TRUE(tab->IBTransaction1->InTransaction());
    EXPECT_TRUE(f->QueryProgPres->Active());
    EXPECT_EQ(f->QueryMenuPres->RecordCount(), 1);
}

TEST_F(ImportMenuTest, AFailedCommitIsAFailedImport)
{
    // The database refuses to commit a transaction holding this entry.
    other("CREATE EXCEPTION NO_COMMIT 'commit rifiutato'");
    other("CREATE TRIGGER RIFIUTA ON TRANSACTION COMMIT AS BEGIN "
          "IF (EXISTS(SELECT * FROM DETTMENU WHERE DESCRIZIONE = 'rifiutata')) THEN "
          "EXCEPTION NO_COMMIT; END");
    // Database triggers take effect on attachments made after them.
    nuovoSnapshot();
    tab->IBDatabase1->Close();
    tab->IBDatabase1->Open();
    auto f = apri();
    carica(*f, voceFile("Nuovo", 1, {{9, "rifiutata"}}));
    f->ButtonSel1->click();
    importa(*f, TMsgDlgType::Error, kInterrotta);
    const QStringList l = log(*f);
    ASSERT_GE(l.size(), 3);
    EXPECT_EQ(l.mid(0, 2), QStringList({"Inizio importazione", "Errore interno di COMMIT:"}));
    EXPECT_TRUE(l.join("\n").contains("commit rifiutato")) << l.join("\n").toStdString();
    EXPECT_FALSE(l.contains("Importazione terminata"));
    EXPECT_EQ(programmi(), QStringList());
    EXPECT_EQ(menu(), QStringList());
    EXPECT_TRUE(tab->IBTransaction1->InTransaction());
}

TEST_F(ImportMenuTest, ASecondImportOfOneReadingStopsOnTheFirstNewProgram)
{
    programma(4, "MAGAZZINO");
    auto f = apri();
    carica(*f, voceFile("magazzino", 1) + voceFile("Nuovo", 1));
    f->ButtonSel1->click();
    importa(*f, TMsgDlgType::Information, kCompletata);
    const QStringList menuDopo = menu();

    importa(*f, TMsgDlgType::Error, kInterrotta);
    QStringList l = log(*f);
    ASSERT_GE(l.size(), 9);
    EXPECT_EQ(l.takeAt(1), DbErrorText::MsgChiaveDuplicata);
    EXPECT_EQ(l.mid(0, 8),
              QStringList({"Inizio importazione",
                           "Errore interno di INSERT:", "INSERT INTO PROGRAMMI (CODICE,NOME,",
                           "DESCRIZIONE,ICONA) VALUES(", "'5',", "'Nuovo',", "NULL,", "NULL)"}));
    EXPECT_EQ(menu(), menuDopo);
    // The staging rows keep what the reading found.
    EXPECT_EQ(staged(*f), QStringList({"4 magazzino 1", "5 Nuovo 2"}));
}

TEST_F(ImportMenuTest, ABadLineEmptiesEverythingAndNamesItsLine)
{
    auto f = apri();
    carica(*f, voceFile("Buono", 1));
    ASSERT_EQ(f->MemTabProg->RecordCount(), 1);

    rec.expect(TMsgDlgType::Error,
               "File non valido alla riga 3:\r'x1' is not a valid integer value for field 'MENU'");
    QByteArray righe = voceFile("Buono", 1) + voceFile("Buono", 2);
    righe.replace("#2#", "#x1#");
    carica(*f, righe);
    EXPECT_EQ(f->MemTabProg->RecordCount(), 0);
    EXPECT_EQ(f->MemTabMenu->RecordCount(), 0);
    EXPECT_EQ(f->EditFile->text(), QString());
    rec.expect(TMsgDlgType::Warning, "Non ci sono programmi da importare");
    f->ButtonImport->click();

    // A trailing line with no name would make a program without one.
    rec.expect(TMsgDlgType::Error,
               "File non valido alla riga 3:\rPROGRAMMI.NOME (campo 3) è vuoto");
    carica(*f, voceFile("Buono", 1) + "#################\r\n");
    EXPECT_EQ(f->MemTabProg->RecordCount(), 0);
}

TEST_F(ImportMenuTest, ACancelledOrMissingFileLeavesTheTablesEmpty)
{
    auto f = apri();
    carica(*f, voceFile("Buono", 1));
    risposta(QString());
    f->ButtonFile->click();
    EXPECT_EQ(f->MemTabProg->RecordCount(), 0);
    EXPECT_EQ(f->MemTabMenu->RecordCount(), 0);

    carica(*f, voceFile("Buono", 1));
    risposta(percorso("nessuno.csv"));
    rec.expect(TMsgDlgType::Warning, "Il file selezionato non esiste");
    f->ButtonFile->click();
    EXPECT_EQ(f->MemTabProg->RecordCount(), 0);
}

TEST_F(ImportMenuTest, MarksAndTheChecksBeforeWriting)
{
    auto f = apri();
    carica(*f, voceFile("Uno", 1) + voceFile("Due", 1) + voceFile("Tre", 1));
    rec.expect(TMsgDlgType::Information, "Selezionare almeno un programma da importare");
    f->ButtonImport->click();

    TDataSetModel *m = f->GridProgFile->Model();
    f->MemTabProg->Next();
    emit f->GridProgFile->KeyUp(Qt::Key_F3, Qt::NoModifier);
    EXPECT_EQ(f->MemTabProg->FieldByName("S")->AsString(), "1");
    EXPECT_EQ(m->index(1, 0).data(Qt::BackgroundRole).value<QColor>(), clBackground);
    EXPECT_EQ(m->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
    f->GridProgFileDblClick();
    EXPECT_EQ(f->MemTabProg->FieldByName("S")->AsString(), "0");

    f->MemTabProg->Last();
    f->ButtonSel1->click();
    EXPECT_EQ(f->MemTabProg->RecNo(), 3); // back on the row it was on
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(m->value(r, "S").toString(), "1");
    rec.expect(TMsgDlgType::Confirmation, kDomanda, mrNo);
    f->ButtonImport->click();
    EXPECT_EQ(programmi(), QStringList());
    EXPECT_EQ(f->MemTabProg->RecNo(), 1);

    f->ButtonDesel1->click();
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(m->value(r, "S").toString(), "0");
}

TEST_F(ImportMenuTest, ThePresentMenuFollowsThePresentProgram)
{
    programma(1, "Uno");
    programma(2, "Due");
    voce(1, 1);
    voce(2, 1);
    voce(2, 2);
    auto f = apri();
    EXPECT_EQ(f->GridProgPres->Model()->columnOfField("CODICE"), -1);
    EXPECT_EQ(f->QueryMenuPres->RecordCount(), 1);
    f->QueryProgPres->Next();
    EXPECT_EQ(f->QueryMenuPres->RecordCount(), 2);
}

// A new installation where the programs editor never opened: the import
// window adds the column first, as that editor does.
class ImportSenzaBlobTest : public TransferTest
{
};

TEST_F(ImportSenzaBlobTest, OpeningAddsParametriBlobAndTheImportWorks)
{
    nuovoSnapshot();
    rec.expect(TMsgDlgType::Warning,
               "Tabella DETTMENU da aggiornare: verrà aggiunto il campo PARAMETRIBLOB");
    TImportMenuForm f(nullptr, tabVar);
    scrivi("menu.csv", kIntestazione + voceFile("Uno", 1, {{17, "<a/>"}}));
    risposta(percorso("menu.csv"));
    f.ButtonFile->click();
    f.ButtonSel1->click();
    rec.expect(TMsgDlgType::Confirmation, kDomanda, mrYes);
    rec.expect(TMsgDlgType::Information, kCompletata);
    f.ButtonImport->click();
    EXPECT_EQ(committed("SELECT PARAMETRIBLOB FROM DETTMENU"), "<a/>");
}

// Whatever the reader lets through fits the staging tables: each accepted
// line is staged whole, with the values the reading gave.
TEST(ImportMenuStaging, SeededMutationsOfAFileAreStagedWholeOrNotAtAll)
{
    std::mt19937 rng(17);
    auto numero = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
    QByteArray valido = kIntestazione;
    for (int p = 0; p < 4; ++p)
        for (int m = 1; m <= 3; ++m)
            valido += linea({"Prog", "1", QStringLiteral("Programma %1").arg(p), "Qualità", "i.bmp",
                             "1", QString::number(m), m > 1 ? "1" : "", "0", "Voce l'uno", "a.dll",
                             "ApriX", "nota", "1", "A=1;B=2;", "1", "0", "<a b='x'>\\r\\n</a>"});
    int accettati = 0;
    for (int giro = 0; giro < 400; ++giro) {
        QByteArray file = valido;
        for (int n = numero(1, 4); n > 0 && !file.isEmpty(); --n) {
            const int pos = numero(0, int(file.size()) - 1);
            switch (numero(0, 6)) {
            case 0:
                file[pos] = char(numero(0, 255));
                break;
            case 1:
                file.insert(pos, '#');
                break;
            case 2:
                file.remove(pos, 1);
                break;
            case 3:
                file.insert(pos, numero(0, 1) ? "\r" : "\n");
                break;
            case 4:
                file.truncate(pos);
                break;
            case 5:
                file.insert(pos, "\r\n\r\n");
                break;
            default:
                file.insert(pos, QByteArray(numero(1, 300), char(numero(32, 126))));
                break;
            }
        }
        const TLettura lettura = LeggiFile(file);
        if (!lettura.ok()) {
            EXPECT_TRUE(lettura.Righe.isEmpty());
            EXPECT_TRUE(lettura.Errore.startsWith("File non valido alla riga "))
                << lettura.Errore.toStdString();
            continue;
        }
        ++accettati;
        TRxMemoryData prog, menu;
        TImportazioneMenu::DefinisciTabelle(&prog, &menu);
        prog.Open();
        menu.Open();
        TImportazioneMenu importazione(&prog, &menu);
        ASSERT_NO_THROW(importazione.Carica(
            lettura.Righe, [](const QString &) { return std::optional<int>(); }, 1))
            << "round " << giro;
        ASSERT_EQ(menu.RecordCount(), lettura.Righe.size()) << "round " << giro;
        int i = 0;
        for (menu.First(); !menu.Eof(); menu.Next(), ++i) {
            const TVoceFile v = VoceDellaRiga(lettura.Righe[i]);
            EXPECT_EQ(menu.FieldByName("MENU")->Value(), v.Menu);
            EXPECT_EQ(menu.FieldByName("DESCRIZIONE")->Value(), v.Descrizione);
            EXPECT_EQ(menu.FieldByName("PARAMETRI")->Value(), v.Parametri);
            EXPECT_EQ(menu.FieldByName("PARAMETRIBLOB")->IsNull()
                          ? QVariant()
                          : QVariant(menu.FieldByName("PARAMETRIBLOB")->AsString()),
                      v.ParametriBlob);
        }
    }
    // Both ways were tried.
    EXPECT_GT(accettati, 20);
    EXPECT_LT(accettati, 380);
}

namespace {

class ServerImportMenuTest : public ImportMenuTest
{
protected:
    void SetUp() override
    {
        useServer();
        ImportMenuTest::SetUp();
    }
};

} // namespace

// Behind another administrator's unsaved edit of the menu it replaces, the
// import waits for the lock timeout and stops; box and log say why.
TEST_F(ServerImportMenuTest, BehindAnUnsavedEditTheImportStopsAsAConflict)
{
    programma(4, "MAGAZZINO");
    voce(4, 1, {{"DESCRIZIONE", "vecchia"}});
    const QStringList menuPrima = menu();
    attesaBreve();
    auto a = inSospeso("UPDATE DETTMENU SET DESCRIZIONE='di A' WHERE PROGRAMMA=4");
    auto f = apri();
    carica(*f, voceFile("magazzino", 1));
    f->ButtonSel1->click();
    rec.expect(TMsgDlgType::Confirmation, kDomanda, mrYes);
    rec.allowAny();
    f->ButtonImport->click();
    rec.allowAny(false);
    ASSERT_EQ(rec.seen().size(), 2);
    EXPECT_TRUE(
        rec.seen()[1].text.startsWith(kInterrotta + "\r" + DbErrorText::MsgConflitto + "\r"))
        << rec.seen()[1].text.toStdString();
    const QStringList l = log(*f);
    ASSERT_GE(l.size(), 3);
    EXPECT_EQ(l.mid(0, 3), QStringList({"Inizio importazione", DbErrorText::MsgConflitto,
                                        "Errore interno di DELETE:"}));
    a.reset();
    EXPECT_EQ(menu(), menuPrima);
    EXPECT_TRUE(tab->IBTransaction1->InTransaction());
}
