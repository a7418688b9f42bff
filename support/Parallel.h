#pragma once

#include <functional>

// Runs `first` on a second thread and `second` on this one, and returns when
// both have ended. Where no thread can be had, runs both here in turn. An
// exception from either passes on (the first one's, when both throw). The two
// must not touch the same data unless only to read it.
void RunOnTwoThreads(const std::function<void()>& first, const std::function<void()>& second);
