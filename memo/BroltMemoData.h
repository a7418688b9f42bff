#pragma once

// The in-memory memo book: every memo (headword and content, CP932 bytes) in
// the collation order of the user's locale, and the template pair.
//
// A million memos must load, sort and search fast and fit in little more
// memory than their file, so each memo is one allocation holding its
// collation key, headword and content, and the store is a vector of them
// sorted by key: lookups compare cached keys as bytes, and views index it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What LoadFromFile met, for reports such as `bmemo check`.
struct MemoLoadReport {
    std::size_t records = 0;     // records read, template records included
    std::size_t duplicates = 0;  // records merged into an earlier memo
    bool templateFound = false;
};

class BroltMemoData {
  public:
    BroltMemoData() = default;
    ~BroltMemoData();
    BroltMemoData(const BroltMemoData&) = delete;
    BroltMemoData& operator=(const BroltMemoData&) = delete;

    bool Exists(std::string_view headword) const;
    // The stored content; empty for a headword that is not stored. The view
    // stays valid until that memo is changed or erased, or the store cleared.
    std::string_view Content(std::string_view headword) const;
    // Replaces the content of a stored headword (its bytes stay as first
    // stored) or inserts a new memo at its collation place.
    void SetMemo(std::string_view headword, std::string_view content);
    std::size_t EraseMemo(std::string_view headword);

    const std::string& TemplateHeadword() const { return templateHeadword; }
    const std::string& TemplateContent() const { return templateContent; }
    void SetTemplate(std::string_view headword, std::string_view content);

    // Appends, in store order, every headword whose headword or content
    // holds `text` (all of them for an empty text). A match begins at a
    // character boundary; bytes compare exactly. True when the list is
    // non-empty afterwards.
    bool FindMemos(std::string_view text, std::vector<std::string>& headwords) const;
    // The same, as store positions.
    void FindMemoIndexes(std::string_view text, std::vector<std::size_t>& positions) const;

    void Clear();

    // Replaces the whole store by a memo file; returns the duplicate count.
    // On failure nothing changes and a runtime_error with message 13 (cannot
    // open) or 14 (read error) is raised.
    std::size_t LoadFromFile(const std::string& path, MemoLoadReport* report = nullptr);
    // Creates or truncates the file and writes the store. Any failure raises
    // an os_error with the system's text; none is reported as success.
    void SaveToFile(const std::string& path) const;
    // Writes the memo file to an open descriptor; raises os_error on failure.
    // With `toDisk` (the caller flushes the file to disk next) the device
    // starts writing while the rest is still being produced.
    void WriteTo(int fd, bool toDisk = false) const;

    // Positional access in store order, for views over large books.
    std::size_t Count() const { return memos.size(); }
    std::string_view HeadwordAt(std::size_t i) const;
    std::string_view ContentAt(std::size_t i) const;
    // Position of the memo with this headword (collation-equal), or npos.
    std::size_t IndexOf(std::string_view headword) const;
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // One allocation per memo: collation key, headword, content.
    class Record;

  private:
    // First position whose key is not less than `key`.
    std::size_t LowerBound(std::string_view key) const;
    void ReplaceAll(std::vector<Record*>&& sorted, std::string&& tmplHeadword,
                    std::string&& tmplContent);

    std::vector<Record*> memos;  // owned, ascending by collation key, unique keys
    std::string templateHeadword;
    std::string templateContent;
};
