// Reading and writing memo files. The format's CR LF translation and its
// 0x1A end of input are done here, byte for byte, not by a text-mode stream.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <utility>

#include "memo/BroltMemoData.h"
#include "memo/MemoRecord.h"
#include "memo/RecordBatch.h"
#include "support/GrowVector.h"
#include "support/Message.h"
#include "support/OsError.h"
#include "support/Parallel.h"

namespace {

constexpr std::size_t kChunk = 1 << 20;
// Fewer records than this sort faster than a second thread starts.
constexpr std::size_t kParallelSortFrom = 8192;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

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
            std::size_t n = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - start)
                               : end_ - pos_;
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

// Copies n bytes to `out`, every LF as CR LF; returns the end of the copy.
// `out` has room for 2 * n bytes. Eight bytes at a time while they hold no
// LF: memo lines are short, so a memchr call per line would cost more.
char* CopyWithCrLf(const char* s, std::size_t n, char* out) {
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t highs = 0x8080808080808080u;
    const char* end = s + n;
    while (end - s >= 8) {
        std::uint64_t v;
        std::memcpy(&v, s, 8);
        std::uint64_t x = v ^ (ones * '\n');
        std::uint64_t lfs = (x - ones) & ~x & highs;  // exact up to the first LF
        std::memcpy(out, s, 8);
        if (lfs == 0) {
            s += 8;
            out += 8;
            continue;
        }
        // An LF among the eight: the bytes before it are in place already.
        std::size_t before =
            std::endian::native == std::endian::little
                ? static_cast<std::size_t>(std::countr_zero(lfs) / 8)
                : static_cast<std::size_t>(static_cast<const char*>(std::memchr(s, '\n', 8)) - s);
        out += before;
        *out++ = '\r';
        *out++ = '\n';
        s += before + 1;
    }
    for (; s < end; ++s) {
        if (*s == '\n') {
            *out++ = '\r';
        }
        *out++ = *s;
    }
    return out;
}

// Buffered writer that turns every LF into CR LF.
class MemoWriter {
public:
    explicit MemoWriter(int fd) : fd_(fd), buffer_(new char[kBuffer]) {}

    // The text, then one LF unless it is empty or already ends in LF.
    void WriteText(std::string_view text) {
        if (text.empty()) {
            return;
        }
        Write(text);
        if (text.back() != '\n') {
            Write("\n");
        }
    }

    void Write(std::string_view s) {
        while (!s.empty()) {
            // Each byte takes at most two in the buffer.
            std::size_t room = (kBuffer - used_) / 2;
            if (room < s.size() && room < kChunk) {
                Flush();
                room = kBuffer / 2;
            }
            std::size_t n = std::min(room, s.size());
            used_ = static_cast<std::size_t>(CopyWithCrLf(s.data(), n, buffer_.get() + used_) -
                                             buffer_.get());
            s.remove_prefix(n);
        }
    }

    void Flush() {
        std::size_t done = 0;
        while (done < used_) {
            ssize_t n = ::write(fd_, buffer_.get() + done, used_ - done);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throw os_error(errno);
            }
            if (n == 0) {
                throw os_error(EIO);
            }
            done += static_cast<std::size_t>(n);
        }
        used_ = 0;
    }

private:
    static constexpr std::size_t kBuffer = 2 * kChunk;
    int fd_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
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

    LineReader reader(fd.get());
    RecordList recs;
    RecordBatch batch;
    std::string tmplHeadword;
    std::string tmplContent;
    MemoLoadReport stats;
    bool memoSeen = false;
    bool sorted = true;

    auto storeBatch = [&] {
        batch.ComputeKeys();
        for (std::size_t i = 0; i < batch.Count(); ++i) {
            std::string_view key = batch.Key(i);
            if (!recs.items.empty()) {
                Record* last = recs.items.back();
                if (key == last->Key()) {
                    // A duplicate right behind its first record: merge at once.
                    std::string joined(last->Content());
                    joined.append(batch.Content(i));
                    recs.items.back() = Record::Make(key, last->Headword(), joined);
                    Record::Destroy(last);
                    ++stats.duplicates;
                    continue;
                }
                if (key < last->Key()) {
                    sorted = false;
                }
            }
            reserve_one_more(recs.items);
            recs.items.push_back(Record::Make(key, batch.Headword(i), batch.Content(i)));
        }
        batch.Clear();
    };

    std::string& text = batch.Text();
    for (;;) {
        // The headword: the first line that is not empty (separators, however many).
        const std::size_t start = text.size();
        bool more = reader.AppendLine(text);
        while (more && text.size() == start) {
            more = reader.AppendLine(text);
        }
        if (!more) {
            break;
        }
        const std::size_t headwordLength = text.size() - start;
        // The content: lines up to an empty one or the end, each with its LF.
        for (;;) {
            const std::size_t lineStart = text.size();
            if (!reader.AppendLine(text) || text.size() == lineStart) {
                break;
            }
            text.push_back('\n');
        }
        ++stats.records;
        std::string_view headword(text.data() + start, headwordLength);
        if (!memoSeen && headword.starts_with("T>")) {
            tmplHeadword.assign(headword.substr(2));
            tmplContent.assign(text, start + headwordLength);
            stats.templateFound = true;
            text.resize(start);
            continue;
        }
        memoSeen = true;
        batch.Add(start, headwordLength);
        if (batch.Full()) {
            storeBatch();
        }
    }
    if (reader.Failed()) {
        throw std::runtime_error(Message(14));
    }
    storeBatch();
    if (!sorted) {
        stats.duplicates += SortAndMerge(recs.items);
    }
    ReplaceAll(std::move(recs.items), std::move(tmplHeadword), std::move(tmplContent));
    recs.items.clear();
    if (report) {
        *report = stats;
    }
    return stats.duplicates;
}

void BroltMemoData::WriteTo(int fd) const {
    MemoWriter out(fd);
    if (!templateHeadword.empty() || !templateContent.empty()) {
        out.WriteText("T>" + templateHeadword);
        out.WriteText(templateContent);
        out.Write("\n");
    }
    auto writeMemo = [&out](const Record* r) {
        out.WriteText(r->Headword());
        out.WriteText(r->Content());
        out.Write("\n");
    };
    // The reader takes records beginning with "T>" for the template until the
    // first memo; a memo "T>..." that sorts first would turn into the
    // template. The reader does not rely on the order, so another memo leads.
    auto lead = memos.begin();
    while (lead != memos.end() && (*lead)->Headword().starts_with("T>")) {
        ++lead;
    }
    if (lead != memos.begin() && lead != memos.end()) {
        writeMemo(*lead);
    }
    for (auto it = memos.begin(); it != memos.end(); ++it) {
        if (memos.end() - it > static_cast<std::ptrdiff_t>(Record::kPrefetchAhead)) {
            it[Record::kPrefetchAhead]->Prefetch();
        }
        if (it != lead || lead == memos.begin()) {
            writeMemo(*it);
        }
    }
    out.Flush();
}

void BroltMemoData::SaveToFile(const std::string& path) const {
    int raw;
    do {
        raw = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    } while (raw < 0 && errno == EINTR);
    if (raw < 0) {
        throw os_error(errno);
    }
    FileDescriptor fd(raw);
    WriteTo(fd.get());
    if (::close(fd.release()) != 0) {
        throw os_error(errno);
    }
}
