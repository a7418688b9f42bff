#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CollationKeyMaker;

// Memo records read from a file but not yet stored: their texts back to back
// in one buffer. The collation keys of a whole batch are computed at once,
// half of them on a second thread when the batch is large, since keys are
// most of the cost of loading a big book.
class RecordBatch {
public:
    RecordBatch();
    ~RecordBatch();
    RecordBatch(const RecordBatch&) = delete;
    RecordBatch& operator=(const RecordBatch&) = delete;

    // Where the reader appends a record's headword, then its content.
    std::string& Text() { return text; }
    // Takes the record whose headword starts at `headwordStart` in Text() and
    // whose content follows it up to the end of Text().
    void Add(std::size_t headwordStart, std::size_t headwordLength);

    std::size_t Count() const { return items.size(); }
    bool Full() const;
    void Clear();

    // Fills Key(i) for every record.
    void ComputeKeys();

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

    void KeysOf(std::size_t from, std::size_t to, CollationKeyMaker* maker);

    std::string text;
    std::vector<Item> items;
    std::vector<std::string> keys;  // kept across batches: their storage is reused
    std::unique_ptr<CollationKeyMaker> helperKeys;
};
