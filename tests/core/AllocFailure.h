#pragma once

// Makes one chosen allocation through the global operator new fail with
// std::bad_alloc, so that a test can show an operation either completes or
// changes nothing, wherever it runs out of memory. Disarmed, every allocation
// goes to the real operator new (the sanitizer's one in sanitized builds).

#include <functional>

namespace alloc_failure {

// The allocation after `count` more successful ones fails; -1 disarms.
void FailAfter(long count);
// True when the armed failure has happened since the last FailAfter.
bool Happened();

// Runs `operation` with its 1st, 2nd, 3rd... allocation failing, calling
// `afterFailure` each time it threw std::bad_alloc, until it runs through.
// Returns the number of failure points met (the operation ran once more,
// successfully, after the last one).
int Sweep(const std::function<void()>& operation, const std::function<void()>& afterFailure);

}  // namespace alloc_failure
