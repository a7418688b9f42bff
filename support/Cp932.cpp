#include "support/Cp932.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <array>
#include <cstdio>
#include <memory>
#include <vector>

namespace cp932 {
namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// Counts the bytes it replaces, so callers can tell a decoded U+FFFD from a
// valid character.
void ReplaceInvalid(const void* context, UConverterToUnicodeArgs* args, const char*, int32_t length,
                    UConverterCallbackReason reason, UErrorCode* err) {
    if (reason > UCNV_IRREGULAR) {
        return;  // reset, close, clone: nothing to substitute
    }
    auto* counter = static_cast<std::size_t*>(const_cast<void*>(context));
    *counter += static_cast<std::size_t>(length);
    *err = U_ZERO_ERROR;
    const UChar replacement = 0xFFFD;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, err);
}

// One converter per thread, opened on first use.
UConverter* Converter(std::size_t*& invalidCounter) {
    thread_local std::size_t counter = 0;
    thread_local ConverterPtr conv = [] {
        UErrorCode err = U_ZERO_ERROR;
        ConverterPtr c(ucnv_open("windows-31j", &err));
        if (U_FAILURE(err)) {
            throw std::runtime_error("ICU converter windows-31j is not available");
        }
        ucnv_setToUCallBack(c.get(), ReplaceInvalid, &counter, nullptr, nullptr, &err);
        ucnv_setFromUCallBack(c.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
        return c;
    }();
    invalidCounter = &counter;
    return conv.get();
}

// ICU's table follows the IBM PC habit of rotating three control codes
// (0x1A -> U+001C -> 0x1C -> U+007F -> 0x7F -> U+001A); CP932 maps every ASCII
// byte to itself. Undone on both sides, or U+001C would be written as 0x1A,
// which ends a memo file on reading.
char16_t FromIcuControl(char16_t c) {
    switch (c) {
        case 0x001C:
            return 0x001A;
        case 0x007F:
            return 0x001C;
        case 0x001A:
            return 0x007F;
        default:
            return c;
    }
}

char16_t ToIcuControl(char16_t c) {
    switch (c) {
        case 0x001A:
            return 0x001C;
        case 0x001C:
            return 0x007F;
        case 0x007F:
            return 0x001A;
        default:
            return c;
    }
}

char16_t LookAlike(char16_t c) {
    switch (c) {
        case 0x301C:
            return 0xFF5E;  // WAVE DASH -> FULLWIDTH TILDE
        case 0x2016:
            return 0x2225;  // DOUBLE VERTICAL LINE -> PARALLEL TO
        case 0x2212:
            return 0xFF0D;  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
        case 0x2014:
            return 0x2015;  // EM DASH -> HORIZONTAL BAR
        case 0x00A2:
            return 0xFFE0;  // CENT SIGN -> FULLWIDTH CENT SIGN
        case 0x00A3:
            return 0xFFE1;  // POUND SIGN -> FULLWIDTH POUND SIGN
        case 0x00AC:
            return 0xFFE2;  // NOT SIGN -> FULLWIDTH NOT SIGN
        default:
            return c;
    }
}

// Encodes one code point alone; true when CP932 holds it.
bool EncodesAlone(UConverter* conv, const char16_t* s, int32_t len) {
    char buf[8];
    UErrorCode err = U_ZERO_ERROR;
    ucnv_resetFromUnicode(conv);
    ucnv_fromUChars(conv, buf, sizeof buf, reinterpret_cast<const UChar*>(s), len, &err);
    return U_SUCCESS(err);
}

}  // namespace

