#include "dbcontrols.h"
#include "dbgrid.h"
#include "filedialogs.h"
#include "ibquery.h"
#include "menuprogrammaform.h"
#include "programmiform.h"
#include "programstest.h"
#include "tag.h"
#include "testdb.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <random>

namespace {

const QString kDaAggiornare =
    "Tabella DETTMENU da aggiornare: verrà aggiunto il campo PARAMETRIBLOB";
const QString kMenuLegati = "Ci sono dei menu legati a questo programma, si prega di eliminarli "
                            "prima di cancellare questo record";
const QString kCancellare = "Confermare la cancellazione del record?";

class ProgrammiFormTest : public ProgramsTest
{
protected:
    void TearDown() override
    {
        FileDialogs::setResponder({});
        ProgramsTest::TearDown();
    }
    std::unique_ptr<TProgrammiForm> apri()
    {
        nuovoSnapshot();
        return std::make_unique<TProgrammiForm>(nullptr, tabVar);
    }
    void immagine(const QString &percorso, int w, int h)
    {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::blue);
        ASSERT_TRUE(img.save(percorso, "PNG"));
    }
    void salvaFoto(QWidget *w, const QString &nome)
    {
        w->grab().save(QCoreApplication::applicationDirPath() + "/../" + nome);
    }
    int codice(TProgrammiForm &f) { return f.QueryProgrammi->FieldByName("CODICE")->AsInteger(); }
};

} // namespace

TEST_F(ProgrammiFormTest, TheUpgradeAtOpeningIsShownOnce)
{
    other("INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE, PARAMETRI) VALUES (1, 1, 'v', "
          "'Ditta=1')");
    rec.expect(TMsgDlgType::Warning, kDaAggiornare);
    auto f = apri();
    EXPECT_EQ(committed("SELECT PARAMETRIBLOB FROM DETTMENU"), "Ditta=1");
    f.reset();
    auto again = apri(); // the recorder fails on a second warning
    EXPECT_FALSE(again->Editing());
}

TEST_F(ProgrammiFormTest, NewProgramTypedAndSavedThenBrowsing)
{
    conParametriBlob();
    programma(7, "Sette");
    auto f = apri();
    for (QWidget *w : {(QWidget *)f->EditNome, (QWidget *)f->EditIcona, (QWidget *)f->ButtonIcona,
                       (QWidget *)f->ButtonCodice})
        EXPECT_FALSE(w->isEnabled());
    f->ButtonNuovo->click();
    EXPECT_EQ(f->EditCodice->text(), "8");
    EXPECT_FALSE(f->GridProgrammi->isEnabled());
    EXPECT_FALSE(f->ButtonMenu->isEnabled());
    EXPECT_FALSE(f->ButtonConversioneMemo->isEnabled());
    EXPECT_TRUE(f->ButtonDuplica->isEnabled());
    // What the user types goes to the first box, not to the button.
    QTest::keyClicks(f->focusWidget(), "Paghe");
    QTest::keyClicks(f->EditDescrizione, "Paghe e stipendi");
    f->show();
    salvaFoto(f.get(), "programmiform-edit.png");
    f->ButtonMemorizza->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_TRUE(f->GridProgrammi->isEnabled());
    EXPECT_EQ(codice(*f), 8);
    EXPECT_EQ(committed("SELECT NOME || '/' || DESCRIZIONE FROM PROGRAMMI WHERE CODICE=8"),
              "Paghe/Paghe e stipendi");
    EXPECT_EQ(committed("SELECT COALESCE(ICONA, 'nulla') FROM PROGRAMMI WHERE CODICE=8"), "nulla");
}

