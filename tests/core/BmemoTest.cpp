// The real bmemo executable, run on memo books in a temporary directory.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "support/Message.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Result {
    int status = -1;  // exit status; -1 when killed by a signal
    std::string out;
    std::string err;
};

// A memo book with a template, Japanese headwords out of collation order, and
// アメ, whose first byte pair ends in 'A' (0x83 0x41).
const std::string kBookUtf8 =
    "T>連絡先\n電話:\nメール:\n\n"
    "きつね\n森の動物。\n\n"
    "apple\n赤い果物。\n\n"
    "カレー\n火曜日に作る。\n辛口。\n\n"
    "Banana\nyellow, Aisle 5\n\n"
    "アメ\nあめ\n\n";

struct Row {
    std::vector<std::string> args;
    std::string out;  // expected standard output, exactly
    int status;
    std::string err = "";  // a text standard error must hold; none at all when empty
};

class Bmemo : public ::testing::Test {
  protected:
    void SetUp() override { WriteBytes(book, Sj(kBookUtf8)); }

    // Runs bmemo with `args` and `input` on standard input.
    Result Run(const std::vector<std::string>& args, const std::string& input = "") {
        const std::string in = io / "in", out = io / "out", err = io / "err";
        WriteBytes(in, input);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        std::vector<char*> argv = {const_cast<char*>(BMEMO_PATH)};
        for (const std::string& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        pid_t pid;
        Result r;
        int rc = posix_spawn(&pid, BMEMO_PATH, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) {
            ADD_FAILURE() << "cannot start " << BMEMO_PATH;
            return r;
        }
        int wstatus = 0;
        waitpid(pid, &wstatus, 0);
        r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
        r.out = ReadBytes(out);
        r.err = ReadBytes(err);
        return r;
    }

    void CheckRows(const std::vector<Row>& rows) {
        for (const Row& row : rows) {
            std::string shown;
            for (const std::string& a : row.args) {
                shown += " '" + a + "'";
            }
            SCOPED_TRACE("bmemo" + shown);
            Result r = Run(row.args);
            EXPECT_EQ(r.status, row.status);
            EXPECT_EQ(r.out, row.out);
            if (row.err.empty()) {
                EXPECT_EQ(r.err, "");
            } else {
                EXPECT_NE(r.err.find(row.err), std::string::npos) << r.err;
            }
        }
    }

    std::set<std::string> Files() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    TempDir dir;
    TempDir io;
    std::string book = dir / "memo.txt";
    std::string backup = dir / "memo.bak";
};

TEST_F(Bmemo, ReadingCommands) {
    const std::string missing = dir / "missing.txt";
    CheckRows({
        {{"list", book}, "apple\nBanana\nアメ\nカレー\nきつね\n", 0},
        {{"show", book, "カレー"}, "火曜日に作る。\n辛口。\n", 0},
        {{"show", book, "\xEF\xBD\xB6\xEF\xBE\x9A-"}, "", 1, "ｶﾚ-"},
        {{"show", book, "カ"}, "", 1, "\"カ\""},
        {{"show", book, "😀"}, "", 1, "U+1F600 (😀)"},
        {{"find", book, "A"}, "Banana\n", 0},  // not inside アメ
        {{"find", book, "ア"}, "アメ\n", 0},
        {{"find", book, "果"}, "apple\n", 0},
        {{"find", book, "absent"}, "", 0},
        {{"find", book, ""}, "apple\nBanana\nアメ\nカレー\nきつね\n", 0},
        {{"template", book}, "連絡先\n電話:\nメール:\n", 0},
        {{"check", book},
         "records read: 6\nmemos: 5\nduplicates merged: 0\ntemplate: found\n"
         "bytes not valid CP932: 0\n",
         0},
        {{"--raw", "show", book, Sj("カレー")}, Sj("火曜日に作る。\n辛口。\n"), 0},
        {{"list", "--raw", book}, Sj("apple\nBanana\nアメ\nカレー\nきつね\n"), 0},
        {{"list", missing}, "", 1, Message(13)},
        {{"list", dir.path().string()}, "", 1, Message(14)},
        {{"resave", missing, dir / "out.txt"}, "", 1, Message(13)},
        {{"resave", book, dir / "no-dir/out.txt"}, "", 1, Message(11)},
    });
    EXPECT_EQ(Files(), (std::set<std::string>{"memo.txt"}));
}

TEST_F(Bmemo, UsageErrorsAndHelp) {
    CheckRows({
        {{}, "", 2, "Usage:"},
        {{"list"}, "", 2, "Usage:"},
        {{"list", book, "extra"}, "", 2, "Usage:"},
        {{"frobnicate", book}, "", 2, "Usage:"},
        {{"--bogus", "list", book}, "", 2, "Usage:"},
    });
    Result help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* word : {"list", "show", "find", "template", "check", "resave", "set", "delete",
                             "set-template", "--raw", ".bak", "Exit status"}) {
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    }
    // A text that begins with '-' follows "--".
    EXPECT_EQ(Run({"find", "--", book, "-x"}).status, 0);
}

