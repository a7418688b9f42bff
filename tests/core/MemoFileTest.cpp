#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "memo/BroltMemoData.h"
#include "support/Message.h"

namespace {

using namespace std::string_literals;

class MemoFile : public ::testing::Test {
  protected:
    // Loads `bytes` as a memo file into `data`; returns the duplicate count.
    std::size_t Load(const std::string& bytes, MemoLoadReport* report = nullptr) {
        WriteBytes(file, bytes);
        return data.LoadFromFile(file, report);
    }

    TempDir dir;
    std::string file = dir / "memo.txt";
    BroltMemoData data;
};

TEST_F(MemoFile, WorkedExampleByteForByte) {
    data.SetTemplate("Contact", "Phone:\nMail:\n");
    data.SetMemo("banana", "yellow\r\nlong");  // as the edit dialog gives it
    data.SetMemo("apple", "red fruit\n");      // as loaded from a file
    data.SaveToFile(file);
    EXPECT_EQ(ReadBytes(file),
              "T>Contact\r\n"
              "Phone:\r\n"
              "Mail:\r\n"
              "\r\n"
              "apple\r\n"
              "red fruit\r\n"
              "\r\n"
              "banana\r\n"
              "yellow\r\r\n"
              "long\r\n"
              "\r\n");

    BroltMemoData back;
    EXPECT_EQ(back.LoadFromFile(file), 0u);
    EXPECT_EQ(back.TemplateHeadword(), "Contact");
    EXPECT_EQ(back.TemplateContent(), "Phone:\nMail:\n");
    EXPECT_EQ(AllMemos(back), (Memos{{"apple", "red fruit\n"}, {"banana", "yellow\nlong\n"}}));

    // Once every content is LF-terminated, a save reproduces its input exactly.
    const std::string file2 = dir / "again.txt";
    back.SaveToFile(file2);
    BroltMemoData third;
    third.LoadFromFile(file2);
    const std::string file3 = dir / "third.txt";
    third.SaveToFile(file3);
    EXPECT_EQ(ReadBytes(file3), ReadBytes(file2));
}

TEST_F(MemoFile, WriterEdgeCasesReadBack) {
    data.SaveToFile(file);
    EXPECT_EQ(ReadBytes(file), "");  // empty store, empty template: zero bytes

    data.SetTemplate("", "only content\n");
    data.SetMemo("empty", "");
    data.SetMemo(std::string("nul\0byte", 8), std::string("a\0b\n", 4));
    data.SetMemo("sub", "x\x1Ay\n");  // written as it is
    data.SaveToFile(file);
    EXPECT_EQ(ReadBytes(file),
              "T>\r\nonly content\r\n\r\n"
              "empty\r\n\r\n"
              "nul\0byte\r\na\0b\r\n\r\n"
              "sub\r\nx\x1Ay\r\n\r\n"s);
    BroltMemoData back;
    back.LoadFromFile(file);
    EXPECT_EQ(back.TemplateHeadword(), "");
    EXPECT_EQ(back.TemplateContent(), "only content\n");
    EXPECT_EQ(AllMemos(back), (Memos{{"empty", ""},
                                     {std::string("nul\0byte", 8), std::string("a\0b\n", 4)},
                                     {"sub", "x\n"}}));
}

TEST_F(MemoFile, MemoBeginningWithTemplateMarkerStaysAMemo) {
    // "T>x" sorts before "z"; written first, it would read back as the template.
    EXPECT_EQ(Load("T>tmpl\r\nbody\r\n\r\nz\r\n\r\nT>x\r\nkept\r\n"), 0u);
    data.SaveToFile(file);
    BroltMemoData back;
    back.LoadFromFile(file);
    EXPECT_EQ(back.TemplateHeadword(), "tmpl");
    EXPECT_EQ(back.TemplateContent(), "body\n");
    EXPECT_EQ(AllMemos(back), AllMemos(data));
    EXPECT_EQ(back.Count(), 2u);
}

// Each row: the file's bytes and the store the reader must make of them.
struct ReadCase {
    const char* name;
    std::string bytes;
    std::string templateHeadword;
    std::string templateContent;
    Memos memos;
    std::size_t duplicates;
    std::size_t records;
    bool templateFound;
};

TEST_F(MemoFile, ReaderRules) {
    const std::string fa5c = "\xFA\x5C", ed40 = "\xED\x40";  // one character, two codes
    const ReadCase cases[] = {
        {"zero bytes", "", "", "", {}, 0, 0, false},
        {"empty lines only", "\r\n\n\r\r\n\n", "", "", {}, 0, 0, false},
        {"bare marker", "T>", "", "", {}, 0, 1, true},
        {"template", "T>Head\r\none\r\ntwo\r\n\r\n", "Head", "one\ntwo\n", {}, 0, 1, true},
        {"last template before the first memo wins",
         "T>a\nx\n\nT>b\ny\n\nm\n\nT>c\nz\n",
         "b",
         "y\n",
         {{"m", ""}, {"T>c", "z\n"}},
         0,
         4,
         true},
        {"duplicates merged in file order, counted",
         "A\nx\n\nB\nb\n\nA\ny\n\n\nA\nz\n",
         "",
         "",
         {{"A", "x\ny\nz\n"}, {"B", "b\n"}},
         2,
         4,
         false},
        {"duplicates side by side", "A\nx\n\nA\ny\n", "", "", {{"A", "x\ny\n"}}, 1, 2, false},
        {"collation-equal headwords are duplicates",
         fa5c + "\n1\n\nz\n\n" + ed40 + "\n2\n",
         "",
         "",
         {{"z", ""}, {fa5c, "1\n2\n"}},
         1,
         3,
         false},
        {"CR anywhere is dropped",
         "a\rb\r\nc\r\r\nd\re\n\r\r\nf\r",
         "",
         "",
         {{"ab", "c\nde\n"}, {"f", ""}},
         0,
         2,
         false},
        {"0x1A ends the input mid-line", "a\nx\x1Ay\nb\n", "", "", {{"a", "x\n"}}, 0, 1, false},
        {"no final line end keeps the line", "a\nx", "", "", {{"a", "x\n"}}, 0, 1, false},
        {"last line a headword", "a\nx\n\nb", "", "", {{"a", "x\n"}, {"b", ""}}, 0, 2, false},
        {"empty lines anywhere",
         "\n\n\na\n\n\n\nb\nc\n\n\n",
         "",
         "",
         {{"a", ""}, {"b", "c\n"}},
         0,
         2,
         false},
        {"NUL bytes kept",
         std::string("a\0b\nc\0\n", 7),
         "",
         "",
         {{std::string("a\0b", 3), std::string("c\0\n", 3)}},
         0,
         1,
         false},
        {"store order is collation order",
         Sj("きつね\n\nカレー\n\nBanana\n\napple\n"),
         "",
         "",
         {{"apple", ""}, {"Banana", ""}, {Sj("カレー"), ""}, {Sj("きつね"), ""}},
         0,
         4,
         false},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        data.SetMemo("stale", "from before");
        MemoLoadReport report;
        EXPECT_EQ(Load(c.bytes, &report), c.duplicates);
        EXPECT_EQ(data.TemplateHeadword(), c.templateHeadword);
        EXPECT_EQ(data.TemplateContent(), c.templateContent);
        EXPECT_EQ(AllMemos(data), c.memos);
        EXPECT_EQ(report.duplicates, c.duplicates);
        EXPECT_EQ(report.records, c.records);
        EXPECT_EQ(report.templateFound, c.templateFound);
    }
}

// Line ends, CR runs and 0x1A where the reader's 1 MiB buffer is refilled.
TEST_F(MemoFile, ReaderAcrossBufferBoundaries) {
    const std::size_t chunk = 1 << 20;
    std::string bytes;
    Memos expected;
    for (int i = 0; bytes.size() < chunk - 1000; ++i) {
        std::string headword = "h" + std::to_string(100000 + i);
        bytes += headword + "\r\n" + std::string(200, 'c') + "\r\n\r\n";
        expected.emplace_back(headword, std::string(200, 'c') + "\n");
    }
    bytes += "tail\r\n";
    const std::size_t pad = chunk - 1 - bytes.size();
    bytes += std::string(pad, 'x');
    ASSERT_EQ(bytes.size(), chunk - 1);  // its CR is the chunk's last byte, its LF the next
    bytes +=
        "\r\ny\r\r\r\nend\x1A"
        "ignored\r\n";
    expected.emplace_back("tail", std::string(pad, 'x') + "\ny\nend\n");

    EXPECT_EQ(Load(bytes), 0u);
    EXPECT_EQ(AllMemos(data), expected);
}

TEST_F(MemoFile, UnreadableFileLeavesTheStoreIntact) {
    data.SetTemplate("T", "t\n");
    data.SetMemo("kept", "yes\n");
    struct Case {
        std::string path;
        int message;
    };
    const Case cases[] = {
        {dir / "missing.txt", 13},
        {dir / "missing-dir/memo.txt", 13},
        {dir.path().string(), 14},  // opens, but reading a directory fails
    };
    for (const Case& c : cases) {
        try {
            data.LoadFromFile(c.path);
            ADD_FAILURE() << "no failure for " << c.path;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(e.what(), Message(c.message)) << c.path;
        }
        EXPECT_EQ(AllMemos(data), (Memos{{"kept", "yes\n"}}));
        EXPECT_EQ(data.TemplateHeadword(), "T");
        EXPECT_EQ(data.TemplateContent(), "t\n");
    }
}

// Lowers the file-size limit and ignores SIGXFSZ for one scope, so that a
// write beyond the limit fails with EFBIG instead of killing the process.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGXFSZ, &ignore, &savedAction_);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        sigaction(SIGXFSZ, &savedAction_, nullptr);
    }

  private:
    rlimit saved_;
    struct sigaction savedAction_;
};

TEST_F(MemoFile, FailingWritesAreReported) {
    for (int i = 0; i < 100; ++i) {
        data.SetMemo("memo " + std::to_string(i), std::string(100, 'x') + "\n");
    }
    {
        FileSizeLimit limit(4096);  // the first write is cut short, the next fails
        try {
            data.SaveToFile(file);
            ADD_FAILURE() << "a write beyond the file-size limit was reported as success";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), std::strerror(EFBIG));
        }
    }
    struct Case {
        std::string path;
        int error;
    };
    std::filesystem::create_directory(dir / "a-directory");
    const Case cases[] = {
        {dir / "missing-dir/memo.txt", ENOENT},
        {dir / "a-directory", EISDIR},
    };
    for (const Case& c : cases) {
        try {
            data.SaveToFile(c.path);
            ADD_FAILURE() << "no failure for " << c.path;
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), std::strerror(c.error)) << c.path;
        }
    }
}

}  // namespace
