#pragma once

#include <cstdint>
#include <string_view>

#include "memo/BroltMemoData.h"

// A memo in one heap block: the header, then the collation key, the headword
// and the content bytes. Records never change; a new content means a new one.
class BroltMemoData::Record {
public:
    static Record* Make(std::string_view key, std::string_view headword, std::string_view content);
    static void Destroy(Record* r) noexcept;

    std::string_view Key() const { return {Bytes(), keyLength}; }
    std::string_view Headword() const { return {Bytes() + keyLength, headwordLength}; }
    std::string_view Content() const {
        return {Bytes() + keyLength + headwordLength, contentLength};
    }

private:
    Record() = default;
    const char* Bytes() const { return reinterpret_cast<const char*>(this + 1); }
    char* Bytes() { return reinterpret_cast<char*>(this + 1); }

    std::uint32_t keyLength = 0;
    std::uint32_t headwordLength = 0;
    std::uint32_t contentLength = 0;
};
