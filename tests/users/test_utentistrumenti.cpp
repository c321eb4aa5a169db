#include "dataset.h"
#include "dbcontrols.h"
#include "filedialogs.h"
#include "ibquery.h"
#include "inputbox.h"
#include "seldirform.h"
#include "sostform.h"
#include "utentiform.h"
#include "utentitest.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <tuple>

namespace {

// The canonical text the opening builds from the rows below.
const QString kTesto = "[ALFA]\nDB=1\nPATHDB=2\n[DBX]\nDB=3\n";
const QString kEditore = "Selezionare percorso file eseguibile wordpad";

class UtentiStrumentiTest : public UtentiTest
{
protected:
    void SetUp() override
    {
        UtentiTest::SetUp();
        profilo(1);
        progetto(1);
        utente(1, "anna", "ALFA", QString());
        riga(1, "ALFA", "DB", "1", 1);
        riga(1, "ALFA", "PATHDB", "2", 2);
        riga(1, "DBX", "DB", "3", 3);
        f = apri();
        prima = istantanea();
        f->ButtonEdit->click();
        f->MemoPravlin->setFocus();
    }
    void TearDown() override
    {
        // Whatever a tool did, the user's row reached nobody.
        EXPECT_EQ(istantanea(), prima);
        EXPECT_TRUE(f->Editing());
        f.reset();
        InputBox::setResponder({});
        FileDialogs::setResponder({});
        UtentiTest::TearDown();
    }
    void caret(int riga, int colonna = 0)
    {
        QTextCursor c(f->MemoPravlin->document()->findBlockByNumber(riga));
        c.setPosition(c.position() + colonna);
        f->MemoPravlin->setTextCursor(c);
    }
    QString pravlin() const { return f->QueryUtenti->FieldByName("PRAVLIN")->AsString(); }

    std::unique_ptr<TUtentiForm> f;
    QStringList prima;
};

} // namespace

TEST_F(UtentiStrumentiTest, SearchSelectsLineByLineAndSubstituteRewritesNamedParameters)
{
    InputBox::setResponder([](const TInputRequest &r) -> std::optional<QString> {
        EXPECT_EQ(r.caption, "Ricerca");
        EXPECT_EQ(r.prompt, "Inserire parola");
        return QString("db");
    });
    // "[ALFA]" has no "db"; then DB=1, PATHDB=2, [DBX], DB=3, then the end.
    for (const QString atteso : {"DB", "DB", "DB", "DB"}) {
        f->ButtonCerca->click();
        EXPECT_EQ(f->MemoPravlin->textCursor().selectedText(), atteso);
    }
    EXPECT_EQ(f->MemoPravlin->textCursor().blockNumber(), 4);
    EXPECT_EQ(f->FUltimaRigaTrovata, 4);
    rec.expect(TMsgDlgType::Information, "Ricerca terminata");
    f->ButtonCerca->click();

    // Every company, only the lines named "DB": not PATHDB, not the header;
    // then the current line only, with the tag as edited.
    for (auto [riga, tag, valore, dove] :
         {std::tuple{1, "DB", "9", 1}, std::tuple{2, "PATH", "/x", 0}}) {
        caret(riga, 4);
        rispondi([&, riga = riga, tag = tag, valore = valore, dove = dove](QDialog *d) {
            auto *s = qobject_cast<TSostForm *>(d);
            const QString corrente = riga == 1 ? "1" : "2";
            EXPECT_EQ(s->EditValoreCorrente->text(), corrente);
            EXPECT_EQ(s->EditNuovoValore->text(), corrente);
            s->EditTag->setText(tag);
            s->EditNuovoValore->setText(valore);
            s->setItemIndex(dove);
            s->ButtonOk->click();
            return s->result();
        });
        f->ButtonSostituisci->click();
    }
    EXPECT_EQ(pravlin(), "[ALFA]\r\nDB=9\r\nPATH=/x\r\n[DBX]\r\nDB=9\r\n");

    // A header, an empty line, the focus elsewhere: no dialog.
    rispondi([](QDialog *) -> int {
        ADD_FAILURE() << "no dialog expected";
        return mrCancel;
    });
    for (auto [riga, memo] : {std::pair{0, true}, std::pair{5, true}, std::pair{1, false}}) {
        caret(riga);
        (memo ? static_cast<QWidget *>(f->MemoPravlin) : f->EditNomeUtente)->setFocus();
        rec.expect(TMsgDlgType::Warning,
                   memo ? "Posizionare il cursore su una selezione"
                        : "Posizionare il cursore nel memo pravlin in corrispondenza di una riga "
                          "da aggiornare");
        f->ButtonSostituisci->click();
    }
    EXPECT_EQ(rec.pending(), 0);
}

