#include "support/Cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Encoded(std::string_view utf8) {
    std::string out;
    EXPECT_TRUE(cp932::FromUtf8(utf8, out)) << utf8;
    return out;
}

TEST(Cp932, EncodesAndDecodesJapaneseText) {
    struct Case {
        const char* utf8;
        std::string bytes;
    };
    const Case cases[] = {
        {"abc", "abc"},      {"あ", "\x82\xA0"}, {"ア", "\x83\x41"},  // trail byte is 'A'
        {"予", "\x97\x5C"},                                           // trail byte is the backslash
        {"ｶ", "\xB6"},        // half-width katakana is one byte
        {"\\~", "\x5C\x7E"},  // ASCII stays ASCII
        {"①", "\x87\x40"},    // NEC row-13 extension
        {"纊", "\xFA\x5C"},   // IBM extension
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Encoded(c.utf8), c.bytes) << c.utf8;
        std::size_t invalid = 99;
        EXPECT_EQ(cp932::ToUtf8(c.bytes, &invalid), c.utf8);
        EXPECT_EQ(invalid, 0u);
    }
}

// Every ASCII byte, control codes included, is its own character: the memo
// file gives 0x1A a meaning, so no other character may become that byte.
TEST(Cp932, AsciiBytesMapToThemselves) {
    for (int b = 0; b < 0x80; ++b) {
        std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(cp932::ToUtf16(byte), std::u16string(1, static_cast<char16_t>(b))) << b;
        std::string out;
        ASSERT_TRUE(cp932::FromUtf16(std::u16string(1, static_cast<char16_t>(b)), out)) << b;
        EXPECT_EQ(out, byte) << b;
    }
}

TEST(Cp932, MapsTheSevenLookAlikes) {
    struct Case {
        const char* utf8;
        const char* bytes;
    };
    const Case cases[] = {
        {"〜", "\x81\x60"},  // U+301C
        {"‖", "\x81\x61"},   // U+2016
        {"−", "\x81\x7C"},   // U+2212
        {"—", "\x81\x5C"},   // U+2014
        {"¢", "\x81\x91"},   // U+00A2
        {"£", "\x81\x92"},   // U+00A3
        {"¬", "\x81\xCA"},   // U+00AC
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Encoded(c.utf8), c.bytes) << c.utf8;
        EXPECT_EQ(Encoded(std::string("x") + c.utf8 + "y"), std::string("x") + c.bytes + "y");
    }
}

TEST(Cp932, RefusesWhatItCannotHoldAndNamesIt) {
    struct Case {
        std::string utf8;
        char32_t character;
        std::size_t offset;  // in UTF-8 bytes
        const char* named;
    };
    const Case cases[] = {
        {"ab😀", 0x1F600, 2, "U+1F600 (😀)"},
        {"한국", 0xD55C, 0, "U+D55C (한)"},
        {"caf\xC3\xA9", 0xE9, 3, "U+00E9 (é)"},
        {"日本\xEF\xBF\xBD", 0xFFFD, 6, "U+FFFD (\xEF\xBF\xBD)"},
        {"a\xFF", 0xFFFD, 1, "U+FFFD"},  // not UTF-8 at all
    };
    for (const Case& c : cases) {
        std::string out = "untouched?";
        cp932::Unencodable bad;
        EXPECT_FALSE(cp932::FromUtf8(c.utf8, out, &bad)) << c.utf8;
        EXPECT_EQ(bad.character, c.character) << c.utf8;
        EXPECT_EQ(bad.offset, c.offset) << c.utf8;
        try {
            cp932::EncodeUtf8(c.utf8);
            ADD_FAILURE() << "no refusal for " << c.utf8;
        } catch (const cp932::EncodeError& e) {
            EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos) << e.what();
        }
    }
    // UTF-16 offsets count code units, so a character after an emoji is at 3.
    cp932::Unencodable bad;
    std::string out;
    EXPECT_FALSE(cp932::FromUtf16(u"a😀\u00E9", out, &bad));
    EXPECT_EQ(bad.character, 0x1F600u);
    EXPECT_EQ(bad.offset, 1u);
    EXPECT_FALSE(cp932::FromUtf16(u"\xD800x", out, &bad));  // lone surrogate
    EXPECT_EQ(bad.character, 0xD800u);
}

TEST(Cp932, DecoderReplacesAndCountsInvalidBytes) {
    struct Case {
        std::string bytes;
        std::u16string text;
        std::size_t invalid;
    };
    const Case cases[] = {
        {"a\x81", u"a\uFFFD", 1},    // lead byte cut off by the end
        {"\x81 x", u"\uFFFD x", 1},  // lead byte without a trail byte
        {"\x85\x40", u"\uFFFD", 2},  // unassigned double-byte code
        {"\x80\xA0\xFD", u"\uFFFD\uFFFD\uFFFD", 3},
        {"\x82\xA0\xFF\x82\xA0", u"あ\uFFFDあ", 1},
    };
    for (const Case& c : cases) {
        std::size_t invalid = 99;
        EXPECT_EQ(cp932::ToUtf16(c.bytes, &invalid), c.text);
        EXPECT_EQ(invalid, c.invalid);
    }
    // The count belongs to one call, not to the converter's history.
    std::size_t invalid = 99;
    cp932::ToUtf16("ok", &invalid);
    EXPECT_EQ(invalid, 0u);
}

TEST(Cp932, TwoCodesOfOneCharacterDecodeAlike) {
    EXPECT_EQ(cp932::ToUtf16("\xED\x40"), cp932::ToUtf16("\xFA\x5C"));
}

TEST(Cp932, CharacterBoundaries) {
    // ア (83 41) A ャ (83 83) A ｱ (B1) A
    const std::string text =
        "\x83\x41"
        "A"
        "\x83\x83"
        "A"
        "\xB1"
        "A";
    const bool expected[] = {true, false, true, true, false, true, true, true};
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        EXPECT_EQ(cp932::IsCharBoundary(text, pos), expected[pos]) << pos;
    }
}

}  // namespace
