#include "support/SelectedString.h"

#include "support/Cp932.h"

namespace {

// Steps from one character start to the next.
std::size_t NextChar(std::string_view text, std::size_t pos) {
    if (cp932::IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) {
        return pos + 2;
    }
    return pos + 1;
}

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

// Where `needle` (ASCII) starts at a character boundary of `text`; npos when
// nowhere. A byte search would also match from a trail byte.
std::size_t FindAsciiText(std::string_view text, std::string_view needle) {
    for (std::size_t pos = 0; pos < text.size(); pos = NextChar(text, pos)) {
        if (text.substr(pos, needle.size()) == needle) {
            return pos;
        }
    }
    return std::string_view::npos;
}

bool HasAsciiChar(std::string_view text, char c) {
    return FindAsciiText(text, std::string_view(&c, 1)) != std::string_view::npos;
}

}  // namespace

std::string SelectedStringToOpen(std::string_view selection) {
    // Trail bytes are never 0x20 or below, so trimming bytes keeps every
    // double-byte character whole (a full-width space stays). Leading line
    // breaks go first: a selection that starts at the end of the line above
    // still opens the text below it.
    std::string_view s = selection;
    while (!s.empty() && IsBlankOrControl(s.front())) {
        s.remove_prefix(1);
    }
    // CR and LF never occur as trail bytes either, so a byte search finds the line end.
    s = s.substr(0, s.find_first_of("\r\n"));
    while (!s.empty() && IsBlankOrControl(s.back())) {
        s.remove_suffix(1);
    }
    std::string result(s);
    // Characters, not bytes: the trail byte of a full-width space is 0x40 ('@')
    // and that of many kanji (表, 予) is 0x5C ('\').
    if (HasAsciiChar(s, '@') && !HasAsciiChar(s, '\\') &&
        FindAsciiText(s, "mailto:") == std::string_view::npos) {
        result.insert(0, "mailto:");
    }
    return result;
}