TEST_F(ProgrammiFormTest, IconChosenAnywhereIsStoredByNameAndPreviewedFromGrafica)
{
    conParametriBlob();
    programma(1, "Uno");
    immagine(cartella() + "altrove.png", 40, 40); // not in Grafica
    immagine(cartella() + "Grafica/Largo.png", 320, 160);
    QFile rotto(cartella() + "Grafica/rotto.png");
    ASSERT_TRUE(rotto.open(QIODevice::WriteOnly));
    rotto.write("\x89PNG non proprio");
    rotto.close();

    auto f = apri();
    FileDialogRequest chiesto;
    QString risposta = cartella() + "altrove.png";
    FileDialogs::setResponder([&](const FileDialogRequest &r) {
        chiesto = r;
        return risposta;
    });
    f->ButtonEdit->click();
    f->ButtonIcona->click();
    EXPECT_EQ(chiesto.kind, FileDialogRequest::Open);
    EXPECT_EQ(QDir(chiesto.initialDir).canonicalPath(),
              QDir(cartella() + "Grafica").canonicalPath());
    EXPECT_TRUE(chiesto.filter.contains("*.png")) << chiesto.filter.toStdString();
    EXPECT_TRUE(chiesto.filter.contains("*.BMP"));
    EXPECT_EQ(f->EditIcona->text(), "altrove.png");
    EXPECT_TRUE(f->ImageIcona->isHidden()); // no such file in Grafica

    risposta = cartella() + "Grafica/Largo.png";
    f->ButtonIcona->click();
    EXPECT_FALSE(f->ImageIcona->isHidden());
    EXPECT_EQ(f->ImageIcona->pixmap().size(), QSize(32, 16)); // fitted, keeping its aspect

    // Typed names: an unreadable picture, a missing one, a path: no preview,
    // no message.
    for (const char *name : {"rotto.png", "manca.bmp", "../altrove.png"}) {
        f->EditIcona->clear();
        QTest::keyClicks(f->EditIcona, name);
        EXPECT_TRUE(f->ImageIcona->isHidden()) << name;
    }
    f->EditIcona->clear();
    QTest::keyClicks(f->EditIcona, "LARGO.PNG"); // Windows names ignore case
    EXPECT_FALSE(f->ImageIcona->isHidden());

    // A name longer than the column would be cut into another name.
    risposta = cartella() + QString(65, 'n') + ".png";
    rec.expect(TMsgDlgType::Warning, "Il nome del file è troppo lungo: al massimo 64 caratteri");
    f->ButtonIcona->click();
    EXPECT_EQ(f->EditIcona->text(), "LARGO.PNG");
    risposta.clear(); // cancelled
    f->ButtonIcona->click();
    EXPECT_EQ(f->EditIcona->text(), "LARGO.PNG");
    EXPECT_EQ(f->focusWidget(), f->EditIcona);
    f->ButtonMemorizza->click();
    EXPECT_EQ(committed("SELECT ICONA FROM PROGRAMMI WHERE CODICE=1"), "LARGO.PNG");
    EXPECT_FALSE(f->ImageIcona->isHidden()); // shown again after the reopening
    f->show();
    salvaFoto(f.get(), "programmiform.png");
}

TEST_F(ProgrammiFormTest, AMissingPictureOrStatusGlyphNeverStopsTheOpening)
{
    conParametriBlob();
    programma(1, "Uno");
    other("UPDATE PROGRAMMI SET ICONA='sparita.bmp' WHERE CODICE=1");
    QFile::remove(cartella() + "Grafica/Verde.bmp");
    QFile::remove(cartella() + "Grafica/Rosso.bmp");
    auto f = apri();
    EXPECT_TRUE(f->ImageIcona->isHidden());
    EXPECT_FALSE(f->ButtonAggiorna->icon().isNull());
    EXPECT_EQ(Tag(f->ButtonAggiorna), 0);
}

