#pragma once

#include <cstddef>
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

    // Starts fetching the first cache lines of the record. Walks over the
    // whole store call it a few records ahead: after an unsorted file was
    // loaded, memory order is not store order, and every record would
    // otherwise wait for memory in turn.
    static constexpr std::size_t kPrefetchAhead = 8;
    void Prefetch() const {
        const char* p = reinterpret_cast<const char*>(this);
        __builtin_prefetch(p);
        __builtin_prefetch(p + 64);
        __builtin_prefetch(p + 128);
    }

  private:
    Record() = default;
    const char* Bytes() const { return reinterpret_cast<const char*>(this + 1); }
    char* Bytes() { return reinterpret_cast<char*>(this + 1); }

    std::uint32_t keyLength = 0;
    std::uint32_t headwordLength = 0;
    std::uint32_t contentLength = 0;
};
