#include "designermenu.h"

#include "basemainform.h"
#include "csdeditori.h"

#include <QAction>
#include <memory>

namespace DesignerMenu {

namespace {

template <typename Crea> void voce(TBaseMainForm &finestra, QAction *azione, Crea crea)
{
    TBaseMainForm *f = &finestra;
    Guard::connect(azione, &QAction::triggered, f, [f, crea] {
        if (!f->CSDCollegato())
            return;
        auto editor = crea(f);
        Modal::exec(editor.get());
    });
}

} // namespace

void Installa(TBaseMainForm &finestra)
{
    voce(finestra, finestra.ProgettiCSD1,
         [](TBaseMainForm *f) { return std::make_unique<TProgettiCSDForm>(f, f->TabForm()); });
    voce(finestra, finestra.SituazioniForm1,
         [](TBaseMainForm *f) { return std::make_unique<TSituazioniCSDForm>(f, f->TabForm(), 0); });
    voce(finestra, finestra.SituazioniCSDGrid1,
         [](TBaseMainForm *f) { return std::make_unique<TSituazioniCSDForm>(f, f->TabForm(), 1); });
}

} // namespace DesignerMenu
