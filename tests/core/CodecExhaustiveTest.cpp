// The decoder keeps a table of the converter's results for speed: every one
// and two byte sequence must still decode exactly as ICU's own converter
// decodes it, and anything ICU rejects must be counted as invalid.

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <memory>
#include <string>

#include "support/Cp932.h"

namespace {

struct Closer {
    void operator()(UConverter* c) const { ucnv_close(c); }
};

// ICU's strict result, or nothing when it reports an error.
bool IcuDecodes(UConverter* conv, const std::string& bytes, std::u16string& out) {
    UErrorCode err = U_ZERO_ERROR;
    out.assign(bytes.size() + 1, u'\0');
    ucnv_resetToUnicode(conv);
    int32_t n =
        ucnv_toUChars(conv, reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                      bytes.data(), static_cast<int32_t>(bytes.size()), &err);
    out.resize(U_SUCCESS(err) ? static_cast<std::size_t>(n) : 0);
    return U_SUCCESS(err);
}

TEST(CodecExhaustive, EveryShortSequenceDecodesAsIcuDoes) {
    UErrorCode err = U_ZERO_ERROR;
    std::unique_ptr<UConverter, Closer> conv(ucnv_open("windows-31j", &err));
    ASSERT_TRUE(U_SUCCESS(err));
    ucnv_setToUCallBack(conv.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);

    int valid = 0;
    std::u16string expected;
    for (unsigned first = 0; first < 256; ++first) {
        for (int length = 1; length <= 2; ++length) {
            for (unsigned second = 0; second < (length == 2 ? 256u : 1u); ++second) {
                std::string bytes(1, static_cast<char>(first));
                if (length == 2) {
                    bytes += static_cast<char>(second);
                }
                std::size_t invalid = 0;
                const std::u16string got = cp932::ToUtf16(bytes, &invalid);
                if (!IcuDecodes(conv.get(), bytes, expected)) {
                    EXPECT_GT(invalid, 0u) << first << " " << second;
                    continue;
                }
                ++valid;
                // CP932 maps every ASCII byte to itself (ICU's table rotates
                // three control codes; the codec undoes that).
                for (std::size_t i = 0; i < bytes.size(); ++i) {
                    auto b = static_cast<unsigned char>(bytes[i]);
                    if (b < 0x80 && expected.size() == bytes.size()) {
                        expected[i] = b;
                    }
                }
                ASSERT_EQ(invalid, 0u) << first << " " << second;
                ASSERT_EQ(got, expected) << first << " " << second;
            }
        }
    }
    EXPECT_GT(valid, 20000);
}

}  // namespace
