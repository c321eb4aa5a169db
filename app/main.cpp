#include "basemainform.h"
#include "guard.h"
#include "infoform.h"
#include "programmimenu.h"
#include "utentimenu.h"

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);
    QApplication::setApplicationDisplayName(productTitle());
    TBaseMainForm window;
    ProgrammiMenu::Installa(window);
    UtentiMenu::Installa(window);
    window.show();
    return app.exec();
}
