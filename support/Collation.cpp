#include "support/Collation.h"

#include <unicode/ucol.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "support/Cp932.h"

namespace {

struct CollatorCloser {
    void operator()(UCollator* c) const { ucol_close(c); }
};

UCollator* Collator() {
    thread_local std::unique_ptr<UCollator, CollatorCloser> collator = [] {
        UErrorCode err = U_ZERO_ERROR;
        std::unique_ptr<UCollator, CollatorCloser> c(
            ucol_open(CollationLocaleName().c_str(), &err));
        if (U_FAILURE(err)) {
            throw std::runtime_error("ICU collator cannot be opened");
        }
        ucol_setStrength(c.get(), UCOL_IDENTICAL);
        return c;
    }();
    return collator.get();
}

}  // namespace

std::string CollationLocaleName() {
    const char* value = nullptr;
    for (const char* name : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* v = std::getenv(name);
        if (v && *v) {
            value = v;
            break;
        }
    }
    if (!value) {
        return {};
    }
    std::string locale(value);
    // Drop ".encoding" and "@modifier": ICU wants the language and region only.
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale == "C" || locale == "POSIX") {
        return {};
    }
    return locale;
}

namespace {

void AppendKey(UCollator* collator, std::u16string& buffer, std::string_view cp932Text,
               std::string& out) {
    const std::size_t invalid = cp932::DecodeInto(cp932Text, buffer);
    const auto* chars = reinterpret_cast<const UChar*>(buffer.data());
    const auto length = static_cast<int32_t>(buffer.size());
    std::size_t base = out.size();
    // Identical-strength keys of Japanese text run to about 4 bytes a character.
    std::size_t room = buffer.size() * 6 + 16;
    for (;;) {
        out.resize(base + room);
        int32_t need =
            ucol_getSortKey(collator, chars, length, reinterpret_cast<uint8_t*>(out.data() + base),
                            static_cast<int32_t>(room));
        if (static_cast<std::size_t>(need) <= room) {
            // The key ends in a 0 byte and holds no other, so appended raw bytes
            // only ever decide between texts whose collator keys are equal.
            out.resize(base + static_cast<std::size_t>(need));
            break;
        }
        room = static_cast<std::size_t>(need);
    }
    if (invalid > 0) {
        out.append(cp932Text);
    }
}

}  // namespace

void AppendCollationKey(std::string_view cp932Text, std::string& out) {
    thread_local std::u16string buffer;
    AppendKey(Collator(), buffer, cp932Text, out);
    if (buffer.capacity() > 4096) {
        buffer = std::u16string();  // a huge headword once must not hold memory for good
    }
}

CollationKeyMaker::CollationKeyMaker() {
    UErrorCode err = U_ZERO_ERROR;
    collator = ucol_clone(Collator(), &err);
    if (U_FAILURE(err)) {
        throw std::runtime_error("ICU collator cannot be copied");
    }
}

CollationKeyMaker::~CollationKeyMaker() {
    ucol_close(collator);
}

void CollationKeyMaker::Append(std::string_view cp932Text, std::string& out) {
    AppendKey(collator, buffer, cp932Text, out);
}

std::string CollationKey(std::string_view cp932Text) {
    std::string key;
    AppendCollationKey(cp932Text, key);
    return key;
}

bool less_strcoll::operator()(std::string_view a, std::string_view b) const {
    return CollationKey(a) < CollationKey(b);
}
