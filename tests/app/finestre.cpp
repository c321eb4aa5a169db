#include "finestre.h"

#include "messages.h"

#include <QApplication>
#include <gtest/gtest.h>

#include "abilitaditteform.h"
#include "acqdafileform.h"
#include "csdeditori.h"
#include "csdfinestre.h"
#include "dettprofform.h"
#include "exportmenuform.h"
#include "helpparform.h"
#include "ibdatabase.h"
#include "importmenuform.h"
#include "infoform.h"
#include "kivin1form.h"
#include "kivin2form.h"
#include "menuprogrammaform.h"
#include "nodovoceform.h"
#include "pathutil.h"
#include "profsicform.h"
#include "progettiform.h"
#include "programmiform.h"
#include "rcsdform.h"
#include "replicaditteform.h"
#include "ricmenuform.h"
#include "ricprofform.h"
#include "ricprogform.h"
#include "ricprogrform.h"
#include "seldirform.h"
#include "sostform.h"
#include "tabform.h"
#include "utentiform.h"
#include "visalberoform.h"
#include "wizcomboform.h"
#include "wizcsdfinestraform.h"
#include "wizcsdfinestrasceltaform.h"
#include "wizcsdfinestrascripttabellaform.h"
#include "wizcsdricercaform.h"
#include "wizcsdsceltauserform.h"
#include "wizcsdstampaform.h"

namespace {

template <typename T, typename... A> TFinestraInProva conArchivio(const char *nome, A... a)
{
    return {nome,
            [=](TTabForm *&tab) { return std::unique_ptr<QWidget>(new T(nullptr, tab, a...)); }};
}

template <typename T, typename... A> TFinestraInProva senza(const char *nome, A... a)
{
    return {nome, [=](TTabForm *&) { return std::unique_ptr<QWidget>(new T(nullptr, a...)); }};
}

// A window of the CSD projects database: connected (and made) on first use,
// beside the user database.
template <typename T, typename... A> TFinestraInProva conCsd(const char *nome, A... a)
{
    return {nome, [=](TTabForm *&tab) {
                if (!tab->IBCSDProgetti->Connected())
                    tab->ConnettiIBCSDProgetti(programFolder() + QStringLiteral("/csd.fdb"));
                return std::unique_ptr<QWidget>(new T(nullptr, tab, a...));
            }};
}

} // namespace

const std::vector<TFinestraInProva> &finestre()
{
    static TCSDRicerche ricerca;
    static TCSDStampaOld stampa;
    static const std::vector<TFinestraInProva> elenco = {
        conArchivio<TProgrammiForm>("programmi"),
        conArchivio<TProgettiForm>("progetti"),
        conArchivio<TMenuProgrammaForm>("menu", QStringLiteral("1")),
        conArchivio<TUtentiForm>("utenti"),
        conArchivio<TProfSicForm>("profili"),
        conArchivio<TDettProfForm>("dettagliprofilo", QStringLiteral("1")),
        conArchivio<TRicMenuForm>("ricercamenu", QStringLiteral("1")),
        conArchivio<TRicProgForm>("ricercaprogetti"),
        conArchivio<TRicProfForm>("ricercaprofili"),
        conArchivio<TRicProgrForm>("ricercaprogrammi"),
        conArchivio<TExportMenuForm>("exportmenu"),
        conArchivio<TImportMenuForm>("importmenu"),
        conArchivio<TAbilitaDitteForm>("abilitaditte", 1),
        conArchivio<TAcqDaFileForm>("acqdafile"),
        conArchivio<TReplicaDitteForm>("replicaditte"),
        conArchivio<TWizCSDFinestraForm>("wizfinestra"),
        conArchivio<TWizCSDSceltaUserForm>("wizsceltauser"),
        conArchivio<TVisAlberoForm>("albero", QStringLiteral("1")),
        conCsd<TProgettiCSDForm>("progetticsd"),
        conCsd<TSituazioniCSDForm>("situazioniform", 0),
        conCsd<TSituazioniCSDForm>("situazionigriglia", 1),
        conCsd<TRProgettiCSDForm>("ricercaprogetticsd"),
        conCsd<TRSituazioniCSDForm>("ricercasituazioni", 0),
        senza<THelpParForm>("helppar"),
        senza<THelpPar2Form>("helppar2"),
        senza<TSostForm>("sostituisci"),
        senza<TSelDirForm>("percorso"),
        senza<TKivIn1Form>("unvalore"),
        senza<TKivIn2Form>("duevalori"),
        senza<TInfoForm>("informazioni"),
        senza<TNodoVoceForm>("nodovoce"),
        senza<TWizCSDRicercaForm>("wizricerca", static_cast<TCSDRicerca *>(&ricerca)),
        senza<TWizCSDStampaForm>("wizstampa", &stampa, QStringLiteral("TABELLA")),
        senza<TWizComboForm>("wizcombo", QStringList{"UNO", "DUE"}, QStringLiteral("Valori")),
        senza<TWizCSDFinestraSceltaForm>("wizsceltafinestra"),
        senza<TWizCSDFinestraScriptTabellaForm>("wizscripttabella"),
    };
    return elenco;
}

void perOgniFinestra(TTabForm *&tab, const std::function<void(const char *, QDialog &)> &guarda)
{
    for (const TFinestraInProva &f : finestre()) {
        std::unique_ptr<QWidget> w = f.crea(tab);
        auto *d = qobject_cast<QDialog *>(w.get());
        ASSERT_NE(d, nullptr) << f.nome;
        Modal::setRunner([&](QDialog *) {
            d->show();
            QApplication::processEvents();
            QApplication::processEvents();
            guarda(f.nome, *d);
            d->done(0);
            return 0;
        });
        Modal::exec(d);
        Modal::setRunner({});
    }
}
