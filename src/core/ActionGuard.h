#pragma once

#include <functional>

// Runs an action's body and shows any error that escapes it in the application's standard error
// box (titled with the application title); SilentAbort ends the action without a message.
// Every slot wired to a button, menu item or key runs through this, so no exception reaches the
// event loop.
void RunGuarded(const std::function<void()>& body);
