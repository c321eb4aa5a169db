#include "utentimenu.h"

#include "basemainform.h"
#include "profsicform.h"
#include "utentiform.h"

#include <QAction>

namespace UtentiMenu {

void Installa(TBaseMainForm &finestra)
{
    finestra.ApriFinestra<TUtentiForm>(finestra.GestioneUtenti1);
    finestra.ApriFinestra<TProfSicForm>(finestra.GestioneProfiliSicurezza1);
}

} // namespace UtentiMenu
