#include "childkill.h"
#include "pathutil.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

namespace {

const QByteArray kPronto = "pronto\n";

} // namespace

bool KillChild::start(const char *variable)
{
    cartella = qEnvironmentVariable(variable);
    EXPECT_FALSE(cartella.isEmpty()) << variable;
    if (cartella.isEmpty())
        return false;
    setProgramFolder(cartella);
    rec.allowAny();
    tab = std::make_unique<TTabForm>();
    const bool connesso = tab->ConnettiDatabaseArchivi();
    EXPECT_TRUE(connesso);
    return connesso;
}

void announceAndWaitForKill()
{
    std::fputs(kPronto.constData(), stdout);
    std::fflush(stdout);
    for (;;)
        pause();
}

void killChildWhenReady(const QString &test, const QProcessEnvironment &extra)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(extra);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // The engine's shared lock and memory files in a folder of the child's
    // own: a kill can leave a process-shared mutex held there, which every
    // other engine using the folder would wait for for ever.
    QTemporaryDir fileMotore;
    env.insert("FIREBIRD_LOCK", fileMotore.path());
    QProcess figlio;
    figlio.setProcessEnvironment(env);
    figlio.start(QCoreApplication::applicationFilePath(),
                 {"--gtest_filter=" + test, "--gtest_also_run_disabled_tests"});
    ASSERT_TRUE(figlio.waitForStarted());
    QByteArray uscita;
    while (!uscita.contains(kPronto) && figlio.state() == QProcess::Running) {
        figlio.waitForReadyRead(1000);
        uscita += figlio.readAllStandardOutput();
    }
    ASSERT_TRUE(uscita.contains(kPronto))
        << uscita.toStdString() << figlio.readAllStandardError().toStdString();
    figlio.kill(); // SIGKILL
    ASSERT_TRUE(figlio.waitForFinished(30000));
    EXPECT_EQ(figlio.exitStatus(), QProcess::CrashExit);
}
