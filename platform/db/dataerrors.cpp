#include "dataerrors.h"

#include <QtGlobal>

namespace DataErrors {

namespace {
Reporter &reporter()
{
    static Reporter instance;
    return instance;
}
} // namespace

void setReporter(Reporter r)
{
    reporter() = std::move(r);
}

void reportCurrent()
{
    const std::exception_ptr current = std::current_exception();
    if (const Reporter &r = reporter()) {
        r(current);
        return;
    }
    try {
        std::rethrow_exception(current);
    } catch (const EAbort &) {
    } catch (const std::exception &e) {
        qWarning("%s", e.what());
    } catch (...) {
        qWarning("Errore imprevisto");
    }
}

} // namespace DataErrors
