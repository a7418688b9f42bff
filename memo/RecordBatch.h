#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CollationKeyMaker;

// Memo records read from a file but not yet stored: their texts back to back
// in one buffer, and their collation keys once computed. Keys are most of
// the cost of loading a big book, so two threads may compute them together.
class RecordBatch {
  public:
    RecordBatch() = default;
    RecordBatch(const RecordBatch&) = delete;
    RecordBatch& operator=(const RecordBatch&) = delete;

    // Where the reader appends a record's headword, then its content.
    std::string& Text() { return text; }
    // Takes the record whose headword starts at `headwordStart` in Text() and
    // whose content follows it up to the end of Text().
    void Add(std::size_t headwordStart, std::size_t headwordLength);

    std::size_t Count() const { return items.size(); }
    // Enough records for a second thread to pay off.
    bool Full() const;
    void Clear();

    // Fills Key(i) for every record on this thread.
    void ComputeKeys();
    // The same shared out: after PrepareKeys, two threads may call
    // TakeKeyWork at once; each computes keys not yet taken until none are
    // left. The thread that read the batch passes null (its own collator),
    // the other a CollationKeyMaker made on the first, so that both give the
    // same keys. The keys are complete when both calls have returned.
    void PrepareKeys();
    void TakeKeyWork(CollationKeyMaker* maker);

    std::string_view Headword(std::size_t i) const {
        return {text.data() + items[i].headwordStart, items[i].headwordLength};
    }
    std::string_view Content(std::size_t i) const {
        return {text.data() + items[i].headwordStart + items[i].headwordLength,
                items[i].contentLength};
    }
    std::string_view Key(std::size_t i) const { return keys[i]; }

  private:
    struct Item {
        std::size_t headwordStart;
        std::size_t headwordLength;
        std::size_t contentLength;
    };

    std::string text;
    std::vector<Item> items;
    std::vector<std::string> keys;  // kept across batches: their storage is reused
    std::atomic<std::size_t> nextKey{0};
};
