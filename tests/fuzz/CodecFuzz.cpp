// The CP932 codec and collation keys on any bytes: decoding never fails,
// what decodes cleanly encodes again to text that decodes the same, invalid
// bytes are never written back as a substitute, and character boundaries
// agree with a plain walk over lead and trail bytes.

#include <unicode/ustring.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "support/Collation.h"
#include "support/Cp932.h"

namespace {

std::string Utf8Of(const std::u16string& u) {
    std::string out(u.size() * 3 + 1, '\0');
    int32_t length = 0;
    UErrorCode err = U_ZERO_ERROR;
    u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &length,
                reinterpret_cast<const UChar*>(u.data()), static_cast<int32_t>(u.size()), &err);
    FUZZ_CHECK(U_SUCCESS(err));
    out.resize(static_cast<std::size_t>(length));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    std::size_t invalid16 = 0;
    std::size_t invalid8 = 0;
    const std::u16string u = cp932::ToUtf16(bytes, &invalid16);
    const std::string u8 = cp932::ToUtf8(bytes, &invalid8);
    FUZZ_CHECK(invalid16 == invalid8);
    FUZZ_CHECK(u.size() <= size);
    FUZZ_CHECK(u8 == Utf8Of(u));
    const bool hasReplacement = u.find(u'\uFFFD') != std::u16string::npos;
    FUZZ_CHECK((invalid16 > 0) == hasReplacement);

    std::string encoded;
    cp932::Unencodable bad;
    const bool ok = cp932::FromUtf16(u, encoded, &bad);
    if (invalid16 == 0) {
        FUZZ_CHECK(ok);
        FUZZ_CHECK(cp932::ToUtf16(encoded) == u);
        std::string fromUtf8;
        FUZZ_CHECK(cp932::FromUtf8(u8, fromUtf8));
        FUZZ_CHECK(fromUtf8 == encoded);
        // Two spellings of one text are one headword.
        FUZZ_CHECK(CollationKey(bytes) == CollationKey(encoded));
    } else {
        FUZZ_CHECK(!ok);
        FUZZ_CHECK(bad.character == 0xFFFD);
        FUZZ_CHECK(u[bad.offset] == u'\uFFFD');
        FUZZ_CHECK(u.find(u'\uFFFD') == bad.offset);
    }

    // Arbitrary bytes taken as UTF-8: either encoded or refused, never a crash.
    std::string fromRaw;
    cp932::Unencodable rawBad;
    if (!cp932::FromUtf8(bytes, fromRaw, &rawBad)) {
        FUZZ_CHECK(rawBad.offset < size);
        (void)cp932::DescribeCharacter(rawBad.character);
    }

    // Character boundaries against a walk from the start.
    std::size_t next = 0;
    for (std::size_t pos = 0; pos <= size; ++pos) {
        const bool boundary = pos == next;
        FUZZ_CHECK(cp932::IsCharBoundary(bytes, pos) == boundary);
        if (boundary && pos < size) {
            next += cp932::IsLeadByte(data[pos]) ? 2 : 1;
        }
    }

    const std::string key = CollationKey(bytes);
    FUZZ_CHECK(key == CollationKey(bytes));
    return 0;
}
