#pragma once

#include "guard.h"

#include <QObject>
#include <type_traits>

// Connects a control's signal to a handler that runs under the application's
// default error report: what the handler raises is shown in an error box and
// the window stays as it was. The handler takes the signal's arguments or
// none.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection collegaProtetto(Sender *sender, Signal signal, QObject *context,
                                        Handler handler)
{
    return QObject::connect(sender, signal, context, [handler](auto &&...args) {
        Guard::run([&] {
            if constexpr (std::is_invocable_v<Handler, decltype(args)...>)
                handler(args...);
            else
                handler();
        });
    });
}
