#include "programmimenu.h"

#include "basemainform.h"
#include "exportmenuform.h"
#include "importmenuform.h"
#include "progettiform.h"
#include "programmiform.h"

#include <QAction>

namespace ProgrammiMenu {

void Installa(TBaseMainForm &finestra)
{
    finestra.ApriFinestra<TProgrammiForm>(finestra.GestioneProgrammi1);
    finestra.ApriFinestra<TProgettiForm>(finestra.GestioneProgetti1);
    finestra.ApriFinestra<TExportMenuForm>(finestra.ExportMenu1);
    finestra.ApriFinestra<TImportMenuForm>(finestra.ImportMenu1);
}

} // namespace ProgrammiMenu
