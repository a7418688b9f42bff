#pragma once

#include <stdexcept>
#include <string>

// An operating-system error code with the system's text for it.
class os_error : public std::runtime_error {
  public:
    explicit os_error(int code);
    const char* what() const noexcept override { return text.c_str(); }

    int code;
    std::string text;
};
