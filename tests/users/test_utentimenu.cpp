#include "basemainform.h"
#include "messagerecorder.h"
#include "pathutil.h"
#include "profsicform.h"
#include "utentiform.h"
#include "utentimenu.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The main menu's two items open the users and the profiles editors, each
// modal, on the signed-in archive object.
TEST(UtentiMenu, ItemsOpenTheirEditors)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("Grafica");
    setProgramFolder(dir.path());
    MessageRecorder rec;
    rec.allowAny();
    auto window = std::make_unique<TBaseMainForm>();
    window->EditPassword->setText("corvex.5173");
    window->ButtonOk->click();
    ASSERT_TRUE(window->signedIn());
    rec.allowAny(false);
    rec.clear();
    UtentiMenu::Installa(*window);

    QStringList aperte;
    Modal::setRunner([&](QDialog *d) {
        EXPECT_EQ(d->parentWidget(), window.get());
        if (qobject_cast<TUtentiForm *>(d))
            aperte << d->windowTitle();
        else if (qobject_cast<TProfSicForm *>(d))
            aperte << d->windowTitle();
        return int(QDialog::Rejected);
    });
    window->GestioneUtenti1->trigger();
    window->GestioneProfiliSicurezza1->trigger();
    EXPECT_EQ(aperte, (QStringList{"Gestione utenti", "Profili sicurezza"}));
    Modal::setRunner({});
    window.reset();
    setProgramFolder(QString());
}
