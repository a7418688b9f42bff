// The memo file reader on any bytes: it must neither crash nor leak, its
// store must hold what the format allows, and what the writer makes of it
// must read back to the same book and be written again byte for byte.

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "memo/BroltMemoData.h"
#include "support/Cp932.h"

namespace {

// An in-memory file with a path the reader can open.
class MemoryFile {
  public:
    MemoryFile() : fd(memfd_create("memo", 0)), path("/proc/self/fd/" + std::to_string(fd)) {
        FUZZ_CHECK(fd >= 0);
    }
    void Set(const std::uint8_t* data, std::size_t size) {
        FUZZ_CHECK(ftruncate(fd, 0) == 0);
        FUZZ_CHECK(pwrite(fd, data, size, 0) == static_cast<ssize_t>(size));
    }
    std::string Bytes() const {
        std::string bytes(static_cast<std::size_t>(lseek(fd, 0, SEEK_END)), '\0');
        FUZZ_CHECK(pread(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()));
        return bytes;
    }
    void Write(const BroltMemoData& data) {
        FUZZ_CHECK(ftruncate(fd, 0) == 0);
        FUZZ_CHECK(lseek(fd, 0, SEEK_SET) == 0);
        data.WriteTo(fd);
    }

    int fd;
    std::string path;
};

bool SameBook(const BroltMemoData& a, const BroltMemoData& b) {
    if (a.Count() != b.Count() || a.TemplateHeadword() != b.TemplateHeadword() ||
        a.TemplateContent() != b.TemplateContent()) {
        return false;
    }
    for (std::size_t i = 0; i < a.Count(); ++i) {
        if (a.HeadwordAt(i) != b.HeadwordAt(i) || a.ContentAt(i) != b.ContentAt(i)) {
            return false;
        }
    }
    return true;
}

// Loaded content: lines that each end in LF, none empty, no CR.
bool LoadedContent(std::string_view text) {
    if (text.find('\r') != std::string_view::npos || text.find("\n\n") != std::string_view::npos) {
        return false;
    }
    return text.empty() || (text.front() != '\n' && text.back() == '\n');
}

// Does `needle` occur in `hay` at a character boundary? Walks the text
// character by character, independently of the store's search.
bool NaiveContains(std::string_view hay, std::string_view needle) {
    for (std::size_t i = 0; i + needle.size() <= hay.size();) {
        if (hay.compare(i, needle.size(), needle) == 0) {
            return true;
        }
        i += cp932::IsLeadByte(static_cast<unsigned char>(hay[i])) && i + 1 < hay.size() ? 2 : 1;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile input;
    static MemoryFile output;
    input.Set(data, size);

    BroltMemoData book;
    MemoLoadReport report;
    std::size_t duplicates = book.LoadFromFile(input.path, &report);
    FUZZ_CHECK(duplicates == report.duplicates);
    FUZZ_CHECK(report.records >= book.Count() + duplicates);
    FUZZ_CHECK(LoadedContent(book.TemplateContent()));
    FUZZ_CHECK(book.TemplateHeadword().find_first_of("\r\n") == std::string::npos);
    for (std::size_t i = 0; i < book.Count(); ++i) {
        std::string_view headword = book.HeadwordAt(i);
        FUZZ_CHECK(!headword.empty());
        FUZZ_CHECK(headword.find_first_of(std::string_view("\r\n\x1a", 3)) == std::string::npos);
        FUZZ_CHECK(LoadedContent(book.ContentAt(i)));
        FUZZ_CHECK(book.IndexOf(headword) == i);  // sorted, unique, found again
    }

    // Written and read again: the same book, unless the first memo would be
    // taken for the template (a limit of the format).
    output.Write(book);
    const std::string written = output.Bytes();
    if (book.Count() == 0 || book.HeadwordAt(0).substr(0, 2) != "T>") {
        BroltMemoData again;
        FUZZ_CHECK(again.LoadFromFile(output.path) == 0);
        FUZZ_CHECK(SameBook(book, again));
        output.Write(again);
        FUZZ_CHECK(output.Bytes() == written);
    }

    // The search matches at character boundaries only.
    if (size > 0) {
        std::string_view needle(reinterpret_cast<const char*>(data),
                                std::min<std::size_t>(1 + data[0] % 3, size));
        std::vector<std::size_t> hits;
        book.FindMemoIndexes(needle, hits);
        std::size_t next = 0;
        for (std::size_t i = 0; i < book.Count(); ++i) {
            bool expected = NaiveContains(book.HeadwordAt(i), needle) ||
                            NaiveContains(book.ContentAt(i), needle);
            bool found = next < hits.size() && hits[next] == i;
            FUZZ_CHECK(expected == found);
            next += found;
        }
        FUZZ_CHECK(next == hits.size());
    }
    return 0;
}
