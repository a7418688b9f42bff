#include "support/Parallel.h"

#include <exception>
#include <system_error>
#include <thread>

void RunOnTwoThreads(const std::function<void()>& first, const std::function<void()>& second) {
    std::exception_ptr failure;
    std::jthread helper;
    try {
        helper = std::jthread([&first, &failure] {
            try {
                first();
            } catch (...) {
                failure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        first();  // no second thread to be had
    }
    try {
        second();
    } catch (...) {
        if (helper.joinable()) {
            helper.join();
        }
        throw;
    }
    if (helper.joinable()) {
        helper.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}
