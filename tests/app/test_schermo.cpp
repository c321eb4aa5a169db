#include "archivefixture.h"
#include "finestre.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QDialog>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>

// No window opens larger than the screen's free area, and every button
// outside a scrolled panel, the command column's included, stays in view:
// at 150% on a laptop's and a desktop's screen, each in a process of its own
// on Qt's offscreen platform with one screen of that size.
namespace {
constexpr const char *kFiglio = "SCHERMO_IN_PROVA";
}

TEST(Schermo, OgniFinestraEntraAl150PerCento)
{
    for (const char *schermo : {"1366x768", "1600x1000"}) {
        QTemporaryDir dir;
        const QStringList lato = QString(schermo).split('x');
        QFile config(dir.filePath("schermo.json"));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("{\"screens\": [{\"name\": \"prova\", \"x\": 0, \"y\": 0, "
                                    "\"width\": %1, \"height\": %2, \"logicalDpi\": 96}]}")
                         .arg(lato[0], lato[1])
                         .toUtf8());
        config.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName());
        env.insert("QT_SCALE_FACTOR", "1.5");
        env.insert(kFiglio, schermo);
        QProcess figlio;
        figlio.setProcessEnvironment(env);
        figlio.setProcessChannelMode(QProcess::MergedChannels);
        figlio.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=SchermoFiglio.*"});
        ASSERT_TRUE(figlio.waitForFinished(240000));
        const QString uscita = QString::fromLocal8Bit(figlio.readAll());
        EXPECT_TRUE(figlio.exitCode() == 0 && uscita.contains("[  PASSED  ] 1 test"))
            << schermo << "\n"
            << uscita.toStdString();
    }
}

// The child's side: runs only on the screen the parent made.
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
    ASSERT_EQ(libero.width(), qRound(qEnvironmentVariable(kFiglio).split('x')[0].toInt() / 1.5));
    rec.allowAny();
    perOgniFinestra(tabVar, [&](const char *nome, QDialog &d) {
        EXPECT_TRUE(libero.contains(d.frameGeometry())) << nome;
        for (QAbstractButton *b : d.findChildren<QAbstractButton *>()) {
            bool scorre = false;
            for (QWidget *p = b->parentWidget(); p != &d; p = p->parentWidget())
                scorre = scorre || qobject_cast<QScrollArea *>(p);
            if (b->isVisible() && !scorre)
                EXPECT_TRUE(d.rect().contains(QRect(b->mapTo(&d, QPoint()), b->size())))
                    << nome << " " << b->objectName().toStdString();
        }
    });
}
