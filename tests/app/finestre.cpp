#include "finestre.h"

#include "abilitaditteform.h"
#include "acqdafileform.h"
#include "csdfinestre.h"
#include "dettprofform.h"
#include "exportmenuform.h"
#include "helpparform.h"
#include "importmenuform.h"
#include "infoform.h"
#include "kivin1form.h"
#include "kivin2form.h"
#include "menuprogrammaform.h"
#include "profsicform.h"
#include "progettiform.h"
#include "programmiform.h"
#include "replicaditteform.h"
#include "ricmenuform.h"
#include "ricprofform.h"
#include "ricprogform.h"
#include "ricprogrform.h"
#include "seldirform.h"
#include "sostform.h"
#include "utentiform.h"
#include "wizcomboform.h"
#include "wizcsdfinestraform.h"
#include "wizcsdfinestrasceltaform.h"
#include "wizcsdfinestrascripttabellaform.h"
#include "wizcsdricercaform.h"
#include "wizcsdsceltauserform.h"
#include "wizcsdstampaform.h"

namespace {

template <typename T> TFinestraInProva editore(const char *nome)
{
    return {nome, [](TTabForm *&tab) { return std::unique_ptr<QWidget>(new T(nullptr, tab)); },
            true};
}

template <typename T> TFinestraInProva suArchivio(const char *nome)
{
    return {nome, [](TTabForm *&tab) { return std::unique_ptr<QWidget>(new T(nullptr, tab)); }};
}

template <typename T> TFinestraInProva semplice(const char *nome)
{
    return {nome, [](TTabForm *&) { return std::unique_ptr<QWidget>(new T(nullptr)); }};
}

} // namespace

const std::vector<TFinestraInProva> &finestre()
{
    static const std::vector<TFinestraInProva> elenco = {
        editore<TProgrammiForm>("programmi"),
        editore<TProgettiForm>("progetti"),
        {"menu",
         [](TTabForm *&tab) {
             return std::unique_ptr<QWidget>(new TMenuProgrammaForm(nullptr, tab, "1"));
         },
         true},
        editore<TUtentiForm>("utenti"),
        editore<TProfSicForm>("profili"),
        {"dettagliprofilo",
         [](TTabForm *&tab) {
             return std::unique_ptr<QWidget>(new TDettProfForm(nullptr, tab, "1"));
         },
         true},
        {"ricercamenu",
         [](TTabForm *&tab) {
             return std::unique_ptr<QWidget>(new TRicMenuForm(nullptr, tab, "1"));
         }},
        suArchivio<TRicProgForm>("ricercaprogetti"),
        suArchivio<TRicProfForm>("ricercaprofili"),
        suArchivio<TRicProgrForm>("ricercaprogrammi"),
        suArchivio<TExportMenuForm>("exportmenu"),
        suArchivio<TImportMenuForm>("importmenu"),
        semplice<THelpParForm>("helppar"),
        semplice<THelpPar2Form>("helppar2"),
        semplice<TSostForm>("sostituisci"),
        semplice<TSelDirForm>("percorso"),
        semplice<TKivIn1Form>("unvalore"),
        semplice<TKivIn2Form>("duevalori"),
        semplice<TInfoForm>("informazioni"),
        {"wizfinestra",
         [](TTabForm *&tab) {
             return std::unique_ptr<QWidget>(new TWizCSDFinestraForm(nullptr, tab));
         }},
        {"wizricerca",
         [](TTabForm *&) {
             static TCSDRicerche ricerca;
             return std::unique_ptr<QWidget>(new TWizCSDRicercaForm(nullptr, &ricerca));
         }},
        {"wizstampa",
         [](TTabForm *&) {
             static TCSDStampaOld stampa;
             return std::unique_ptr<QWidget>(new TWizCSDStampaForm(nullptr, &stampa, "TABELLA"));
         }},
        {"wizcombo",
         [](TTabForm *&) {
             return std::unique_ptr<QWidget>(
                 new TWizComboForm(nullptr, {"UNO", "DUE"}, QStringLiteral("Valori")));
         }},
        suArchivio<TWizCSDSceltaUserForm>("wizsceltauser"),
        {"abilitaditte",
         [](TTabForm *&tab) {
             return std::unique_ptr<QWidget>(new TAbilitaDitteForm(nullptr, tab, 1));
         }},
        suArchivio<TAcqDaFileForm>("acqdafile"),
        suArchivio<TReplicaDitteForm>("replicaditte"),
        semplice<TWizCSDFinestraSceltaForm>("wizsceltafinestra"),
        semplice<TWizCSDFinestraScriptTabellaForm>("wizscripttabella"),
    };
    return elenco;
}
