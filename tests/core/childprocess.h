#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The sign-in helper (child/signin_child.cpp) run as another program: a
// first sign-in that can be killed at a chosen moment, or a program that
// keeps a database open, or the tool signed in with an editor's row being
// changed.
class ChildProcess
{
public:
    explicit ChildProcess(const QStringList &arguments);
    ~ChildProcess();

    // Reads what the child says until a line starting with `prefix`; false
    // when the child ends or stays silent for `timeoutMs` first.
    bool waitFor(const QString &prefix, int timeoutMs = 30000);
    // Reads what has arrived so far without waiting.
    void poll();
    qint64 elapsed() const { return m_clock.elapsed(); }
    // SIGKILL; answers whether the child was still running (killed, not done).
    bool kill();
    // Sends the signal to the child.
    void send(int signal);
    // Waits for a normal end and answers the exit code (-1 when it did not end).
    int finish(int timeoutMs = 30000);

    const QStringList &lines() const { return m_lines; }
    QByteArray standardError() { return m_process.readAllStandardError(); }

private:
    void take();
    QTemporaryDir m_engineFiles;
    QProcess m_process;
    QElapsedTimer m_clock;
    QStringList m_lines;
    QByteArray m_partial;
    int m_checked = 0;
};
