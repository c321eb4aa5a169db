// The menu grid editor's steps: new entry, parent choice and caption,
// validations, delete with the child check, insert before the current entry,
// reset, marks and the help texts.

#include "menuprogrammaform.h"

#include "dbcontrols.h"
#include "dberrortext.h"
#include "dbgrid.h"
#include "dettmenu.h"
#include "guard.h"
#include "helpparform.h"
#include "ibquery.h"
#include "ibsql.h"
#include "messages.h"
#include "ricmenuform.h"
#include "tabform.h"
#include "vocimenu.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kChiavi = QStringLiteral("PROGRAMMA;MENU");

} // namespace

QString TMenuProgrammaForm::testo(const char *campo) const
{
    return QueryDettMenu->FieldByName(QLatin1String(campo))->AsString();
}

void TMenuProgrammaForm::valoriVoce(const QString &menu, const QString &padre,
                                    const QString &livello)
{
    const auto valore = [](const QString &t) { return t.isEmpty() ? QVariant() : QVariant(t); };
    QueryDettMenu->FieldByName(QStringLiteral("PROGRAMMA"))->setValue(FProgramma);
    QueryDettMenu->FieldByName(QStringLiteral("MENU"))->setValue(menu);
    QueryDettMenu->FieldByName(QStringLiteral("MENUPREC"))->setValue(valore(padre));
    QueryDettMenu->FieldByName(QStringLiteral("VISIBILE"))->setValue(1);
    QueryDettMenu->FieldByName(QStringLiteral("VOCERAPIDA"))->setValue(0);
    QueryDettMenu->FieldByName(QStringLiteral("LIVELLO2VERSIONE"))->setValue(0);
    QueryDettMenu->FieldByName(QStringLiteral("LIVELLOMENU"))->setValue(valore(livello));
}

// ---- Nuovo, validations ------------------------------------------------------------

void TMenuProgrammaForm::ValoriNuovoRecord()
{
    FMenu = FCodice;
    valoriVoce(FMenu, QString(), QStringLiteral("0"));
    EditDescrizione->setFocus();
}

bool TMenuProgrammaForm::Validazioni()
{
    const QString errore =
        VociMenu::Validazione(EditMenu->text(), EditMenuPrec->text(), EditDescrizione->text());
    if (!errore.isEmpty()) {
        Messages::warning(errore);
        return false;
    }
    FMenu = EditMenu->text();
    return true;
}

// ---- The parent entry -----------------------------------------------------------------

void TMenuProgrammaForm::ButtonMenuPrecClick()
{
    TRicMenuForm scelta(this, FTabForm, FProgramma);
    if (Modal::exec(&scelta) == mrOk) {
        const QVariant menu = scelta.QueryMenu->FieldByName(QStringLiteral("MENU"))->Value();
        const QVariant livello =
            scelta.QueryMenu->FieldByName(QStringLiteral("LIVELLOMENU"))->Value();
        ScriviCampo(QStringLiteral("MENUPREC"), menu);
        ScriviCampo(QStringLiteral("LIVELLOMENU"), VociMenu::LivelloSotto(livello));
    }
    EditMenuPrec->setFocus();
}

void TMenuProgrammaForm::DescrizioneMenuPrec()
{
    EditDescrMenu->clear();
    // Only a code reaches the database; a sign alone or a code the column
    // cannot hold names no entry.
    const auto codice = VociMenu::Codice(testo("MENUPREC"));
    if (codice)
        EditDescrMenu->setText(DettMenu::Descrizione(*m_descrMenu, FProgramma, *codice));
}

QList<TDipendente> TMenuProgrammaForm::Dipendenti()
{
    // Rows of this program only: the base adds the parent's PROGRAMMA. They
    // go with the entry: a new entry may take its code again (MAX + 1), and
    // must not inherit its grants.
    QList<TDipendente> elenco = {{QStringLiteral("DETTPROF"), QStringLiteral("MENU"), true}};
    if (VociMenu::ConTraduzioni(QueryAux))
        elenco.append({QStringLiteral("LINGUEMENU"), QStringLiteral("MENU"), true});
    return elenco;
}

// ---- Elimina -------------------------------------------------------------------------

bool TMenuProgrammaForm::ControlloRigaTrovata()
{
    FMenu = testo("MENU");
    // Hidden entries count: they still hang from this one.
    if (rowExists({QStringLiteral("SELECT * FROM DETTMENU WHERE"),
                   QStringLiteral("(PROGRAMMA=:PROGRAMMA)AND"), QStringLiteral("(MENUPREC=:MENU)")},
                  {{QStringLiteral("PROGRAMMA"), FProgramma}, {QStringLiteral("MENU"), FMenu}})) {
        Messages::warning(QStringLiteral("La voce selezionata contiene altre voci nidificate: non "
                                         "è possibile procedere alla cancellazione"));
        return false;
    }
    return true;
}

void TMenuProgrammaForm::EliminaCollegati()
{
    EliminaDipendenti(FMenu);
}

void TMenuProgrammaForm::DopoEliminazione()
{
    FVociSelezionate.remove(FMenu);
}

// ---- Inserisci -------------------------------------------------------------------------

bool TMenuProgrammaForm::RiordinaRighe(const QString &programma, const QString &primoCodice)
{
    const auto p = VociMenu::Codice(programma), c = VociMenu::Codice(primoCodice);
    try {
        if (!p || !c)
            throw EDatabaseError(QStringLiteral("Codice non valido"));
        TSpostamentoVoci(QueryAux).SpostaVoci(*p, *c);
    } catch (const std::exception &e) {
        Messages::error(DbErrorText::under(
            QStringLiteral("Errore interno durante il riordino dei menu"), e, false));
        return false;
    }
    // The grid keeps the rows as it read them until the save reopens it:
    // reading 32,767 entries again here would cost more than the shift.
    return true;
}

