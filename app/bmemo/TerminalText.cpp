#include "TerminalText.h"

#include <algorithm>

#include "support/Cp932.h"
#include "support/Message.h"

namespace bmemo {
namespace {

constexpr char kEndOfFile = '\x1A';  // ends a memo file on reading

std::size_t LineAt(std::string_view text, std::size_t offset) {
    return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + offset, '\n'));
}

std::string Line(std::size_t n) {
    return "line " + std::to_string(n);
}

// Refusal texts of CheckMemoHeadword and CheckTemplateHeadword.
void CheckHeadwordBytes(std::string_view headword) {
    if (headword.find_first_of("\r\n") != std::string_view::npos) {
        throw Failure("the headword holds a line break, which a memo file cannot hold");
    }
    if (headword.find(kEndOfFile) != std::string_view::npos) {
        throw Failure("the headword holds the control character U+001A, which ends a memo file");
    }
}

}  // namespace

std::string TerminalText::FromTerminal(std::string_view text, std::string_view what) const {
    if (raw_) {
        return std::string(text);
    }
    std::string out;
    cp932::Unencodable bad;
    if (!cp932::FromUtf8(text, out, &bad)) {
        throw Failure(std::string(what) + " holds " + cp932::DescribeCharacter(bad.character) +
                      ", which CP932 (Shift-JIS) cannot hold");
    }
    return out;
}

std::string TerminalText::ToTerminal(std::string_view cp932) const {
    return raw_ ? std::string(cp932) : cp932::ToUtf8(cp932);
}

std::string TerminalText::ContentFromInput(std::string_view input) const {
    std::string text;
    if (raw_) {
        text = input;
    } else {
        cp932::Unencodable bad;
        if (!cp932::FromUtf8(input, text, &bad)) {
            throw Failure(Line(LineAt(input, bad.offset)) + " of the content holds " +
                          cp932::DescribeCharacter(bad.character) +
                          ", which CP932 (Shift-JIS) cannot hold");
        }
    }
    // CR, LF and 0x1A are never trail bytes, so a byte scan is exact here.
    std::string content;
    content.reserve(text.size() + 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                continue;
            }
            throw Failure(Line(LineAt(text, i)) +
                          " of the content holds a carriage return (CR) that does not end "
                          "the line; a memo file drops it");
        }
        if (text[i] == kEndOfFile) {
            throw Failure(Line(LineAt(text, i)) +
                          " of the content holds the control character U+001A, which ends a "
                          "memo file");
        }
        content.push_back(text[i]);
    }
    if (!content.empty() && content.back() != '\n') {
        content.push_back('\n');
    }
    // Trailing empty lines carry nothing, and the file could not keep them.
    while (content.size() >= 2 && content.ends_with("\n\n")) {
        content.pop_back();
    }
    if (content == "\n") {
        content.clear();
    }
    std::size_t empty = content.starts_with('\n') ? 0 : content.find("\n\n");
    if (empty != std::string::npos) {
        std::size_t line = empty == 0 ? 1 : LineAt(content, empty + 1);
        throw Failure(Message(21) + " (" + Line(line) +
                      " of the content is empty; in a memo file an empty line ends the memo)");
    }
    return content;
}

void CheckMemoHeadword(std::string_view headword) {
    if (headword.empty()) {
        throw Failure(Message(18) + " (the headword is empty)");
    }
    CheckHeadwordBytes(headword);
    if (headword.starts_with("T>")) {
        throw Failure("a headword beginning with \"T>\" would be read back as the template");
    }
}

void CheckTemplateHeadword(std::string_view headword) {
    CheckHeadwordBytes(headword);
}

}  // namespace bmemo
