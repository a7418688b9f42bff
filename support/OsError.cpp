#include "support/OsError.h"

#include <system_error>

os_error::os_error(int errorCode) : std::runtime_error(""), code(errorCode) {
    text = std::system_category().message(code);
    // glibc answers an unknown code with "Unknown error N", which names the
    // number already; guard against an empty text all the same.
    if (text.empty()) {
        text = "Unknown error " + std::to_string(code);
    }
}
