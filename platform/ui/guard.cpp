#include "guard.h"

#include "busycursor.h"
#include "dberrortext.h"
#include "dbwait.h"
#include "iberror.h"
#include "messages.h"
#include "valueconv.h"
#include "win1252.h"

#include <QTimer>

namespace Guard {

QString messageOf(const std::exception &e)
{
    return DbErrorText::of(e);
}

bool run(const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const EAbort &) {
    } catch (const std::exception &e) {
        Messages::error(messageOf(e));
    } catch (...) {
        Messages::error(QStringLiteral("Errore imprevisto"));
    }
    return false;
}

} // namespace Guard

TApplication::TApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    DataErrors::setReporter(
        [](std::exception_ptr e) { Guard::run([&] { std::rethrow_exception(e); }); });
    // A statement that may wait for another administrator's lock shows the
    // busy cursor (unless one is up already), kept until the event loop runs
    // again: a handler's many statements make one busy stretch, not a
    // flicker per statement.
    static BusyCursor *busy = nullptr;
    DbWait::setIndicator(
        [] {
            if (busy || BusyCursor::depth() > 0)
                return;
            busy = new BusyCursor;
            QTimer::singleShot(0, [] {
                delete busy;
                busy = nullptr;
            });
        },
        [] {});
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    Guard::run([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
