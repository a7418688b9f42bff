#pragma once

// The one codec between memo texts (CP932 byte strings) and Unicode. Built on
// ICU's "windows-31j" converter; nothing else in the program converts text.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace cp932 {

// Decodes CP932 bytes. Never fails: every byte sequence that is not valid
// CP932 becomes U+FFFD. When `invalidBytes` is given it receives the number of
// bytes that were not valid.
std::u16string ToUtf16(std::string_view bytes, std::size_t* invalidBytes = nullptr);
// The same into `out`, whose storage is reused (no allocation per text on hot
// paths); returns the number of bytes that were not valid.
std::size_t DecodeInto(std::string_view bytes, std::u16string& out);
std::string ToUtf8(std::string_view bytes, std::size_t* invalidBytes = nullptr);

// The first character of a text that CP932 cannot hold.
struct Unencodable {
    char32_t character = 0;
    std::size_t offset = 0;  // in code units of the input (UTF-16 or UTF-8 bytes)
};

// Encodes to CP932. The usual JIS/CP932 look-alikes (U+301C, U+2016, U+2212,
// U+2014, U+00A2, U+00A3, U+00AC) become their CP932 codes; any other character
// that CP932 cannot hold makes the call return false with `bad` filled, and
// `out` is then unspecified. No substitute is ever written.
bool FromUtf16(std::u16string_view text, std::string& out, Unencodable* bad = nullptr);
bool FromUtf8(std::string_view text, std::string& out, Unencodable* bad = nullptr);

// "U+1F600 (😀)": how a message names a character that cannot be held.
std::string DescribeCharacter(char32_t c);

// Thrown by EncodeUtf8 when the text holds a character CP932 cannot hold.
class EncodeError : public std::runtime_error {
  public:
    explicit EncodeError(Unencodable where);
    Unencodable where;
};

// FromUtf8 that throws EncodeError instead of returning false.
std::string EncodeUtf8(std::string_view text);

// True when `pos` is a character boundary of CP932 text `text` (a lead byte
// and its trail byte are one character).
bool IsCharBoundary(std::string_view text, std::size_t pos);

inline bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace cp932