namespace {

// Decodes with the converter; returns the number of invalid bytes.
std::size_t DecodeWithIcu(std::string_view bytes, std::u16string& out) {
    std::size_t* counter = nullptr;
    UConverter* conv = Converter(counter);
    *counter = 0;
    out.resize(bytes.size() + 1);
    UErrorCode err = U_ZERO_ERROR;
    ucnv_resetToUnicode(conv);
    int32_t n =
        ucnv_toUChars(conv, reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                      bytes.data(), static_cast<int32_t>(bytes.size()), &err);
    if (U_FAILURE(err)) {
        throw std::runtime_error(std::string("CP932 decoding failed: ") + u_errorName(err));
    }
    out.resize(static_cast<std::size_t>(n));
    for (char16_t& c : out) {
        c = FromIcuControl(c);
    }
    return *counter;
}

// The converter's own result for every character that decodes cleanly, read
// from it once: a million headwords decode without a converter call each.
// A text with anything else in it (an invalid byte, a lead byte at the end)
// goes through the converter whole, so the result is the converter's always.
class DecodeTable {
  public:
    static constexpr char16_t kNone = 0xFFFF;  // no CP932 byte sequence maps to it

    DecodeTable() {
        single.fill(kNone);
        pair.fill(kNone);
        std::u16string out;
        for (unsigned b = 0; b < 256; ++b) {
            const char s[] = {static_cast<char>(b)};
            if (DecodeWithIcu({s, 1}, out) == 0 && out.size() == 1) {
                single[b] = out[0];
            }
        }
        for (unsigned lead = 0; lead < 256; ++lead) {
            if (single[lead] != kNone) {
                continue;  // a character of its own is never a lead byte
            }
            for (unsigned trail = 0; trail < 256; ++trail) {
                const char s[] = {static_cast<char>(lead), static_cast<char>(trail)};
                if (DecodeWithIcu({s, 2}, out) == 0 && out.size() == 1) {
                    pair[lead << 8 | trail] = out[0];
                }
            }
        }
    }

    // False when some character is not in the table; `out` is then unspecified.
    bool Decode(std::string_view bytes, std::u16string& out) const {
        out.resize(bytes.size());
        const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
        const std::size_t size = bytes.size();
        std::size_t n = 0;
        for (std::size_t i = 0; i < size;) {
            char16_t c = single[s[i]];
            if (c != kNone) {
                ++i;
            } else if (i + 1 < size && (c = pair[s[i] << 8 | s[i + 1]]) != kNone) {
                i += 2;
            } else {
                return false;
            }
            out[n++] = c;
        }
        out.resize(n);
        return true;
    }

  private:
    std::array<char16_t, 256> single;
    std::array<char16_t, 65536> pair;  // lead byte << 8 | trail byte
};

}  // namespace

std::size_t DecodeInto(std::string_view bytes, std::u16string& out) {
    static const DecodeTable table;
    return table.Decode(bytes, out) ? 0 : DecodeWithIcu(bytes, out);
}

std::u16string ToUtf16(std::string_view bytes, std::size_t* invalidBytes) {
    std::u16string out;
    std::size_t invalid = DecodeInto(bytes, out);
    if (invalidBytes) {
        *invalidBytes = invalid;
    }
    return out;
}

std::string ToUtf8(std::string_view bytes, std::size_t* invalidBytes) {
    std::u16string u = ToUtf16(bytes, invalidBytes);
    std::string out;
    out.reserve(u.size() * 3);
    for (std::size_t i = 0; i < u.size();) {
        UChar32 c;
        U16_NEXT(u.data(), i, u.size(), c);
        char buf[4];
        int32_t n = 0;
        U8_APPEND_UNSAFE(reinterpret_cast<uint8_t*>(buf), n, c);
        out.append(buf, static_cast<std::size_t>(n));
    }
    return out;
}

