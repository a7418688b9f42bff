#include "AllocFailure.h"

#include <dlfcn.h>

#include <cstdlib>
#include <new>

namespace {

long countdown = -1;
bool happened = false;

using NewFunction = void* (*)(std::size_t);

NewFunction RealNew() {
    static NewFunction real = [] {
        auto f = reinterpret_cast<NewFunction>(dlsym(RTLD_NEXT, "_Znwm"));
        if (!f) {
            std::abort();
        }
        return f;
    }();
    return real;
}

// Disarms on every way out of a sweep step, also when a check fails.
struct Disarm {
    ~Disarm() { alloc_failure::FailAfter(-1); }
};

}  // namespace

void* operator new(std::size_t size) {
    if (countdown >= 0 && countdown-- == 0) {
        happened = true;
        throw std::bad_alloc();
    }
    return RealNew()(size);
}

namespace alloc_failure {

void FailAfter(long count) {
    countdown = count;
    happened = false;
}

bool Happened() {
    return happened;
}

int Sweep(const std::function<void()>& operation, const std::function<void()>& afterFailure) {
    for (long n = 0;; ++n) {
        bool failed = false;
        {
            Disarm guard;
            FailAfter(n);
            try {
                operation();
            } catch (const std::bad_alloc&) {
                failed = true;
            }
        }
        if (!failed) {
            return static_cast<int>(n);
        }
        afterFailure();
    }
}

}  // namespace alloc_failure
