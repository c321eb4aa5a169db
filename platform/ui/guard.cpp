#include "guard.h"

#include "iberror.h"
#include "messages.h"
#include "valueconv.h"
#include "win1252.h"

namespace Guard {

QString messageOf(const std::exception &e)
{
    if (const auto *ib = dynamic_cast<const EIBError *>(&e))
        return ib->message();
    return QString::fromUtf8(e.what());
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
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    Guard::run([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