bool FromUtf16(std::u16string_view text, std::string& out, Unencodable* bad) {
    std::size_t* counter = nullptr;
    UConverter* conv = Converter(counter);
    std::u16string mapped(text);
    for (char16_t& c : mapped) {
        c = ToIcuControl(LookAlike(c));
    }
    // Lone surrogates cannot be encoded; report them before ICU would.
    for (std::size_t i = 0; i < mapped.size();) {
        std::size_t start = i;
        UChar32 c;
        U16_NEXT(mapped.data(), i, mapped.size(), c);
        if (U_IS_SURROGATE(c)) {
            if (bad) {
                *bad = {static_cast<char32_t>(c), start};
            }
            return false;
        }
    }
    out.assign(mapped.size() * 2 + 2, '\0');
    UErrorCode err = U_ZERO_ERROR;
    ucnv_resetFromUnicode(conv);
    int32_t n = ucnv_fromUChars(conv, out.data(), static_cast<int32_t>(out.size()),
                                reinterpret_cast<const UChar*>(mapped.data()),
                                static_cast<int32_t>(mapped.size()), &err);
    if (U_SUCCESS(err)) {
        out.resize(static_cast<std::size_t>(n));
        return true;
    }
    // Find the first character that stopped the conversion.
    for (std::size_t i = 0; i < mapped.size();) {
        std::size_t start = i;
        UChar32 c;
        U16_NEXT(mapped.data(), i, mapped.size(), c);
        if (!EncodesAlone(conv, mapped.data() + start, static_cast<int32_t>(i - start))) {
            if (bad) {
                UChar32 original;
                std::size_t j = start;
                U16_NEXT(text.data(), j, text.size(), original);
                *bad = {static_cast<char32_t>(original), start};
            }
            return false;
        }
    }
    throw std::runtime_error(std::string("CP932 encoding failed: ") + u_errorName(err));
}

bool FromUtf8(std::string_view text, std::string& out, Unencodable* bad) {
    std::u16string u;
    u.reserve(text.size());
    std::vector<std::size_t> offsets;  // UTF-8 offset of each UTF-16 unit
    offsets.reserve(text.size());
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t start = i;
        UChar32 c;
        U8_NEXT(s, i, text.size(), c);
        if (c < 0) {
            // Not UTF-8 at all: cannot be held either.
            if (bad) {
                *bad = {0xFFFD, start};
            }
            return false;
        }
        if (U_IS_BMP(c)) {
            u.push_back(static_cast<char16_t>(c));
            offsets.push_back(start);
        } else {
            u.push_back(static_cast<char16_t>(U16_LEAD(c)));
            u.push_back(static_cast<char16_t>(U16_TRAIL(c)));
            offsets.push_back(start);
            offsets.push_back(start);
        }
    }
    Unencodable where;
    if (FromUtf16(u, out, &where)) {
        return true;
    }
    if (bad) {
        *bad = {where.character, offsets[where.offset]};
    }
    return false;
}

std::string DescribeCharacter(char32_t c) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    std::string s = code;
    if (c >= 0x20 && c != 0x7F && !U_IS_SURROGATE(c) && c <= 0x10FFFF) {
        char buf[4];
        int32_t n = 0;
        U8_APPEND_UNSAFE(reinterpret_cast<uint8_t*>(buf), n, static_cast<UChar32>(c));
        s += " (";
        s.append(buf, static_cast<std::size_t>(n));
        s += ")";
    }
    return s;
}

EncodeError::EncodeError(Unencodable w)
    : std::runtime_error("CP932 (Shift-JIS) cannot hold the character " +
                         DescribeCharacter(w.character)),
      where(w) {}

std::string EncodeUtf8(std::string_view text) {
    std::string out;
    Unencodable bad;
    if (!FromUtf8(text, out, &bad)) {
        throw EncodeError(bad);
    }
    return out;
}

bool IsCharBoundary(std::string_view text, std::size_t pos) {
    // Bytes in the lead range just before pos pair up from the last byte that
    // cannot be a lead byte; an odd run means pos is a trail byte.
    std::size_t run = 0;
    while (run < pos && IsLeadByte(static_cast<unsigned char>(text[pos - run - 1]))) {
        ++run;
    }
    return run % 2 == 0;
}

}  // namespace cp932
