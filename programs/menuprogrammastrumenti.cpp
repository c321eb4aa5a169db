// The menu grid editor's tools: the library pick, the function letter of
// every entry, the conversion to mode X, the window wizard, the tree view
// and the two transfer buttons whose work lives elsewhere.

#include "menuprogrammaform.h"

#include "dbcontrols.h"
#include "dberrortext.h"
#include "filedialogs.h"
#include "ibquery.h"
#include "ibsql.h"
#include "inputbox.h"
#include "memorydata.h"
#include "messages.h"
#include "strumentivoci.h"
#include "tabform.h"
#include "visalberoform.h"
#include "wizardvoce.h"

#include <QPushButton>

namespace {

const QString kSavepoint = QStringLiteral("AGG_LETTERA_FUNZIONI");

void esegui(TIBSQL *q, const QString &sql)
{
    q->Close();
    q->SQL = QStringList{sql};
    q->ExecQuery();
    q->Close();
}

bool inModifica(const TDataSet *d)
{
    return d->State() == dsEdit || d->State() == dsInsert;
}

} // namespace

void TMenuProgrammaForm::collegaStrumenti()
{
    onClick(ButtonDLL, this, &TMenuProgrammaForm::ButtonDLLClick);
    onClick(ButtonAggFunz, this, &TMenuProgrammaForm::ButtonAggFunzClick);
    onClick(ButtonAutoRinomina, this, &TMenuProgrammaForm::ButtonAutoRinominaClick);
    onClick(ButtonWizardCSDForm, this, &TMenuProgrammaForm::ButtonWizardCSDFormClick);
    onClick(ButtonModAlbero, this, &TMenuProgrammaForm::ButtonModAlberoClick);
    onClick(ButtonImporta, this, &TMenuProgrammaForm::ButtonImportaClick);
    onClick(ButtonEsporta, this, &TMenuProgrammaForm::ButtonEsportaClick);
}

// ---- The library ---------------------------------------------------------------------

void TMenuProgrammaForm::ButtonDLLClick()
{
    const QString percorso =
        FileDialogs::open(this, QStringLiteral("Libreria dll (*.dll)|*.dll"),
                          FTabForm->DirectoryProgramma, FileDialogs::OpenOption::FileMustExist);
    if (!percorso.isEmpty()) {
        const QString nome = StrumentiVoci::NomeLibreria(percorso);
        // The box would cut it, and the entry would name another file.
        if (StrumentiVoci::LibreriaAmmessa(nome))
            ScriviCampo(QStringLiteral("DLL"), nome);
        else
            Messages::warning(
                QStringLiteral("Il nome della libreria non può superare i 20 caratteri"));
    }
    EditDLL->setFocus();
}

// ---- The function letter -------------------------------------------------------------

void TMenuProgrammaForm::ButtonAggFunzClick()
{
    if (QueryDettMenu->IsEmpty()) {
        Messages::warning(QStringLiteral("La tabella è vuota"));
        return;
    }
    const std::optional<QString> lettera =
        InputBox::ask(QStringLiteral("Agg. lettera finale delle chiamate a funz."),
                      QStringLiteral("Inserire lettera"), QString(), this);
    if (!lettera)
        return;
    if (!StrumentiVoci::LetteraAmmessa(*lettera)) {
        Messages::warning(QStringLiteral("Lettere accettate: \"X\" e \"D\""));
        return;
    }
    if (!sostituisciLettera(lettera->at(0)))
        return;
    // The new names wait in the shared transaction: until they are saved,
    // Annulla and the close question guard them.
    SettaggioInterfaccia(true);
    if (Memorizzazione())
        Messages::information(QStringLiteral("Sostituzione completata"));
}

