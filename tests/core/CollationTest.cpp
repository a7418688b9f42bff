#include "support/Collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

TEST(Collation, JapaneseOrderIsNotByteOrder) {
    less_strcoll less;
    // カ (83 4A) has a greater first byte than き (82 AB); B is below a in ASCII.
    EXPECT_TRUE(less(Sj("カレー"), Sj("きつね")));
    EXPECT_FALSE(less(Sj("きつね"), Sj("カレー")));
    EXPECT_TRUE(less("apple", "Banana"));
    EXPECT_FALSE(less("Banana", "apple"));

    std::vector<std::string> words = {Sj("きつね"), "Banana", Sj("カレー"), "apple"};
    std::sort(words.begin(), words.end(), less);
    EXPECT_EQ(words, (std::vector<std::string>{"apple", "Banana", Sj("カレー"), Sj("きつね")}));
}

TEST(Collation, OnlyTheSameCharactersAreOneHeadword) {
    // Hiragana, katakana, half-width katakana, full-width and plain letter.
    const std::vector<std::string> distinct = {Sj("か"), Sj("カ"), Sj("ｶ"), Sj("Ａ"), "A", "a"};
    for (std::size_t i = 0; i < distinct.size(); ++i) {
        for (std::size_t j = 0; j < distinct.size(); ++j) {
            EXPECT_EQ(CollationKey(distinct[i]) == CollationKey(distinct[j]), i == j)
                << i << " " << j;
        }
    }
    // Two CP932 codes of 纊 are one character, so one headword.
    EXPECT_EQ(CollationKey("\xED\x40"), CollationKey("\xFA\x5C"));
}

TEST(Collation, InvalidBytesAreEqualOnlyWhenTheBytesAre) {
    // All of these decode to text with U+FFFD in the same place.
    const std::vector<std::string> invalid = {"x\x81", "x\x80", "x\xA0", "x\x85\x40", "x\xFF"};
    for (std::size_t i = 0; i < invalid.size(); ++i) {
        EXPECT_EQ(CollationKey(invalid[i]), CollationKey(std::string(invalid[i])));
        for (std::size_t j = i + 1; j < invalid.size(); ++j) {
            EXPECT_NE(CollationKey(invalid[i]), CollationKey(invalid[j])) << i << " " << j;
        }
    }
}

TEST(Collation, LocaleComesFromTheEnvironmentInOrder) {
    struct Case {
        const char* lcAll;
        const char* lcCollate;
        const char* lang;
        const char* locale;
    };
    const Case cases[] = {
        {"ja_JP.UTF-8", "de_DE", "fr_FR", "ja_JP"}, {"", "de_DE.UTF-8@euro", "fr_FR", "de_DE"},
        {nullptr, nullptr, "ja_JP.eucJP", "ja_JP"}, {"C", "ja_JP", nullptr, ""},
        {"POSIX.UTF-8", nullptr, nullptr, ""},      {nullptr, nullptr, nullptr, ""},
    };
    auto saved = [](const char* name) {
        const char* v = std::getenv(name);
        return v ? std::optional<std::string>(v) : std::nullopt;
    };
    const auto all = saved("LC_ALL"), collate = saved("LC_COLLATE"), lang = saved("LANG");
    auto set = [](const char* name, const char* value) {
        value ? setenv(name, value, 1) : unsetenv(name);
    };
    for (const Case& c : cases) {
        set("LC_ALL", c.lcAll);
        set("LC_COLLATE", c.lcCollate);
        set("LANG", c.lang);
        EXPECT_EQ(CollationLocaleName(), c.locale);
    }
    set("LC_ALL", all ? all->c_str() : nullptr);
    set("LC_COLLATE", collate ? collate->c_str() : nullptr);
    set("LANG", lang ? lang->c_str() : nullptr);
}

}  // namespace
