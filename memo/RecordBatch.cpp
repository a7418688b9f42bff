#include "memo/RecordBatch.h"

#include "support/Collation.h"
#include "support/Parallel.h"

namespace {

// A batch holds at most this many records or bytes; a second thread pays
// off from a few thousand headwords on.
constexpr std::size_t kBatchRecords = 8192;
constexpr std::size_t kBatchBytes = std::size_t{4} << 20;
constexpr std::size_t kParallelFrom = 2048;

}  // namespace

RecordBatch::RecordBatch() = default;
RecordBatch::~RecordBatch() = default;

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

void RecordBatch::KeysOf(std::size_t from, std::size_t to, CollationKeyMaker* maker) {
    for (std::size_t i = from; i < to; ++i) {
        keys[i].clear();
        if (maker) {
            maker->Append(Headword(i), keys[i]);
        } else {
            AppendCollationKey(Headword(i), keys[i]);
        }
    }
}

void RecordBatch::ComputeKeys() {
    const std::size_t n = items.size();
    if (keys.size() < n) {
        keys.resize(n);
    }
    if (n < kParallelFrom) {
        KeysOf(0, n, nullptr);
        return;
    }
    if (!helperKeys) {
        helperKeys = std::make_unique<CollationKeyMaker>();
    }
    const std::size_t half = n / 2;
    RunOnTwoThreads([this, half] { KeysOf(0, half, helperKeys.get()); },
                    [this, half, n] { KeysOf(half, n, nullptr); });
}
