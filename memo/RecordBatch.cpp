#include "memo/RecordBatch.h"

#include <algorithm>

#include "support/Collation.h"

namespace {

// A batch holds this many records, or fewer when they are large.
constexpr std::size_t kBatchRecords = 8192;
constexpr std::size_t kBatchBytes = std::size_t{4} << 20;
// Keys a thread takes at a time: few enough that two threads end together.
constexpr std::size_t kKeyChunk = 64;

}  // namespace

void RecordBatch::Add(std::size_t headwordStart, std::size_t headwordLength) {
    items.push_back({headwordStart, headwordLength, text.size() - headwordStart - headwordLength});
}

bool RecordBatch::Full() const {
    return items.size() >= kBatchRecords || text.size() >= kBatchBytes;
}

void RecordBatch::Clear() {
    text.clear();
    items.clear();
}

void RecordBatch::ComputeKeys() {
    PrepareKeys();
    TakeKeyWork(nullptr);
}

void RecordBatch::PrepareKeys() {
    if (keys.size() < items.size()) {
        keys.resize(items.size());
    }
    nextKey.store(0, std::memory_order_relaxed);
}

void RecordBatch::TakeKeyWork(CollationKeyMaker* maker) {
    const std::size_t n = items.size();
    for (;;) {
        const std::size_t from = nextKey.fetch_add(kKeyChunk, std::memory_order_relaxed);
        if (from >= n) {
            return;
        }
        for (std::size_t i = from; i < std::min(from + kKeyChunk, n); ++i) {
            keys[i].clear();
            if (maker) {
                maker->Append(Headword(i), keys[i]);
            } else {
                AppendCollationKey(Headword(i), keys[i]);
            }
        }
    }
}
