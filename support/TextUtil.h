#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Splits `text` at every `separator` byte and appends the pieces (empty ones
// included) to `list`; returns the list's size afterwards.
std::size_t split_string(const std::string& text, char separator, std::vector<std::string>& list);

// Replaces every occurrence of `find` (non-empty) in `s` by `replacement`;
// the search resumes behind each inserted replacement.
void replace_all(const char* find, const char* replacement, std::string& s);
