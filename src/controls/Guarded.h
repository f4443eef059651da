#pragma once

#include "controls/GuardedApplication.h"
#include "data/DatabaseError.h"

#include <exception>
#include <utility>

// Runs a handler and shows any error that escapes it in a message box, as the program's
// general error handler does; the error never travels through Qt's own frames.
template <class Handler> bool runGuarded(Handler&& handler)
{
    try {
        handler();
        return true;
    } catch (const DatabaseError& error) {
        showEscapedError(error.message());
    } catch (const std::exception& error) {
        showEscapedError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

// A slot for connect() that runs the handler guarded:
//     connect(btnSave, &QPushButton::clicked, this, guarded([this] { btnSaveClick(); }));
template <class Handler> auto guarded(Handler handler)
{
    return [handler = std::move(handler)]() { runGuarded(handler); };
}
