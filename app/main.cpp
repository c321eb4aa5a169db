#include "guard.h"

#include <QMainWindow>

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Amministrazione"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Autenticazione"));
    window.show();
    return app.exec();
}
