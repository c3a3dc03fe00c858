#pragma once

#include <functional>

class QWidget;

// Acts on the next modal dialog that an action opens: call before the action; the callback runs
// with the dialog once it is the active modal widget (it must close the dialog). Fails the test
// when no dialog shows within the timeout.
void WhenModalShows(const std::function<void(QWidget* dialog)>& act, int timeoutMs = 5000);
