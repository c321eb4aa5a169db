#include "programmimenu.h"

#include "basemainform.h"
#include "guard.h"
#include "messages.h"
#include "programmiform.h"

#include <QAction>

namespace ProgrammiMenu {

void Installa(TBaseMainForm &finestra)
{
    QObject::connect(finestra.GestioneProgrammi1, &QAction::triggered, &finestra, [&finestra] {
        Guard::run([&] {
            TProgrammiForm editor(&finestra, *finestra.TabFormRef());
            Modal::exec(&editor);
        });
    });
}

} // namespace ProgrammiMenu
