#include "basemainform.h"
#include "databaselocation.h"
#include "infoform.h"
#include "kivin1form.h"
#include "kivin2form.h"
#include "layoutcheck.h"
#include "messagerecorder.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Every window keeps its texts whole in the fonts this machine substitutes
// for the ones the windows ask for ("Arial" becomes Liberation Sans, "Tahoma"
// the wider DejaVu Sans), and in a much larger one.
namespace {

const QFont kLarge(QStringLiteral("DejaVu Sans"), 16);

// Shows the dialog, lets Qt lay it out, and answers what is wrong with it.
QStringList faultsShown(QWidget *w, const QString &picture)
{
    w->show();
    QApplication::processEvents();
    const QImage shot = windowPicture(w, picture);
    QStringList faults = layoutFaults(w);
    if (shot.isNull() || shot.size() != w->size() * shot.devicePixelRatio())
        faults << QStringLiteral("no picture of the window");
    return faults;
}

// Where a label ends, in the dialog's own coordinates.
QRect inDialog(const QWidget *w, const QWidget *dialog)
{
    return QRect(w->mapTo(dialog, QPoint(0, 0)), w->size());
}

} // namespace

TEST(Layouts, ServerPromptShowsItsTwoLinesWhole)
{
    QTemporaryDir dir;
    MessageRecorder rec;
    rec.expect(TMsgDlgType::None, QStringLiteral("Non trovato dati.ini"));
    QStringList faults, largeFaults;
    int promptLines = 0;
    bool labelClearOfButtons = false;
    Modal::setRunner([&](QDialog *d) {
        auto *dlg = qobject_cast<TKivIn2Form *>(d);
        EXPECT_NE(dlg, nullptr);
        if (!dlg)
            return 0;
        faults = faultsShown(dlg, QStringLiteral("server-prompt"));
        promptLines = dlg->Label1->height() / dlg->Label1->fontMetrics().lineSpacing();
        const QRect label = inDialog(dlg->Label1, dlg);
        labelClearOfButtons = !label.intersects(dlg->OKBtn->geometry()) &&
                              label.right() < dlg->OKBtn->geometry().left();
        dlg->setFont(kLarge);
        largeFaults = faultsShown(dlg, QStringLiteral("server-prompt-large"));
        dlg->CancelBtn->click();
        return d->result();
    });
    QString server, lettera;
    ChiediServerDati(dir.path() + QLatin1Char('/'), nullptr, server, lettera);
    Modal::setRunner({});
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(largeFaults.isEmpty()) << largeFaults.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(promptLines, 2);
    EXPECT_TRUE(labelClearOfButtons);
}

TEST(Layouts, ValueDialogInTahoma)
{
    TKivIn1Form dlg;
    dlg.setWindowTitle(QStringLiteral("Codice"));
    dlg.Label1->setText(QStringLiteral("Inserire il nuovo codice del programma selezionato:"));
    dlg.setFont(QFont(QStringLiteral("Tahoma")));
    QStringList faults = faultsShown(&dlg, QStringLiteral("value-dialog"));
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
    dlg.setFont(kLarge);
    faults = faultsShown(&dlg, QStringLiteral("value-dialog-large"));
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
}

TEST(Layouts, SignInWindowAndInformationBox)
{
    // The program folder as installed, with its pictures.
    {
        TBaseMainForm window;
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Autenticazione"));
        QStringList faults = faultsShown(&window, QStringLiteral("sign-in"));
        EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();

        TInfoForm info(&window);
        faults = faultsShown(&info, QStringLiteral("information"));
        EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
        EXPECT_FALSE(info.ProgramIcon->pixmap().isNull());
    }
    // A desktop with a large font.
    const QFont font = QApplication::font();
    QApplication::setFont(kLarge);
    {
        TBaseMainForm window;
        const QStringList faults = faultsShown(&window, QStringLiteral("sign-in-large"));
        EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
    }
    QApplication::setFont(font);
}
