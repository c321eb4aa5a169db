#include "kivin1form.h"
#include "kivin2form.h"
#include "messages.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Runs Modal::exec with a runner that shows the dialog and lets the test act.
template <typename F> int runModal(QDialog *dlg, F act)
{
    Modal::setRunner([&](QDialog *d) {
        d->show();
        act();
        return d->result();
    });
    const int r = Modal::exec(dlg);
    Modal::setRunner({});
    return r;
}

} // namespace

TEST(KivIn1, DefaultsAndOutcomes)
{
    {
        TKivIn1Form dlg;
        // No caller's caption: the program's name, not a placeholder.
        EXPECT_EQ(dlg.windowTitle(), "Amministrazione");
        EXPECT_EQ(dlg.Label1->text(), "Inserisci il valore:");
        EXPECT_EQ(dlg.Esito, 0);
        dlg.Edit1->setText(QStringLiteral("nuovo"));
        EXPECT_EQ(runModal(&dlg, [&] { dlg.OKBtn->click(); }), mrOk);
        EXPECT_EQ(dlg.Esito, 1);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.Edit1->text(), "nuovo");
    }
    {
        TKivIn1Form dlg;
        runModal(&dlg, [&] { dlg.CancelBtn->click(); });
        EXPECT_EQ(dlg.Esito, 2);
    }
    {
        TKivIn1Form dlg;
        runModal(&dlg, [&] { dlg.close(); }); // the close box
        EXPECT_EQ(dlg.Esito, 0);
        EXPECT_FALSE(dlg.isVisible());
    }
}

TEST(KivIn1, KeysActAsTheButtons)
{
    TKivIn1Form enter;
    runModal(&enter, [&] { QTest::keyClick(enter.Edit1, Qt::Key_Return); });
    EXPECT_EQ(enter.Esito, 1);

    TKivIn1Form esc;
    runModal(&esc, [&] { QTest::keyClick(esc.Edit1, Qt::Key_Escape); });
    EXPECT_EQ(esc.Esito, 2);
}

TEST(KivIn2, DefaultsOutcomesAndFocus)
{
    TKivIn2Form dlg;
    EXPECT_EQ(dlg.windowTitle(), "Dialog");
    EXPECT_EQ(dlg.Label1->text(), "Inserisci data e numero:");
    EXPECT_EQ(dlg.Esito, 0);
    for (const char *name : {"Label1", "Edit1", "Edit2", "OKBtn", "CancelBtn"})
        EXPECT_NE(dlg.findChild<QWidget *>(QString::fromLatin1(name)), nullptr) << name;

    runModal(&dlg, [&] {
        dlg.Edit2->setFocus();
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&dlg, &activate);
        EXPECT_EQ(dlg.focusWidget(), dlg.Edit1);
        dlg.Edit1->setText(QStringLiteral("srv"));
        dlg.Edit2->setText(QStringLiteral("E"));
        dlg.OKBtn->click();
    });
    EXPECT_EQ(dlg.Esito, 1);
    EXPECT_EQ(dlg.Edit2->text(), "E");

    TKivIn2Form cancel;
    runModal(&cancel, [&] { cancel.CancelBtn->click(); });
    EXPECT_EQ(cancel.Esito, 2);
}
