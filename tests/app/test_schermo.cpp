#include "archivefixture.h"
#include "finestre.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>

// No window opens larger than the screen's free area, and every button,
// the command column's included, stays in view: checked at 150% on a
// laptop's and a desktop's screen, each in a process of its own on
// Qt's offscreen platform with one screen of that size.
namespace {

constexpr const char *kFiglio = "SCHERMO_IN_PROVA";

bool inPannelloScorrevole(const QWidget *w, const QWidget *window)
{
    for (const QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<const QScrollArea *>(p))
            return true;
    return false;
}

} // namespace

TEST(Schermo, OgniFinestraEntraAl150PerCento)
{
    for (const QSize &schermo : {QSize(1366, 768), QSize(1600, 1000)}) {
        QTemporaryDir dir;
        QFile config(dir.filePath("schermo.json"));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("{\"screens\": [{\"name\": \"prova\", \"x\": 0, \"y\": 0, "
                                    "\"width\": %1, \"height\": %2, \"logicalDpi\": 96}]}")
                         .arg(schermo.width())
                         .arg(schermo.height())
                         .toUtf8());
        config.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName());
        env.insert("QT_SCALE_FACTOR", "1.5");
        env.insert(kFiglio, QStringLiteral("%1x%2").arg(schermo.width()).arg(schermo.height()));
        QProcess figlio;
        figlio.setProcessEnvironment(env);
        figlio.setProcessChannelMode(QProcess::MergedChannels);
        figlio.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=SchermoFiglio.*"});
        ASSERT_TRUE(figlio.waitForFinished(240000));
        const QString uscita = QString::fromLocal8Bit(figlio.readAll());
        EXPECT_EQ(figlio.exitCode(), 0) << uscita.toStdString();
        EXPECT_TRUE(uscita.contains("[  PASSED  ] 1 test")) << uscita.toStdString();
    }
}

// The child's side: runs only with the screen the parent made.
class SchermoFiglio : public ArchiveTest
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty(kFiglio))
            GTEST_SKIP() << "runs in the child process of Schermo";
        ArchiveTest::SetUp();
    }
};

TEST_F(SchermoFiglio, FinestreDentroLoSchermo)
{
    const QRect libero = QGuiApplication::primaryScreen()->availableGeometry();
    const QStringList lato = qEnvironmentVariable(kFiglio).split('x');
    ASSERT_EQ(libero.width(), qRound(lato[0].toInt() / 1.5));
    rec.allowAny();
    for (const TFinestraInProva &f : finestre()) {
        nuovoSnapshot();
        std::unique_ptr<QWidget> w = f.crea(tabVar);
        auto *dialog = qobject_cast<QDialog *>(w.get());
        ASSERT_NE(dialog, nullptr) << f.nome;
        QRect cornice, finestra;
        QStringList fuori;
        mostra(*dialog, [&] {
            dialog->show();
            QApplication::processEvents();
            cornice = dialog->frameGeometry();
            finestra = dialog->rect();
            for (QAbstractButton *b : dialog->findChildren<QAbstractButton *>()) {
                if (b->isVisible() && !inPannelloScorrevole(b, dialog) &&
                    !finestra.contains(QRect(b->mapTo(dialog, QPoint(0, 0)), b->size())))
                    fuori << b->objectName();
            }
            dialog->done(0);
        });
        EXPECT_TRUE(libero.contains(cornice))
            << f.nome << " at " << cornice.x() << "," << cornice.y() << " " << cornice.width()
            << "x" << cornice.height();
        EXPECT_TRUE(fuori.isEmpty()) << f.nome << ": " << fuori.join(' ').toStdString();
    }
}
