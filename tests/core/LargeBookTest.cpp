// The paths that only large books take: loading in batches whose keys are
// computed on two threads, sorting and merging an unsorted file, the
// writer's buffer boundaries, and the whole-book search. Each is checked
// against a plain reference written here.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "memo/BroltMemoData.h"
#include "support/Collation.h"
#include "support/Cp932.h"

namespace {

// What loading these records must give: contents of collation-equal
// headwords joined in file order under the first spelling, in key order.
Memos Expected(const Memos& records, std::size_t& duplicates) {
    std::map<std::string, std::pair<std::string, std::string>> byKey;
    duplicates = 0;
    for (const auto& [headword, content] : records) {
        auto [it, added] = byKey.try_emplace(CollationKey(headword), headword, content);
        if (!added) {
            it->second.second += content;
            ++duplicates;
        }
    }
    Memos memos;
    for (auto& [key, memo] : byKey) {
        memos.push_back(std::move(memo));
    }
    return memos;
}

std::string FileOf(const Memos& records) {
    std::string file = "T>" + Sj("新しい言葉") + "\r\n" + Sj("読み：") + "\r\n\r\n";
    for (const auto& [headword, content] : records) {
        file += headword + "\r\n";
        for (char c : content) {
            if (c == '\n') {
                file += '\r';
            }
            file += c;
        }
        file += "\r\n";
    }
    return file;
}

// Headwords of many kinds: Japanese, ASCII, bytes that are not CP932, and
// spellings that collate equal (ED40 and FA5C are one character).
Memos Records(std::size_t count, std::mt19937& random) {
    const std::vector<std::string> parts = {
        Sj("メモ"), Sj("かな"), Sj("カナ"), Sj("ｶﾅ"),   Sj("漢字"), Sj("予定"), "apple", "Banana",
        "A",        "\x81",     "\xFF",     "\xED\x40", "\xFA\x5C", Sj("・"),   "T>",    "1"};
    Memos records;
    for (std::size_t i = 0; i < count; ++i) {
        std::string headword;
        do {
            headword += parts[random() % parts.size()];
        } while (random() % 3 != 0);
        if (i == 0 && headword.starts_with("T>")) {
            headword = "first";  // else it would be a template record
        }
        std::string content;
        for (std::size_t lines = random() % 3; lines > 0; --lines) {
            content += parts[random() % parts.size()] + std::to_string(i) + "\n";
        }
        records.emplace_back(std::move(headword), std::move(content));
    }
    return records;
}

TEST(LargeBook, UnsortedFileLoadsSortedAndMerged) {
    std::mt19937 random(7);
    const Memos records = Records(30000, random);  // several batches
    std::size_t duplicates = 0;
    const Memos expected = Expected(records, duplicates);
    ASSERT_GT(duplicates, 1000u);

    TempDir dir;
    WriteBytes(dir / "book.txt", FileOf(records));
    BroltMemoData data;
    EXPECT_EQ(data.LoadFromFile(dir / "book.txt"), duplicates);
    EXPECT_EQ(AllMemos(data), expected);
    EXPECT_EQ(data.TemplateHeadword(), Sj("新しい言葉"));

    // Saved, the book is in key order and loads through the sorted path.
    data.SaveToFile(dir / "saved.txt");
    BroltMemoData again;
    EXPECT_EQ(again.LoadFromFile(dir / "saved.txt"), 0u);
    EXPECT_EQ(AllMemos(again), expected);
}

TEST(LargeBook, SortedFileMergesRunsAcrossBatches) {
    // Runs of one to five equal headwords in key order: some runs cross
    // whatever boundary the reader's batches have.
    std::mt19937 random(11);
    std::size_t ignored = 0;
    const Memos distinct = Expected(Records(12000, random), ignored);
    Memos records;
    for (const auto& [headword, content] : distinct) {
        for (std::size_t n = 1 + random() % 5; n > 0; --n) {
            records.emplace_back(headword, content + "x\n");
        }
    }
    std::size_t duplicates = 0;
    const Memos expected = Expected(records, duplicates);

    TempDir dir;
    WriteBytes(dir / "book.txt", FileOf(records));
    BroltMemoData data;
    EXPECT_EQ(data.LoadFromFile(dir / "book.txt"), duplicates);
    EXPECT_EQ(AllMemos(data), expected);
}

TEST(LargeBook, BothLoadingThreadsCollateAlike) {
    // The thread that loads has its collator already; a second thread must
    // use a copy of it, not one for whatever the environment says by now.
    std::mt19937 random(13);
    const Memos records = Records(20000, random);
    std::size_t duplicates = 0;
    const Memos expected = Expected(records, duplicates);  // opens this thread's collator
    TempDir dir;
    WriteBytes(dir / "book.txt", FileOf(records));

    const std::string saved = std::getenv("LC_ALL") ? std::getenv("LC_ALL") : "";
    setenv("LC_ALL", "en_US.UTF-8", 1);
    BroltMemoData data;
    const std::size_t merged = data.LoadFromFile(dir / "book.txt");
    setenv("LC_ALL", saved.c_str(), 1);
    EXPECT_EQ(merged, duplicates);
    EXPECT_EQ(AllMemos(data), expected);
}

TEST(LargeBook, WriterTranslatesLineEndsAcrossItsBuffer) {
    // Megabytes of content with LF, CR LF and CR at every offset: the writer
    // works eight bytes at a time and flushes a buffer of its own.
    std::mt19937 random(3);
    const char alphabet[] = {'a', '\n', '\r', '\x83', '\x41', '\n', 'b', 'c', 'd', 'e'};
    std::string content;
    for (std::size_t i = 0; i < 5'000'000; ++i) {
        content += alphabet[random() % sizeof alphabet];
    }
    BroltMemoData data;
    data.SetTemplate("t", "x\r\ny");
    data.SetMemo("big", content);
    data.SetMemo("small", "z");

    auto crlf = [](const std::string& text) {
        std::string out;
        for (char c : text) {
            if (c == '\n') {
                out += '\r';
            }
            out += c;
        }
        return text.empty() || text.back() == '\n' ? out : out + "\r\n";
    };
    TempDir dir;
    data.SaveToFile(dir / "book.txt");
    EXPECT_EQ(ReadBytes(dir / "book.txt"), "T>t\r\n" + crlf("x\r\ny") + "\r\nbig\r\n" +
                                               crlf(content) + "\r\nsmall\r\nz\r\n\r\n");
}

TEST(LargeBook, SearchAgreesWithAPlainScan) {
    // Texts from bytes that are lead bytes, trail bytes or both, so that
    // hits at and off character boundaries abound.
    std::mt19937 random(5);
    const char alphabet[] = {'A', '\\', 'a', '\x83', '\x41', '\x5C', '\x97', '\xA0', '\x82', '\n'};
    auto text = [&](std::size_t max) {
        std::string s;
        for (std::size_t n = random() % max; n > 0; --n) {
            s += alphabet[random() % sizeof alphabet];
        }
        return s;
    };
    BroltMemoData data;
    for (int i = 0; i < 300; ++i) {
        data.SetMemo(std::to_string(i) + text(6), text(60));
    }
    auto contains = [](const std::string& hay, const std::string& needle) {
        for (std::size_t p = hay.find(needle); p != std::string::npos;
             p = hay.find(needle, p + 1)) {
            if (cp932::IsCharBoundary(hay, p)) {
                return true;
            }
        }
        return false;
    };
    for (int i = 0; i < 400; ++i) {
        const std::string needle = text(7) + (i % 2 ? "" : "A");
        std::vector<std::string> expected;
        for (const auto& [headword, content] : AllMemos(data)) {
            if (contains(headword, needle) || contains(content, needle)) {
                expected.push_back(headword);
            }
        }
        std::vector<std::string> found;
        data.FindMemos(needle, found);
        ASSERT_EQ(found, expected) << testing::PrintToString(needle);
    }
}

}  // namespace
