#include "basemainform.h"
#include "designermenu.h"
#include "guard.h"
#include "infoform.h"
#include "programmimenu.h"
#include "qttranslations.h"
#include "shutdownsignals.h"
#include "utentimenu.h"

int main(int argc, char *argv[])
{
    useItalianLocale();
    TApplication app(argc, argv);
    // The program's title for the boxes without a kind. No display name: Qt
    // would append it to every window's caption.
    QApplication::setApplicationName(productTitle());
    loadQtItalian();
    TBaseMainForm window;
    ProgrammiMenu::Installa(window);
    UtentiMenu::Installa(window);
    DesignerMenu::Installa(window);
    // Before the first connection: until then the signals are ours alone.
    ShutdownSignals segnali;
    QObject::connect(&segnali, &ShutdownSignals::received, &window,
                     &TBaseMainForm::ChiudiPerSegnale);
    window.show();
    return app.exec();
}
