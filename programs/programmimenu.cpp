#include "programmimenu.h"

#include "basemainform.h"
#include "exportmenuform.h"
#include "guard.h"
#include "importmenuform.h"
#include "messages.h"
#include "progettiform.h"
#include "programmiform.h"

#include <QAction>

namespace ProgrammiMenu {
namespace {

template <typename Finestra> void apri(TBaseMainForm &finestra, QAction *voce)
{
    Guard::connect(voce, &QAction::triggered, &finestra, [&finestra] {
        Finestra editor(&finestra, *finestra.TabFormRef());
        Modal::exec(&editor);
    });
}

} // namespace

void Installa(TBaseMainForm &finestra)
{
    apri<TProgrammiForm>(finestra, finestra.GestioneProgrammi1);
    apri<TProgettiForm>(finestra, finestra.GestioneProgetti1);
    apri<TExportMenuForm>(finestra, finestra.ExportMenu1);
    apri<TImportMenuForm>(finestra, finestra.ImportMenu1);
}

} // namespace ProgrammiMenu
