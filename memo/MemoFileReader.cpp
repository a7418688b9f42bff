// Reading memo files. The format's CR dropping and its 0x1A end of input are
// done here, byte for byte, not by a text-mode stream.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "memo/BroltMemoData.h"
#include "memo/FileDescriptor.h"
#include "memo/MemoRecord.h"
#include "memo/RecordBatch.h"
#include "support/Collation.h"
#include "support/GrowVector.h"
#include "support/Message.h"
#include "support/Parallel.h"

namespace {

constexpr std::size_t kChunk = 1 << 20;
// Fewer records than this sort faster than a second thread starts.
constexpr std::size_t kParallelSortFrom = 8192;

// Splits the input into lines: CR bytes dropped wherever they stand, 0x1A
// ending the input, LF ending a line. A last line without LF still counts.
class LineReader {
  public:
    explicit LineReader(int fd) : fd_(fd), buffer_(kChunk, '\0') {}

    // Appends the next line to `out`. False when the input has ended and no
    // line is left.
    bool AppendLine(std::string& out) {
        const std::size_t before = out.size();
        for (;;) {
            if (pos_ == end_) {
                if (ended_ || !Fill()) {
                    return out.size() != before;  // the last line, ended by the input
                }
            }
            const char* start = buffer_.data() + pos_;
            const void* lf = std::memchr(start, '\n', end_ - pos_);
            std::size_t n =
                lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - start) : end_ - pos_;
            AppendWithoutCr(out, start, n);
            pos_ += n;
            if (lf) {
                ++pos_;
                return true;
            }
        }
    }

    bool Failed() const { return failed_; }

  private:
    static void AppendWithoutCr(std::string& line, const char* s, std::size_t n) {
        while (n > 0) {
            const void* cr = std::memchr(s, '\r', n);
            std::size_t take = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - s) : n;
            line.append(s, take);
            if (!cr) {
                return;
            }
            s += take + 1;
            n -= take + 1;
        }
    }

    bool Fill() {
        ssize_t got;
        do {
            got = ::read(fd_, buffer_.data(), buffer_.size());
        } while (got < 0 && errno == EINTR);
        if (got <= 0) {
            failed_ = got < 0;
            ended_ = true;
            return false;
        }
        pos_ = 0;
        end_ = static_cast<std::size_t>(got);
        if (const void* eof = std::memchr(buffer_.data(), 0x1A, end_)) {
            end_ = static_cast<std::size_t>(static_cast<const char*>(eof) - buffer_.data());
            ended_ = true;
        }
        return true;
    }

    int fd_;
    std::string buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool ended_ = false;
    bool failed_ = false;
};

// Owns the records of a store that is being built.
struct RecordList {
    std::vector<BroltMemoData::Record*> items;
    ~RecordList() {
        for (auto* r : items) {
            BroltMemoData::Record::Destroy(r);
        }
    }
};

