#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

// Acts on a real modal window (one not shown through a seam, such as Qt's
// file dialog) once it is up: the test starts the driver, then the call that
// runs the window's own loop. A window that never appears, or that the action
// leaves open, is closed after a few seconds so that the test fails instead
// of hanging.
class ModalDriver
{
public:
    using Action = std::function<void(QWidget *)>;
    explicit ModalDriver(Action action);
    ~ModalDriver();
    ModalDriver(const ModalDriver &) = delete;
    ModalDriver &operator=(const ModalDriver &) = delete;

    bool acted() const { return m_acted; }
    bool timedOut() const { return m_timedOut; }

private:
    void poll();

    Action m_action;
    QTimer m_timer;
    int m_ticks = 0;
    bool m_acted = false;
    bool m_timedOut = false;
    QPointer<QWidget> m_window;
};