bool TMenuProgrammaForm::sostituisciLettera(QChar lettera)
{
    // A pending row is saved as the first move would save it; the savepoint
    // comes after it, so undoing the walk keeps that row's change.
    if (inModifica(QueryDettMenu))
        QueryDettMenu->Post();
    const TBookmark segno = QueryDettMenu->GetBookmark();
    esegui(QueryAux, QStringLiteral("SAVEPOINT ") + kSavepoint);
    QueryDettMenu->DisableControls();
    try {
        for (QueryDettMenu->First(); !QueryDettMenu->Eof(); QueryDettMenu->Next()) {
            const QString funzione = testo("FUNZIONE");
            if (!StrumentiVoci::RiceveLettera(funzione, testo("LIVELLO2VERSIONE")))
                continue;
            const QString nuova = StrumentiVoci::ConLetteraFinale(funzione, lettera);
            if (nuova == funzione)
                continue;
            QueryDettMenu->Edit();
            QueryDettMenu->FieldByName(QStringLiteral("FUNZIONE"))->setValue(nuova);
            QueryDettMenu->Post();
        }
    } catch (const std::exception &e) {
        const QString messaggio = DbErrorText::of(e);
        if (inModifica(QueryDettMenu))
            QueryDettMenu->Cancel();
        // The rows show what the database holds again.
        esegui(QueryAux, QStringLiteral("ROLLBACK TO SAVEPOINT ") + kSavepoint);
        QueryDettMenu->Close();
        QueryDettMenu->Open();
        QueryDettMenu->GotoBookmark(segno);
        QueryDettMenu->EnableControls();
        Messages::error(messaggio);
        return false;
    }
    QueryDettMenu->GotoBookmark(segno);
    QueryDettMenu->EnableControls();
    return true;
}

// ---- Mode X ----------------------------------------------------------------------------

void TMenuProgrammaForm::ButtonAutoRinominaClick()
{
    if (QueryDettMenu->IsEmpty()) {
        Messages::warning(QStringLiteral("Premere Nuovo per inserire un nuovo record"));
        return;
    }
    const QString funzione = testo("FUNZIONE");
    const QString avviso = StrumentiVoci::AvvisoModoX(funzione);
    if (!avviso.isEmpty()) {
        Messages::warning(avviso);
        return;
    }
    if (!Messages::confirm(QStringLiteral("Converto la funzione in modo X?")))
        return;
    // Edit mode first: a refused save leaves a coherent edit.
    SettaggioInterfaccia(true);
    try {
        ScriviCampo(QStringLiteral("FUNZIONE"),
                    StrumentiVoci::ConLetteraFinale(funzione, QLatin1Char('X')));
    } catch (...) {
        SettaggioInterfaccia(false);
        throw;
    }
    Memorizzazione();
}

// ---- The window wizard -----------------------------------------------------------------

void TMenuProgrammaForm::ButtonWizardCSDFormClick()
{
    if (QueryDettMenu->IsEmpty()) {
        Messages::warning(QStringLiteral("Premere Nuovo per inserire un nuovo record"));
        return;
    }
    // Composed before the row is touched: a stop leaves the entry as it was.
    const std::optional<QString> script =
        WizardVoce::Componi(this, FTabForm, testo("PARAMETRIBLOB"));
    if (!script)
        return;
    if (!inModifica(QueryDettMenu))
        QueryDettMenu->Edit();
    QueryDettMenu->FieldByName(QStringLiteral("PARAMETRIBLOB"))->setValue(*script);
    QueryDettMenu->FieldByName(QStringLiteral("DLL"))->setValue(QStringLiteral("Norvak.dll"));
    QueryDettMenu->FieldByName(QStringLiteral("FUNZIONE"))
        ->setValue(QStringLiteral("ShowCSDFormY"));
    QueryDettMenu->FieldByName(QStringLiteral("LIVELLO2VERSIONE"))->setValue(1);
    // Posted, not committed: the next Memorizza keeps it, Annulla drops it.
    QueryDettMenu->Post();
}

// ---- The tree view -----------------------------------------------------------------------

void TMenuProgrammaForm::ButtonModAlberoClick()
{
    // The view commits, which closes this query underneath: the grid shows
    // nothing until it is opened again, whatever happens in between.
    const QVariantList prima = currentKey();
    QVariant scelto;
    try {
        TVisAlberoForm albero(this, FTabForm, FProgramma);
        if (Modal::exec(&albero) == mrOk)
            scelto = albero.MemTabNodiMenu->FieldByName(QStringLiteral("Menu"))->Value();
    } catch (...) {
        riapri(prima);
        throw;
    }
    riapri(scelto.isNull() ? prima : QVariantList{FProgramma, scelto});
}

void TMenuProgrammaForm::riapri(const QVariantList &chiave)
{
    QueryDettMenu->Close();
    QueryDettMenu->Open();
    if (!chiave.isEmpty() && !chiave.first().isNull())
        locateKey(chiave);
}

// ---- Transfer ----------------------------------------------------------------------------

void TMenuProgrammaForm::ButtonImportaClick()
{
    Messages::information(QStringLiteral("Importazione rimandata alla sezione Elaborazioni"));
}

void TMenuProgrammaForm::ButtonEsportaClick()
{
    Messages::information(QStringLiteral("Esportazione rimandata alla sezione Elaborazioni"));
}