TEST_F(UtentiStrumentiTest, FileFolderAndHelpGoToTheCaretAndTakeNoFocus)
{
    for (QPushButton *b : {f->ButtonFile, f->ButtonPercorso, f->ButtonCerca, f->ButtonSostituisci,
                           f->ButtonApriEditor, f->ButtonResetEditor})
        EXPECT_EQ(b->focusPolicy(), Qt::NoFocus) << b->objectName().toStdString();

    FileDialogs::setResponder([](const FileDialogRequest &r) {
        EXPECT_FALSE(r.mustExist);
        return QString("/srv/dati/x.txt");
    });
    caret(2, 7);
    QTextCursor c = f->MemoPravlin->textCursor();
    c.setPosition(c.position() + 1, QTextCursor::KeepAnchor);
    f->MemoPravlin->setTextCursor(c);
    f->ButtonFile->click();
    EXPECT_EQ(f->MemoPravlin->document()->findBlockByNumber(2).text(), "PATHDB=/srv/dati/x.txt");

    const QString cartella = QDir(dir.path()).absolutePath();
    for (int risposta : {mrOk, mrCancel}) {
        rispondi([&](QDialog *d) {
            auto *s = qobject_cast<TSelDirForm *>(d);
            EXPECT_EQ(s->windowTitle(), "Selezione Percorso");
            EXPECT_FALSE(s->DriveComboBox1->count() == 0);
            s->setDirectory(cartella);
            (risposta == mrOk ? s->ButtonOk : s->ButtonCancel)->click();
            return s->result();
        });
        caret(1, 3);
        f->ButtonPercorso->click();
    }
    EXPECT_EQ(f->MemoPravlin->document()->findBlockByNumber(1).text(), "DB=" + cartella + "\\1");
    EXPECT_TRUE(f->MemoPravlin->hasFocus() || f->focusWidget() == f->MemoPravlin);

    rec.expect(TMsgDlgType::Information,
               "Utenti con INFO1 vuoto o \"PC\": caricati dal programma di avvio delle "
               "postazioni\rUtenti con INFO1 vuoto o \"TERM\": caricati dal programma di avvio "
               "dei terminali");
    f->ButtonInfo1Help->click();
}

namespace {

// A small shell script standing in for the user's text editor.
QString script(const QString &cartella, const QString &nome, const QString &corpo)
{
    const QString percorso = cartella + nome;
    QFile f(percorso);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(("#!/bin/sh\n" + corpo + "\n").toUtf8());
    f.close();
    f.setPermissions(f.permissions() | QFile::ExeOwner);
    return percorso;
}

} // namespace

