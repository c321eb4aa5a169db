#include "childprocess.h"

#include <gtest/gtest.h>
#include <signal.h>

ChildProcess::ChildProcess(const QStringList &arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The embedded engine's shared lock and memory files in a folder of the
    // child's own: killed in the middle of the engine's work, the child can
    // leave a process-shared mutex held there, and every other engine using
    // the same folder would wait for it for ever.
    env.insert(QStringLiteral("FIREBIRD_LOCK"), m_engineFiles.path());
    m_process.setProcessEnvironment(env);
    m_process.setProgram(QStringLiteral(SIGNIN_CHILD));
    m_process.setArguments(arguments);
    m_clock.start();
    m_process.start();
    if (!m_process.waitForStarted())
        ADD_FAILURE() << "cannot start " << SIGNIN_CHILD;
}

ChildProcess::~ChildProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

void ChildProcess::take()
{
    m_partial += m_process.readAllStandardOutput();
    int nl;
    while ((nl = m_partial.indexOf('\n')) >= 0) {
        m_lines << QString::fromUtf8(m_partial.left(nl));
        m_partial.remove(0, nl + 1);
    }
}

void ChildProcess::poll()
{
    m_process.waitForReadyRead(0);
    take();
}

bool ChildProcess::waitFor(const QString &prefix, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        take();
        for (; m_checked < m_lines.size(); ++m_checked) {
            if (m_lines[m_checked].startsWith(prefix)) {
                ++m_checked;
                return true;
            }
        }
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0 || m_process.state() == QProcess::NotRunning)
            return false;
        m_process.waitForReadyRead(int(qMin<qint64>(left, 100)));
    }
}

bool ChildProcess::kill()
{
    m_process.kill();
    m_process.waitForFinished();
    take();
    return m_process.exitStatus() == QProcess::CrashExit;
}

void ChildProcess::send(int signal)
{
    ::kill(pid_t(m_process.processId()), signal);
}

int ChildProcess::finish(int timeoutMs)
{
    if (!m_process.waitForFinished(timeoutMs))
        return -1;
    take();
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}