TEST_F(Bmemo, DuplicatesWarnAndInvalidBytesAreCounted) {
    WriteBytes(book, "A\nx\n\nB\n\x81\n\nA\ny\n\x85\x40\n");
    Result list = Run({"list", book});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "A\nB\n");
    EXPECT_NE(list.err.find(Message(20)), std::string::npos) << list.err;

    Result check = Run({"check", book});
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.out,
              "records read: 3\nmemos: 2\nduplicates merged: 1\ntemplate: none\n"
              "bytes not valid CP932: 3\n");
    EXPECT_EQ(Run({"show", book, "B"}).out, "\xEF\xBF\xBD\n");  // U+FFFD
    EXPECT_EQ(Run({"--raw", "show", book, "A"}).out, "x\ny\n\x85\x40\n");

    // resave writes the merged book, which reads back without duplicates.
    const std::string out = dir / "out.txt";
    EXPECT_EQ(Run({"resave", book, out}).status, 0);
    EXPECT_EQ(ReadBytes(out), "A\r\nx\r\ny\r\n\x85\x40\r\n\r\nB\r\n\x81\r\n\r\n");
}

TEST_F(Bmemo, RefusalsWriteNothing) {
    struct Refusal {
        std::vector<std::string> args;  // the book's path follows the command
        std::string input;
        std::string err;
    };
    const Refusal refusals[] = {
        {{"set", "x"}, "ok\n😀\n", "line 2 of the content holds U+1F600 (😀)"},
        {{"set", "x"}, "한국\n", "U+D55C (한)"},
        {{"set", "x"}, "caf\xC3\xA9\n", "U+00E9 (é)"},
        {{"set", "x"}, "\xEF\xBF\xBD\n", "U+FFFD"},
        {{"set", "😀"}, "ok\n", "U+1F600 (😀)"},
        {{"set", "x"}, "a\n\nb\n", Message(21)},
        {{"set", "x"}, "\na\n", Message(21)},
        {{"set", "x"}, "a\r\n\r\nb", Message(21)},
        {{"set", ""}, "ok\n", Message(18)},
        {{"set", "a\nb"}, "ok\n", "line break"},
        {{"set", "a\rb"}, "ok\n", "line break"},
        {{"set", "T>x"}, "ok\n", "\"T>\""},
        {{"set", "x"}, "a\rb\n", "carriage return"},
        {{"set", "x"},
         "a\x1A"
         "b\n",
         "U+001A"},
        {{"set", "a\x1A"}, "ok\n", "U+001A"},
        {{"delete", "nothing"}, "", "\"nothing\""},
        {{"set-template", "a\nb"}, "ok\n", "line break"},
        {{"set-template", "t"}, "na\xC3\xAFve\n", "U+00EF"},
        {{"set-template", "t"}, "a\n\nb\n", Message(21)},
    };
    const std::string before = ReadBytes(book);
    for (const Refusal& r : refusals) {
        std::vector<std::string> args = {r.args[0], book, r.args[1]};
        SCOPED_TRACE(r.args[0] + " '" + r.args[1] + "'");
        Result result = Run(args, r.input);
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find(r.err), std::string::npos) << result.err;
        EXPECT_EQ(ReadBytes(book), before);
        EXPECT_EQ(Files(), (std::set<std::string>{"memo.txt"}));
    }
}