TEST_F(UtentiStrumentiTest, TheExternalEditorChangesOnlyTheMemo)
{
    const QString scambio = cartella() + "1_utente.txt";
    struct Caso
    {
        const char *nome;
        QString corpo; // empty: the editor's path is not a program
        QString memo;  // the memo afterwards
        TMsgDlgType tipo = TMsgDlgType::None;
        QString avviso = {};
    };
    const QString nonModificato = "il Pravlin non è stato modificato";
    const Caso casi[] = {
        {"unchanged", "cp \"$1\" \"$1.copia\"", kTesto},
        {"last line without line end", "printf 'Lingua=IT\\r\\nNuova=\\303\\250' > \"$1\"",
         "Lingua=IT\nNuova=è"},
        {"missing", QString(), kTesto, TMsgDlgType::Error,
         "Impossibile avviare l'editor \"%1\". Premere \"Reset editor\" per sceglierne un altro."},
        {"killed", "kill -9 $$", kTesto, TMsgDlgType::Warning,
         "L'editor si è chiuso in modo anomalo: " + nonModificato + ". Il testo è nel file \"" +
             scambio + "\""},
        {"deleted", "rm \"$1\"", kTesto, TMsgDlgType::Warning,
         "Il file \"" + scambio + "\" è vuoto o mancante: " + nonModificato},
        {"NUL byte", "printf 'a\\r\\nb\\000c' > \"$1\"", kTesto, TMsgDlgType::Warning,
         "Il file \"" + scambio +
             "\" contiene caratteri non ammessi alla riga 2: " + nonModificato},
    };
    int n = 0;
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.nome);
        f->MemoPravlin->setPlainText(kTesto);
        const QString editore = c.corpo.isEmpty()
                                    ? cartella() + "manca.exe"
                                    : script(cartella(), QString("ed %1.sh").arg(++n), c.corpo);
        FileDialogs::setResponder([&](const FileDialogRequest &r) {
            EXPECT_TRUE(r.mustExist);
            return editore;
        });
        rec.expect(TMsgDlgType::None, kEditore);
        if (c.tipo != TMsgDlgType::None)
            rec.expect(c.tipo, c.avviso.contains("%1") ? c.avviso.arg(editore) : c.avviso);
        f->ButtonApriEditor->click();
        EXPECT_EQ(rec.pending(), 0);
        EXPECT_EQ(f->MemoPravlin->toPlainText(), c.memo);
        EXPECT_EQ(pravlin(), QString(c.memo).replace("\n", "\r\n"));
        EXPECT_TRUE(f->isEnabled());
        // The path (with a blank) stays stored until "Reset editor", in a row of its own
        // transaction.
        EXPECT_EQ(valore("SELECT TESTO FROM TABX WHERE NOME='EseguibileWordPad'").toString(),
                  editore);
        rec.expect(TMsgDlgType::None, "Reset fatto");
        f->ButtonResetEditor->click();
        EXPECT_FALSE(valore("SELECT TESTO FROM TABX").isValid());
    }
    // What the editor was given: the memo's lines ended by CR LF, in UTF-8.
    QFile copia(scambio + ".copia");
    ASSERT_TRUE(copia.open(QIODevice::ReadOnly));
    EXPECT_EQ(copia.readAll(), QByteArray("[ALFA]\r\nDB=1\r\nPATHDB=2\r\n[DBX]\r\nDB=3\r\n\r\n"));
}

TEST_F(UtentiStrumentiTest, TheExternalEditorRefusesWithoutWritingAnything)
{
    // Cancelled, then a path TESTO cannot hold: no row, nothing started.
    for (const QString &scelto : {QString(), cartella() + QString(130, 'x')}) {
        FileDialogs::setResponder([&](const FileDialogRequest &) { return scelto; });
        rec.expect(TMsgDlgType::None, kEditore);
        if (!scelto.isEmpty())
            rec.expect(TMsgDlgType::Warning,
                       "Il percorso dell'editor supera i 128 caratteri: sceglierne uno più breve");
        f->ButtonApriEditor->click();
        EXPECT_EQ(valore("SELECT COUNT(*) FROM TABX").toString(), "0");
    }
    EXPECT_FALSE(QFile::exists(cartella() + "1_utente.txt"));

    // An exchange file that cannot be written: the editor is not started.
    const QString editore = script(cartella(), "ed.sh", "touch \"$0.partito\"");
    FileDialogs::setResponder([&](const FileDialogRequest &) { return editore; });
    ASSERT_TRUE(QDir(cartella()).mkdir("1_utente.txt"));
    rec.allowAny();
    f->ButtonApriEditor->click();
    rec.allowAny(false);
    ASSERT_EQ(rec.seen().size(), 5);
    EXPECT_EQ(rec.seen()[3].text, kEditore);
    EXPECT_EQ(rec.seen().last().kind, TMsgDlgType::Error);
    EXPECT_TRUE(rec.seen().last().text.startsWith("Impossibile scrivere il file \"" + cartella() +
                                                  "1_utente.txt\""));
    EXPECT_FALSE(QFile::exists(editore + ".partito"));
    // The stored path is used from then on, without asking.
    FileDialogs::setResponder({});
    ASSERT_TRUE(QDir(cartella()).rmdir("1_utente.txt"));
    f->ButtonApriEditor->click();
    EXPECT_TRUE(QFile::exists(editore + ".partito"));
    EXPECT_EQ(f->MemoPravlin->toPlainText(), kTesto);
}
