#include <gtest/gtest.h>

#include <string>

#include "support/SelectedString.h"

namespace {

// CP932 bytes of the Japanese characters the rules must treat as characters.
#define FW_SPACE "\x81\x40"  // full-width space: trail byte 0x40 is '@'
#define HYO "\x95\x5C"       // 表: trail byte 0x5C is '\'
#define YO "\x97\x5C"        // 予
#define SATSU "\x8E\x40"     // 察: trail byte '@'
#define EI "\x89\x6D"        // 盈: trail byte 'm'

struct Case {
    const char* selection;
    const char* expected;
};

TEST(SelectedStringTest, TrimsTakesFirstLineAndPrefixesMailAddresses) {
    const Case cases[] = {
        {"user@example.com", "mailto:user@example.com"},
        {"mailto:user@example.com", "mailto:user@example.com"},
        {"MAILTO:user@example.com", "mailto:MAILTO:user@example.com"},
        {"C:\\memo\\a@b.txt", "C:\\memo\\a@b.txt"},
        {"https://example.com/a?b=c", "https://example.com/a?b=c"},
        {"/home/user/memo file.txt", "/home/user/memo file.txt"},
        {" \t\r\nfile.txt \t\r\n", "file.txt"},
        {"first line\r\nsecond@example.com", "first line"},
        {"first line\nsecond@example.com", "first line"},
        {"  \t ", ""},
        {"", ""},
        // A full-width space is no blank to trim and no at sign.
        {FW_SPACE "memo" FW_SPACE, FW_SPACE "memo" FW_SPACE},
        {SATSU, SATSU},
        {FW_SPACE "x@example.jp", "mailto:" FW_SPACE "x@example.jp"},
        // A kanji whose trail byte is 0x5C is no backslash.
        {YO HYO "@example.jp", "mailto:" YO HYO "@example.jp"},
        {"C:\\" YO "\\a@b", "C:\\" YO "\\a@b"},
        // "mailto:" counts only where it starts a character.
        {EI "ailto:a@b", "mailto:" EI "ailto:a@b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SelectedStringToOpen(c.selection), c.expected) << "selection: " << c.selection;
    }
}

}  // namespace
