#include "basemainform.h"
#include "exportmenuform.h"
#include "importmenuform.h"
#include "messagerecorder.h"
#include "pathutil.h"
#include "progettiform.h"
#include "programmimenu.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(MenuProgetti, ProjectsExportAndImportOpenTheirWindowsModallyOwnedByTheMainWindow)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("Grafica");
    setProgramFolder(dir.path());
    MessageRecorder rec;
    rec.allowAny();
    TBaseMainForm window;
    ProgrammiMenu::Installa(window);
    window.EditPassword->setText("corvex.5173");
    window.ButtonOk->click();
    ASSERT_TRUE(window.signedIn());
    rec.allowAny(false);

    QStringList aperte;
    Modal::setRunner([&](QDialog *d) {
        EXPECT_EQ(d->parent(), &window);
        aperte << d->metaObject()->className() + QStringLiteral(" ") + d->windowTitle();
        return int(mrCancel);
    });
    window.GestioneProgetti1->trigger();
    window.ExportMenu1->trigger();
    // A new database has no PARAMETRIBLOB yet: the import adds it first.
    rec.expect(TMsgDlgType::Warning,
               "Tabella DETTMENU da aggiornare: verrà aggiunto il campo PARAMETRIBLOB");
    window.ImportMenu1->trigger();
    window.ImportMenu1->trigger();
    EXPECT_EQ(aperte, QStringList({"TProgettiForm Gestione progetti", "TExportMenuForm Export Menu",
                                   "TImportMenuForm Import Menu", "TImportMenuForm Import Menu"}));
    Modal::setRunner({});
    setProgramFolder(QString());
}
