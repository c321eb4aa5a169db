#pragma once

#include "dataerrors.h"

#include <QApplication>
#include <QObject>
#include <QString>
#include <exception>
#include <functional>
#include <type_traits>

// The application's default error report: an exception never unwinds through
// the event loop; its message is shown in an error box and the window that
// raised it stays as it was.
namespace Guard {

QString messageOf(const std::exception &e);
// Runs the action; answers false when it raised (after showing the error;
// an EAbort shows nothing).
bool run(const std::function<void()> &action);

namespace detail {

// A handler wrapped so that it runs inside run(). A lambda keeps its own
// parameter list, so Qt hands it only the signal's first arguments it takes;
// a generic one gets them all.
template <typename F, typename Call> struct Guarded
{
    static auto wrap(F f)
    {
        return [f = std::move(f)](const auto &...args) { run([&] { f(args...); }); };
    }
};
template <typename F, typename C, typename R, typename... A> struct Guarded<F, R (C::*)(A...) const>
{
    static auto wrap(F f)
    {
        return [f = std::move(f)](A... args) { run([&] { f(args...); }); };
    }
};
template <typename F, typename = void> struct CallOf
{
    using type = void;
};
template <typename F> struct CallOf<F, std::void_t<decltype(&F::operator())>>
{
    using type = decltype(&F::operator());
};

} // namespace detail

// Every window wires its controls through these: a failing handler is shown
// where it happened instead of unwinding through Qt's signal code.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection connect(Sender *sender, Signal signal, const QObject *context,
                                Handler handler)
{
    using F = std::decay_t<Handler>;
    return QObject::connect(
        sender, signal, context,
        detail::Guarded<F, typename detail::CallOf<F>::type>::wrap(std::move(handler)));
}

// The same for a member function of the receiver, which takes the signal's
// first arguments.
template <typename Sender, typename Signal, typename T, typename R, typename... A>
QMetaObject::Connection connect(Sender *sender, Signal signal, T *object, R (T::*handler)(A...))
{
    return QObject::connect(sender, signal, object, [object, handler](A... args) {
        run([&] { (object->*handler)(args...); });
    });
}

} // namespace Guard

// Also installs the report of failures raised inside the datasets.
class TApplication : public QApplication
{
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
