#pragma once

#include <string>

// The text of message `id` of the program's message table (UTF-8). Unknown
// numbers give the empty text. The reference stays valid until the program ends.
const std::string& Message(int id);
