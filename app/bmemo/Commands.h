#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "TerminalText.h"

namespace bmemo {

// What every command works with.
struct Context {
    TerminalText text;
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

using Arguments = std::vector<std::string>;

struct Command {
    const char* name;
    const char* arguments;  // for the usage text
    std::size_t count;      // number of arguments
    void (*run)(Context& context, const Arguments& args);
};

// Every command, in the order the usage text lists them.
const std::vector<Command>& Commands();

}  // namespace bmemo
