#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP (a kill, Ctrl+C, a closed session) end the
// program through its own window instead of killing it or being swallowed:
// the database client catches the first two for itself and leaves the
// program running. The handler only writes the signal's number into a pipe;
// `received` is emitted from the event loop that reads it. One instance per
// process.
class ShutdownSignals : public QObject
{
    Q_OBJECT
public:
    explicit ShutdownSignals(QObject *parent = nullptr);
    ~ShutdownSignals() override;

    // Takes the three signals back: the database client puts its own
    // handlers in place when it first connects.
    static void reclaim();

signals:
    void received(int signal);

private:
    void readPipe();
    QSocketNotifier *m_notifier = nullptr;
};
