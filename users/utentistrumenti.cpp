// The users editor's memo tools: file and folder names, search, substitute,
// the external text editor and the launch-mode help. Each changes only the
// memo; the user's next save takes the text to the database.

#include "utentiform.h"

#include "dbcontrols.h"
#include "editoresterno.h"
#include "filedialogs.h"
#include "inputbox.h"
#include "messages.h"
#include "pravlinstrumenti.h"
#include "seldirform.h"
#include "sostform.h"
#include "tabform.h"

#include <QFile>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextCursor>

namespace {

QStringList righe(const TDBMemo *memo)
{
    return memo->toPlainText().split(QLatin1Char('\n'));
}

// Replaces whole lines of the memo in one step the user can undo.
void SostituisciRighe(TDBMemo *memo, const QVector<int> &indici, const QString &testo)
{
    QTextCursor c(memo->document());
    c.beginEditBlock();
    for (int i : indici) {
        const QTextBlock blocco = memo->document()->findBlockByNumber(i);
        c.setPosition(blocco.position());
        c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        c.insertText(testo);
    }
    c.endEditBlock();
}

} // namespace

void TUtentiForm::InserisciNelMemo(const QString &testo)
{
    QTextCursor c = MemoPravlin->textCursor();
    c.insertText(testo);
    MemoPravlin->setTextCursor(c);
    MemoPravlin->setFocus();
}

void TUtentiForm::ButtonFileClick()
{
    const QString file = FileDialogs::open(this, QString());
    if (!file.isEmpty())
        InserisciNelMemo(file);
}

void TUtentiForm::ButtonPercorsoClick()
{
    TSelDirForm dialog(this);
    if (Modal::exec(&dialog) == mrOk)
        InserisciNelMemo(Strumenti::ConBarra(dialog.Directory()));
}

void TUtentiForm::ButtonCercaClick()
{
    const auto parola = InputBox::ask(QStringLiteral("Ricerca"), QStringLiteral("Inserire parola"),
                                      FParolaRicerca, this);
    if (!parola)
        return;
    const auto trovato =
        Strumenti::Cerca(righe(MemoPravlin), *parola, FParolaRicerca, FUltimaRigaTrovata);
    MemoPravlin->setFocus();
    if (!trovato) {
        Messages::information(QStringLiteral("Ricerca terminata"));
        return;
    }
    const int inizio =
        MemoPravlin->document()->findBlockByNumber(trovato->riga).position() + trovato->colonna;
    QTextCursor c(MemoPravlin->document());
    c.setPosition(inizio);
    c.setPosition(inizio + parola->size(), QTextCursor::KeepAnchor);
    MemoPravlin->setTextCursor(c);
}

void TUtentiForm::ButtonSostituisciClick()
{
    TSostForm dialog(this);
    if (focusWidget() != MemoPravlin) {
        Messages::warning(QStringLiteral(
            "Posizionare il cursore nel memo pravlin in corrispondenza di una riga da aggiornare"));
        return;
    }
    const int riga = MemoPravlin->textCursor().blockNumber();
    const auto corrente = Strumenti::TagEValore(MemoPravlin->textCursor().block().text());
    if (!corrente) {
        Messages::warning(QStringLiteral("Posizionare il cursore su una selezione"));
        return;
    }
    dialog.EditTag->setText(corrente->tag);
    dialog.EditValoreCorrente->setText(corrente->valore);
    dialog.EditNuovoValore->setText(corrente->valore);
    if (Modal::exec(&dialog) != mrOk)
        return;
    MemoPravlin->setFocus();
    const QString tag = dialog.EditTag->text();
    const QString nuova = tag + QLatin1Char('=') + dialog.EditNuovoValore->text();
    if (dialog.ItemIndex() == 0)
        SostituisciRighe(MemoPravlin, {riga}, nuova);
    else
        SostituisciRighe(MemoPravlin, Strumenti::RigheDelTag(righe(MemoPravlin), tag), nuova);
}

// ---- The external editor -------------------------------------------------------

void TUtentiForm::ButtonWordpadClick()
{
    QString editore = EditorEsterno::Percorso(*FTabForm);
    if (editore.isEmpty()) {
        Messages::plain(QStringLiteral("Selezionare percorso file eseguibile wordpad"));
        editore =
            FileDialogs::open(this, QString(), QString(), FileDialogs::OpenOption::FileMustExist);
        if (editore.isEmpty())
            return;
        if (editore.size() > EditorEsterno::kLunghezzaPercorso) {
            Messages::warning(
                QStringLiteral("Il percorso dell'editor supera i %1 caratteri: sceglierne uno "
                               "più breve")
                    .arg(EditorEsterno::kLunghezzaPercorso));
            return;
        }
        EditorEsterno::MemorizzaPercorso(*FTabForm, editore);
    }

    const QString file = EditorEsterno::FileEditorUtente(*FTabForm, EditCodice->text());
    {
        const QByteArray contenuto = Strumenti::FileScambio(MemoPravlin->toPlainText());
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            f.write(contenuto) != contenuto.size() || !f.flush()) {
            Messages::error(QStringLiteral("Impossibile scrivere il file \"%1\": %2")
                                .arg(file, f.errorString()));
            return;
        }
    }

    m_editoreInCorso = true;
    const auto esito = EditorEsterno::EseguiEAttendi(editore, file, this);
    m_editoreInCorso = false;
    MemoPravlin->setFocus();
    const QString nonModificato = QStringLiteral("il Pravlin non è stato modificato");
    if (esito == EditorEsterno::TEsito::NonAvviato) {
        Messages::error(QStringLiteral("Impossibile avviare l'editor \"%1\". Premere \"Reset "
                                       "editor\" per sceglierne un altro.")
                            .arg(editore));
        return;
    }
    if (esito == EditorEsterno::TEsito::Anomalo) {
        Messages::warning(QStringLiteral("L'editor si è chiuso in modo anomalo: %1. Il testo è "
                                         "nel file \"%2\"")
                              .arg(nonModificato, file));
        return;
    }
    QByteArray bytes;
    Strumenti::CaricaFileInStringa(file, bytes);
    const Strumenti::TLettura letto = Strumenti::LeggiFileScambio(bytes);
    if (letto.esito == Strumenti::TLettura::VuotoOMancante) {
        Messages::warning(
            QStringLiteral("Il file \"%1\" è vuoto o mancante: %2").arg(file, nonModificato));
        return;
    }
    if (letto.esito == Strumenti::TLettura::CarattereNonAmmesso) {
        Messages::warning(
            QStringLiteral("Il file \"%1\" contiene caratteri non ammessi alla riga %2: %3")
                .arg(file)
                .arg(letto.riga)
                .arg(nonModificato));
        return;
    }
    QTextCursor c(MemoPravlin->document());
    c.select(QTextCursor::Document);
    c.insertText(letto.testo);
}

void TUtentiForm::ButtonResetEditorClick()
{
    EditorEsterno::Reset(*FTabForm);
    Messages::plain(QStringLiteral("Reset fatto"));
}

void TUtentiForm::ButtonInfo1HelpClick()
{
    Messages::information(
        QStringLiteral("Utenti con INFO1 vuoto o \"PC\": caricati dal programma di avvio delle "
                       "postazioni\rUtenti con INFO1 vuoto o \"TERM\": caricati dal programma di "
                       "avvio dei terminali"));
}

void TUtentiForm::reject()
{
    if (m_editoreInCorso)
        return;
    TRecordEditorForm::reject();
}
