#include "basemainform.h"
#include "guard.h"

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Amministrazione"));
    TBaseMainForm window;
    window.show();
    return app.exec();
}
