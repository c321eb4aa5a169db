#include "vociprogrammi.h"

#include "basemainform.h"
#include "exportmenuform.h"
#include "importmenuform.h"
#include "messages.h"

#include <QAction>

namespace VociProgrammi {
namespace {

template <typename Finestra> void apri(TBaseMainForm &main, QAction *voce)
{
    main.setItemAction(voce, [&main] {
        Finestra finestra(&main, *main.TabFormRef());
        Modal::exec(&finestra);
    });
}

} // namespace

void Installa(TBaseMainForm &main)
{
    apri<TExportMenuForm>(main, main.ExportMenu1);
    apri<TImportMenuForm>(main, main.ImportMenu1);
}

} // namespace VociProgrammi