TEST_F(ProgrammiFormTest, ProgramsWithMenusAreKeptOthersDeletedWhateverLinksThem)
{
    conParametriBlob();
    programma(1, "Con menu");
    programma(2, "Solo progetti");
    other("INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE) VALUES (1, 1, 'voce')");
    other("INSERT INTO DETTPROGETTI (PROGETTO, PROGRAMMA) VALUES (1, 2)");
    other("INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU, LIVELLO) VALUES (1, 2, 1, 0)");
    auto f = apri();
    rec.expect(TMsgDlgType::Warning, kMenuLegati);
    f->ButtonElimina->click();
    ASSERT_TRUE(f->QueryProgrammi->Locate("CODICE", 2));
    rec.expect(TMsgDlgType::Confirmation, kCancellare, mrYes);
    f->ButtonElimina->click();
    EXPECT_EQ(committed("SELECT LIST(CODICE) FROM PROGRAMMI"), "1");
    // Its links and grants go with it, never to pass to a later program 2.
    EXPECT_EQ(committed("SELECT COUNT(*) FROM DETTPROGETTI"), "0");
    EXPECT_EQ(committed("SELECT COUNT(*) FROM DETTPROF"), "0");
}

TEST_F(ProgrammiFormTest, MenuNeedsAProgramAndKeepsTheCurrentOne)
{
    conParametriBlob();
    auto vuoto = apri();
    rec.expect(TMsgDlgType::Warning, "Non c'è nessun programma selezionato");
    vuoto->ButtonMenu->click();
    vuoto.reset();
    programma(1, "Uno");
    programma(2, "Due");
    auto f = apri();
    ASSERT_TRUE(f->QueryProgrammi->Locate("CODICE", 2));
    QString aperto;
    Modal::setRunner([&](QDialog *d) {
        auto *menu = qobject_cast<TMenuProgrammaForm *>(d);
        EXPECT_NE(menu, nullptr);
        if (menu)
            aperto = menu->FProgramma;
        return int(mrCancel);
    });
    f->ButtonMenu->click();
    EXPECT_EQ(aperto, "2");
    EXPECT_EQ(codice(*f), 2);
}

TEST_F(ProgrammiFormTest, ClosingTheWindowInEditMode)
{
    conParametriBlob();
    programma(1, "Uno");
    auto f = apri();
    f->show();
    f->ButtonEdit->click();
    QTest::keyClicks(f->EditNome, "!");
    rec.expect(TMsgDlgType::Confirmation, "Salvare le modifiche prima di chiudere la finestra?",
               mrYes);
    QTest::keyClick(f.get(), Qt::Key_Escape);
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(committed("SELECT NOME FROM PROGRAMMI WHERE CODICE=1"), "Uno!");
}

TEST(AnteprimaIcona, FuzzedPictureFilesGiveAPreviewOrNothing)
{
    QTemporaryDir dir;
    std::mt19937 rng(7);
    QImage valid(50, 20, QImage::Format_RGB32);
    valid.fill(Qt::red);
    QByteArray png, bmp;
    {
        QBuffer b(&png);
        b.open(QIODevice::WriteOnly);
        valid.save(&b, "PNG");
        QBuffer c(&bmp);
        c.open(QIODevice::WriteOnly);
        valid.save(&c, "BMP");
    }
    for (int i = 0; i < 300; ++i) {
        QByteArray bytes = (i % 2 ? png : bmp);
        // Cut, flip bytes, or pure noise.
        switch (i % 3) {
        case 0:
            bytes.truncate(int(rng() % bytes.size()));
            break;
        case 1:
            for (int k = 0; k < 8; ++k)
                bytes[int(rng() % bytes.size())] = char(rng());
            break;
        default:
            bytes = QByteArray(int(rng() % 200), '\0');
            for (char &c : bytes)
                c = char(rng());
        }
        const QString path = dir.path() + QString("/p%1.img").arg(i);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        const QPixmap p = TProgrammiForm::Anteprima(path);
        if (!p.isNull()) {
            ASSERT_LE(p.width(), 32);
            ASSERT_LE(p.height(), 32);
        }
    }
    QFile whole(dir.path() + "/intera.bmp");
    ASSERT_TRUE(whole.open(QIODevice::WriteOnly));
    whole.write(bmp);
    whole.close();
    EXPECT_EQ(TProgrammiForm::Anteprima(dir.path() + "/intera.bmp").size(), QSize(32, 12));
    EXPECT_TRUE(TProgrammiForm::Anteprima(dir.path() + "/manca.bmp").isNull());
}