// The file format takes a first record beginning with "T>" for the template,
// so a deletion that leaves only such memos must not be saved.
TEST_F(Bmemo, RefusesABookThatWouldNotReadBack) {
    const std::string bytes = "T>tmpl\nt\n\n0\nzero\n\nT>x\ny\n\n";
    WriteBytes(book, bytes);
    EXPECT_EQ(Run({"list", book}).out, "0\nT>x\n");
    Result r = Run({"delete", book, "0"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("T>x"), std::string::npos) << r.err;
    EXPECT_EQ(ReadBytes(book), bytes);
    EXPECT_EQ(Run({"resave", book, dir / "out.txt"}).status, 0);  // "0" still comes first
    EXPECT_EQ(Files(), (std::set<std::string>{"memo.txt", "out.txt"}));
}

TEST_F(Bmemo, SetOnAMissingFileCreatesIt) {
    const std::string fresh = dir / "new.txt";
    Result r = Run({"set", fresh, "新語"}, "一行目\r\n二行目〜");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out + r.err, "");
    // CR LF came in as LF, the last line got its line end, 〜 became 81 60.
    EXPECT_EQ(ReadBytes(fresh), Sj("新語\r\n一行目\r\n二行目") + "\x81\x60\r\n\r\n");
    EXPECT_EQ(Files(), (std::set<std::string>{"memo.txt", "new.txt"}));

    EXPECT_EQ(Run({"set", dir / "no-dir/new.txt", "x"}, "x\n").status, 1);
    EXPECT_EQ(Run({"delete", dir / "gone.txt", "x"}).status, 1);
    EXPECT_EQ(Files(), (std::set<std::string>{"memo.txt", "new.txt"}));
}

TEST_F(Bmemo, EditsKeepTheBackup) {
    const std::string original = ReadBytes(book);

    // Replace a memo; empty lines at the end of the input are dropped.
    Result r = Run({"set", book, "カレー"}, "中辛。\n\n\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(ReadBytes(backup), original);
    EXPECT_EQ(Run({"show", book, "カレー"}).out, "中辛。\n");
    EXPECT_EQ(Run({"list", book}).out, "apple\nBanana\nアメ\nカレー\nきつね\n");

    // Add one: it takes its collation place. The backup is the previous save.
    std::string previous = ReadBytes(book);
    EXPECT_EQ(Run({"set", book, "かさ"}, "").status, 0);
    EXPECT_EQ(ReadBytes(backup), previous);
    EXPECT_EQ(Run({"list", book}).out, "apple\nBanana\nアメ\nかさ\nカレー\nきつね\n");
    EXPECT_EQ(Run({"show", book, "かさ"}).out, "");

    previous = ReadBytes(book);
    EXPECT_EQ(Run({"delete", book, "apple"}).status, 0);
    EXPECT_EQ(ReadBytes(backup), previous);
    EXPECT_EQ(Run({"list", book}).out, "Banana\nアメ\nかさ\nカレー\nきつね\n");

    EXPECT_EQ(Run({"set-template", book, ""}, "件名:\r\n").status, 0);
    EXPECT_EQ(Run({"template", book}).out, "\n件名:\n");
    EXPECT_TRUE(ReadBytes(book).starts_with("T>\r\n" + Sj("件名:") + "\r\n\r\n"));

    // --raw takes CP932 bytes as they are, on the command line and on input.
    EXPECT_EQ(Run({"--raw", "set", book, Sj("生")}, "\x81\x60\x85\x40\n").status, 0);
    EXPECT_EQ(Run({"--raw", "show", book, Sj("生")}).out, "\x81\x60\x85\x40\n");
    EXPECT_EQ(Files(), (std::set<std::string>{"memo.txt", "memo.bak"}));
}

}  // namespace
