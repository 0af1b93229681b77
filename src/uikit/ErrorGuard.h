#pragma once

#include <QObject>
#include <functional>
#include <type_traits>

// Every user action (button, key, menu, leaving a box) runs through here: an
// error raised by the data layer stops the action where it arose and is shown
// in the standard error box; the window stays as it was at that point, and no
// exception ever crosses the Qt event loop. Returns false after an error.
bool runGuarded(const std::function<void()> &action);

// QObject::connect for a user action, run through runGuarded.
template <typename Sender, typename Signal, typename Action>
QMetaObject::Connection connectGuarded(Sender *sender, Signal signal, QObject *context, Action action)
{
    return QObject::connect(sender, signal, context, [action](auto &&...args) {
        runGuarded([&] {
            if constexpr (std::is_invocable_v<Action, decltype(args)...>)
                action(args...);
            else
                action(); // the handler does not need the signal's arguments
        });
    });
}