// Big-endian key bytes from `at` on, eight of them, zero-padded.
std::uint64_t KeyWord(std::string_view key, std::size_t at) {
    std::uint64_t v = 0;
    for (std::size_t i = at; i < at + 8; ++i) {
        v = (v << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    }
    return v;
}

// Brings records into key order, file order among equal keys, and merges
// equal keys into the first one. Returns the number of records merged.
std::size_t SortAndMerge(std::vector<BroltMemoData::Record*>& recs) {
    // The first sixteen key bytes beside the record, so that most comparisons
    // touch no record: Japanese keys often share their first eight.
    struct Item {
        std::uint64_t prefix[2];
        BroltMemoData::Record* rec;
    };
    std::vector<Item> items;
    items.reserve(recs.size());
    for (auto* r : recs) {
        items.push_back({{KeyWord(r->Key(), 0), KeyWord(r->Key(), 8)}, r});
    }
    auto less = [](const Item& a, const Item& b) {
        if (a.prefix[0] != b.prefix[0]) {
            return a.prefix[0] < b.prefix[0];
        }
        if (a.prefix[1] != b.prefix[1]) {
            return a.prefix[1] < b.prefix[1];
        }
        return a.rec->Key() < b.rec->Key();
    };
    if (items.size() < kParallelSortFrom) {
        std::stable_sort(items.begin(), items.end(), less);
    } else {
        // Each half sorted on its own thread, then merged: still stable,
        // since the merge puts equal items of the first half first.
        const auto half = items.begin() + static_cast<std::ptrdiff_t>(items.size() / 2);
        RunOnTwoThreads([&] { std::stable_sort(items.begin(), half, less); },
                        [&] { std::stable_sort(half, items.end(), less); });
        std::inplace_merge(items.begin(), half, items.end(), less);
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        recs[i] = items[i].rec;
    }

    // Equal keys are neighbours now. The prefixes tell most neighbours apart
    // without a look into records, which lie all over memory in file order.
    auto sameKey = [&items](std::size_t i, std::size_t j) {
        return items[i].prefix[0] == items[j].prefix[0] &&
               items[i].prefix[1] == items[j].prefix[1] &&
               items[i].rec->Key() == items[j].rec->Key();
    };
    // Every record stays in `recs` exactly once throughout, so that a failed
    // allocation leaves nothing for the owner to free twice or to leak.
    std::size_t merged = 0;
    std::size_t out = 0;
    for (std::size_t i = 0; i < recs.size();) {
        std::size_t j = i + 1;
        while (j < recs.size() && sameKey(i, j)) {
            ++j;
        }
        BroltMemoData::Record* kept = recs[i];
        if (j - i > 1) {
            std::string content;
            for (std::size_t k = i; k < j; ++k) {
                content.append(recs[k]->Content());
            }
            kept = BroltMemoData::Record::Make(recs[i]->Key(), recs[i]->Headword(), content);
            for (std::size_t k = i; k < j; ++k) {
                BroltMemoData::Record::Destroy(recs[k]);
                recs[k] = nullptr;
            }
            merged += j - i - 1;
        }
        recs[i] = nullptr;
        recs[out++] = kept;
        i = j;
    }
    recs.resize(out);
    return merged;
}

// Reads the records of a memo file in batches and stores them in file order.
class RecordReader {
  public:
    explicit RecordReader(int fd) : lines(fd) {}

    // Reads records into the batch until it is full or the input has ended.
    void ReadBatch(RecordBatch& batch) {
        std::string& text = batch.Text();
        while (!batch.Full()) {
            // The headword: the first line that is not empty (separators, however many).
            const std::size_t start = text.size();
            bool more = lines.AppendLine(text);
            while (more && text.size() == start) {
                more = lines.AppendLine(text);
            }
            if (!more) {
                return;
            }
            const std::size_t headwordLength = text.size() - start;
            // The content: lines up to an empty one or the end, each with its LF.
            for (;;) {
                const std::size_t lineStart = text.size();
                if (!lines.AppendLine(text) || text.size() == lineStart) {
                    break;
                }
                text.push_back('\n');
            }
            ++stats.records;
            std::string_view headword(text.data() + start, headwordLength);
            if (!memoSeen && headword.starts_with("T>")) {
                templateHeadword.assign(headword.substr(2));
                templateContent.assign(text, start + headwordLength);
                stats.templateFound = true;
                text.resize(start);
                continue;
            }
            memoSeen = true;
            batch.Add(start, headwordLength);
        }
    }

    // Stores the records of a batch whose keys are computed, then empties it.
    void StoreBatch(RecordBatch& batch) {
        using Record = BroltMemoData::Record;
        for (std::size_t i = 0; i < batch.Count(); ++i) {
            std::string_view key = batch.Key(i);
            if (!records.items.empty()) {
                Record* last = records.items.back();
                if (key == last->Key()) {
                    // A duplicate right behind its first record: merge at once.
                    std::string joined(last->Content());
                    joined.append(batch.Content(i));
                    records.items.back() = Record::Make(key, last->Headword(), joined);
                    Record::Destroy(last);
                    ++stats.duplicates;
                    continue;
                }
                if (key < last->Key()) {
                    sorted = false;
                }
            }
            reserve_one_more(records.items);
            records.items.push_back(Record::Make(key, batch.Headword(i), batch.Content(i)));
        }
        batch.Clear();
    }

    // Reads and stores every record. A large book goes through two batches:
    // while a second thread computes the keys of one, this thread stores the
    // one before it and reads the one after it, then helps with the keys.
    void ReadAll() {
        RecordBatch batches[2];
        RecordBatch* keying = &batches[0];
        RecordBatch* other = &batches[1];
        ReadBatch(*keying);
        if (!keying->Full()) {
            keying->ComputeKeys();  // a small book: all on this thread
            StoreBatch(*keying);
            return;
        }
        CollationKeyMaker helperKeys;
        bool otherKeyed = false;
        while (keying->Count() > 0) {
            keying->PrepareKeys();
            RunOnTwoThreads([&] { keying->TakeKeyWork(&helperKeys); },
                            [&] {
                                if (otherKeyed) {
                                    StoreBatch(*other);
                                }
                                ReadBatch(*other);
                                keying->TakeKeyWork(nullptr);
                            });
            std::swap(keying, other);
            otherKeyed = true;
        }
        StoreBatch(*other);
    }

    LineReader lines;
    RecordList records;
    std::string templateHeadword;
    std::string templateContent;
    MemoLoadReport stats;
    bool memoSeen = false;  // records beginning with "T>" are the template until then
    bool sorted = true;
};

}  // namespace

std::size_t BroltMemoData::LoadFromFile(const std::string& path, MemoLoadReport* report) {
    int raw;
    do {
        raw = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (raw < 0 && errno == EINTR);
    if (raw < 0) {
        throw std::runtime_error(Message(13));
    }
    FileDescriptor fd(raw);

    RecordReader in(fd.get());
    in.ReadAll();
    if (in.lines.Failed()) {
        throw std::runtime_error(Message(14));
    }
    if (!in.sorted) {
        in.stats.duplicates += SortAndMerge(in.records.items);
    }
    ReplaceAll(std::move(in.records.items), std::move(in.templateHeadword),
               std::move(in.templateContent));
    in.records.items.clear();
    if (report) {
        *report = in.stats;
    }
    return in.stats.duplicates;
}
