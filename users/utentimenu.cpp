#include "utentimenu.h"

#include "basemainform.h"
#include "guard.h"
#include "messages.h"
#include "profsicform.h"
#include "utentiform.h"

#include <QAction>

namespace UtentiMenu {

namespace {

template <typename Editor> void apre(TBaseMainForm &finestra, QAction *voce)
{
    Guard::connect(voce, &QAction::triggered, &finestra, [&finestra] {
        Editor editor(&finestra, *finestra.TabFormRef());
        Modal::exec(&editor);
    });
}

} // namespace

void Installa(TBaseMainForm &finestra)
{
    apre<TUtentiForm>(finestra, finestra.GestioneUtenti1);
    apre<TProfSicForm>(finestra, finestra.GestioneProfiliSicurezza1);
}

} // namespace UtentiMenu