// The save's commit without reopening: nothing of this editor is pending in
// browse mode, so the rows read stay what the database holds, and the one
// reopen comes with the save of the new entry.
void TMenuProgrammaForm::confermaSenzaRiaprire()
{
    TIBTransaction *tr = QueryDettMenu->Transaction();
    if (!tr) {
        FTabForm->ChiudiTransEAggiorna(QueryDettMenu, FBookmark, FBookmarkValido, ButtonAggiorna);
        return;
    }
    tr->removeClient(QueryDettMenu);
    try {
        FTabForm->ChiudiTransazione(QueryDettMenu, FBookmark, FBookmarkValido, ButtonAggiorna);
    } catch (...) {
        tr->addClient(QueryDettMenu);
        throw;
    }
    tr->addClient(QueryDettMenu);
}

void TMenuProgrammaForm::annullaSpostamento(const QString &codice)
{
    FTabForm->AggiornaTabella(QueryDettMenu, TBookmark(), false);
    QueryDettMenu->Locate(kChiavi, QVariantList{FProgramma, codice});
}

void TMenuProgrammaForm::ButtonInserisciClick()
{
    if (QueryDettMenu->IsEmpty()) {
        Messages::warning(QStringLiteral(
            "Non è ancora stata inserita nessuna voce di menu: premere il tasto Nuova"));
        return;
    }
    if (!Messages::confirm(QStringLiteral("Inserire una nuova voce?")))
        return;
    // A pending edit is saved as any save is, validations included.
    if (Editing()) {
        if (!Memorizzazione())
            return;
    } else {
        confermaSenzaRiaprire();
    }
    // Everything before this point is committed: a failure below goes back
    // to exactly here.
    const QString codice = testo("MENU");
    const QString padre = testo("MENUPREC");
    const QString livello = testo("LIVELLOMENU");
    try {
        TSpostamentoVoci(QueryAux).SpostaPadri(QueryDettMenu->FieldByName("PROGRAMMA")->AsInteger(),
                                               codice.toInt());
    } catch (const std::exception &e) {
        Messages::error(DbErrorText::under(
            QStringLiteral("Errore interno durante il riordino delle voci di menu"), e, false));
        annullaSpostamento(codice);
        return;
    }
    const QString nuovoPadre = VociMenu::PadreDopoSpostamento(padre, codice);
    if (!RiordinaRighe(FProgramma, codice)) {
        annullaSpostamento(codice);
        return;
    }
    // The grid still shows the current entry under its old code C: the new
    // one goes just before it.
    SettaggioInterfaccia(true);
    QueryDettMenu->Insert();
    valoriVoce(codice, nuovoPadre, livello);
    focusPrimoCampo();
}

// ---- A&zzera -------------------------------------------------------------------------

void TMenuProgrammaForm::ButtonAzzeraClick()
{
    // The grants and translations go too: the next "&Nuovo" gives code 1 again.
    QList<QStringList> istruzioni{
        {QStringLiteral("DELETE FROM DETTMENU WHERE PROGRAMMA=:PROGRAMMA")},
        {QStringLiteral("DELETE FROM DETTPROF WHERE PROGRAMMA=:PROGRAMMA")}};
    if (VociMenu::ConTraduzioni(QueryAux))
        istruzioni.append({QStringLiteral("DELETE FROM LINGUEMENU WHERE PROGRAMMA=:PROGRAMMA")});
    if (AzzeraRigheCollegate(QStringLiteral("Confermare l'azzeramento del menu del programma?"),
                             istruzioni, {{QStringLiteral("PROGRAMMA"), FProgramma}}))
        FVociSelezionate.clear();
}

// ---- Marks -------------------------------------------------------------------------------

void TMenuProgrammaForm::commutaMarca()
{
    if (!QueryDettMenu->Active() || QueryDettMenu->IsEmpty())
        return;
    const QString menu = testo("MENU");
    if (!FVociSelezionate.remove(menu))
        FVociSelezionate.insert(menu);
    GridDettMenu->viewport()->update();
}

void TMenuProgrammaForm::GridDettMenuDblClick()
{
    commutaMarca();
}

void TMenuProgrammaForm::GridDettMenuKeyDown(int key)
{
    if (key == Qt::Key_F3)
        commutaMarca();
}

void TMenuProgrammaForm::ButtonSelTuttoClick()
{
    FMenu = EditMenu->text();
    FVociSelezionate.clear();
    // Read through the view, so the current row stays where it is.
    const int menu = QueryDettMenu->FieldByName(QStringLiteral("MENU"))->Index();
    const int righe = QueryDettMenu->ViewRowCount();
    FVociSelezionate.reserve(righe);
    for (int r = 0; r < righe; ++r)
        FVociSelezionate.insert(QueryDettMenu->ViewValue(r, menu).toString());
    GridDettMenu->viewport()->update();
}

void TMenuProgrammaForm::ButtonDeSelTuttoClick()
{
    FVociSelezionate.clear();
    GridDettMenu->viewport()->update();
}

// ---- Help texts ----------------------------------------------------------------------------

void TMenuProgrammaForm::ButtonHelpClick()
{
    THelpParForm help(this);
    Modal::exec(&help);
}

void TMenuProgrammaForm::ButtonHelpDescrClick()
{
    THelpPar2Form help(this);
    Modal::exec(&help);
}
