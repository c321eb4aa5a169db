#include "modaldriver.h"

#include <QApplication>
#include <QDialog>

namespace {
constexpr int kTickMs = 10;
constexpr int kGiveUpTicks = 500; // 5 s
} // namespace

ModalDriver::ModalDriver(Action action)
    : m_action(std::move(action))
{
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start(kTickMs);
}

ModalDriver::~ModalDriver()
{
    m_timer.stop();
}

void ModalDriver::poll()
{
    ++m_ticks;
    if (!m_timedOut) {
        if (m_acted) {
            if (!m_window || !m_window->isVisible()) {
                m_timer.stop(); // done with
                return;
            }
        } else if (QWidget *modal = QApplication::activeModalWidget();
                   modal && modal->isVisible()) {
            m_acted = true;
            m_window = modal;
            // From a timer of its own: a timer does not fire again while its
            // handler runs, and the action may start another modal loop.
            QTimer::singleShot(0, modal, [this, modal] { m_action(modal); });
            return;
        }
        if (m_ticks < kGiveUpTicks)
            return;
        m_timedOut = true;
    }
    // Given up: every modal window still up is closed, the innermost first
    // (the action may have led to another one).
    if (QWidget *modal = QApplication::activeModalWidget()) {
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    } else {
        m_timer.stop();
    }
}
