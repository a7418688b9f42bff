#include "memo/BroltMemoData.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "memo/MemoRecord.h"
#include "support/Collation.h"
#include "support/Cp932.h"
#include "support/GrowVector.h"

BroltMemoData::Record* BroltMemoData::Record::Make(std::string_view key, std::string_view headword,
                                                   std::string_view content) {
    constexpr std::size_t limit = std::numeric_limits<std::uint32_t>::max();
    if (key.size() > limit || headword.size() > limit || content.size() > limit) {
        throw std::length_error("memo text too long");
    }
    void* block = ::operator new(sizeof(Record) + key.size() + headword.size() + content.size());
    auto* r = new (block) Record;
    r->keyLength = static_cast<std::uint32_t>(key.size());
    r->headwordLength = static_cast<std::uint32_t>(headword.size());
    r->contentLength = static_cast<std::uint32_t>(content.size());
    char* out = r->Bytes();
    std::memcpy(out, key.data(), key.size());
    std::memcpy(out + key.size(), headword.data(), headword.size());
    std::memcpy(out + key.size() + headword.size(), content.data(), content.size());
    return r;
}

void BroltMemoData::Record::Destroy(Record* r) noexcept {
    if (r) {
        r->~Record();
        ::operator delete(r);
    }
}

BroltMemoData::~BroltMemoData() {
    Clear();
}

std::size_t BroltMemoData::LowerBound(std::string_view key) const {
    auto it = std::lower_bound(memos.begin(), memos.end(), key,
                               [](const Record* r, std::string_view k) { return r->Key() < k; });
    return static_cast<std::size_t>(it - memos.begin());
}

std::size_t BroltMemoData::IndexOf(std::string_view headword) const {
    std::string key = CollationKey(headword);
    std::size_t i = LowerBound(key);
    return i < memos.size() && memos[i]->Key() == key ? i : npos;
}

bool BroltMemoData::Exists(std::string_view headword) const {
    return IndexOf(headword) != npos;
}

std::string_view BroltMemoData::Content(std::string_view headword) const {
    std::size_t i = IndexOf(headword);
    return i == npos ? std::string_view() : memos[i]->Content();
}

std::string_view BroltMemoData::HeadwordAt(std::size_t i) const {
    return memos.at(i)->Headword();
}

std::string_view BroltMemoData::ContentAt(std::size_t i) const {
    return memos.at(i)->Content();
}

void BroltMemoData::SetMemo(std::string_view headword, std::string_view content) {
    std::string key = CollationKey(headword);
    std::size_t i = LowerBound(key);
    if (i < memos.size() && memos[i]->Key() == key) {
        Record* old = memos[i];
        memos[i] = Record::Make(key, old->Headword(), content);
        Record::Destroy(old);
        return;
    }
    reserve_one_more(memos);  // so that the insertion cannot throw after Make
    Record* r = Record::Make(key, headword, content);
    memos.insert(memos.begin() + static_cast<std::ptrdiff_t>(i), r);
}

std::size_t BroltMemoData::EraseMemo(std::string_view headword) {
    std::size_t i = IndexOf(headword);
    if (i == npos) {
        return 0;
    }
    Record::Destroy(memos[i]);
    memos.erase(memos.begin() + static_cast<std::ptrdiff_t>(i));
    return 1;
}

void BroltMemoData::SetTemplate(std::string_view headword, std::string_view content) {
    // Both copied before either changes: a failure leaves the pair as it was.
    std::string newHeadword(headword);
    std::string newContent(content);
    templateHeadword.swap(newHeadword);
    templateContent.swap(newContent);
}

void BroltMemoData::Clear() {
    for (Record* r : memos) {
        Record::Destroy(r);
    }
    memos.clear();
    templateHeadword.clear();
    templateContent.clear();
}

void BroltMemoData::ReplaceAll(std::vector<Record*>&& sorted, std::string&& tmplHeadword,
                               std::string&& tmplContent) {
    Clear();
    memos = std::move(sorted);
    templateHeadword = std::move(tmplHeadword);
    templateContent = std::move(tmplContent);
}

namespace {

// Finds one text in many short ones (a whole-book search looks at a million
// headwords and contents): the Horspool shift table is built once, where
// memmem would set up its own for every memo.
class BoundarySearcher {
  public:
    explicit BoundarySearcher(std::string_view needle) : needle_(needle) {
        skip_.fill(needle.size());
        for (std::size_t i = 0; i + 1 < needle.size(); ++i) {
            skip_[static_cast<unsigned char>(needle[i])] = needle.size() - 1 - i;
        }
    }

    // Whether the needle occurs in `hay` starting at a CP932 character boundary.
    bool FoundIn(std::string_view hay) const {
        const std::size_t m = needle_.size();
        if (m == 0 || hay.size() < m) {
            return m == 0;
        }
        const char last = needle_[m - 1];
        for (std::size_t pos = 0; pos + m <= hay.size();) {
            const char c = hay[pos + m - 1];
            if (c == last && std::memcmp(hay.data() + pos, needle_.data(), m - 1) == 0 &&
                cp932::IsCharBoundary(hay, pos)) {
                return true;
            }
            pos += skip_[static_cast<unsigned char>(c)];
        }
        return false;
    }

  private:
    std::string_view needle_;
    std::array<std::size_t, 256> skip_;
};

}  // namespace

void BroltMemoData::FindMemoIndexes(std::string_view text,
                                    std::vector<std::size_t>& positions) const {
    const BoundarySearcher searcher(text);
    for (std::size_t i = 0; i < memos.size(); ++i) {
        if (i + Record::kPrefetchAhead < memos.size()) {
            memos[i + Record::kPrefetchAhead]->Prefetch();
        }
        const Record* r = memos[i];
        if (text.empty() || searcher.FoundIn(r->Headword()) || searcher.FoundIn(r->Content())) {
            positions.push_back(i);
        }
    }
}

bool BroltMemoData::FindMemos(std::string_view text, std::vector<std::string>& headwords) const {
    if (text.empty()) {
        headwords.reserve(headwords.size() + memos.size());
    }
    std::vector<std::size_t> positions;
    FindMemoIndexes(text, positions);
    for (std::size_t i : positions) {
        headwords.emplace_back(memos[i]->Headword());
    }
    return !headwords.empty();
}
