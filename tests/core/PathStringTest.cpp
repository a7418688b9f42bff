#include "support/PathString.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "support/OsError.h"
#include "support/TextUtil.h"

namespace {

// 予 is 97 5C: its trail byte is the Windows separator.
const std::string kYotei = "\x97\x5C\x92\xE8";  // 予定

struct PathCase {
    std::string path;
    std::size_t nameOffset;
    std::string fileName;
    bool hasExtension;
    std::string withIni;  // after set_extension("ini")
};

template <class Path>
void CheckPaths(const std::vector<PathCase>& cases) {
    for (const PathCase& c : cases) {
        Path p(c.path);
        EXPECT_EQ(p.name_offset(), c.nameOffset) << c.path;
        EXPECT_EQ(p.file_name(), c.fileName) << c.path;
        EXPECT_EQ(p.has_extension(), c.hasExtension) << c.path;
        EXPECT_EQ(static_cast<const std::string&>(p.set_extension("ini")), c.withIni) << c.path;
    }
}

TEST(PathString, WindowsRules) {
    CheckPaths<windows_path_string>({
        {"C:\\memo\\file.txt", 8, "file.txt", true, "C:\\memo\\file.ini"},
        {"C:file.txt", 2, "file.txt", true, "C:file.ini"},
        {"file.txt", 0, "file.txt", true, "file.ini"},
        {"dir\\a:b", 4, "a:b", false, "dir\\a:b.ini"},  // a backslash decides
        {"C:\\memo\\" + kYotei + ".txt", 8, kYotei + ".txt", true, "C:\\memo\\" + kYotei + ".ini"},
        {"C:\\memo\\", 8, "", false, "C:\\memo\\.ini"},
        {"C:\\my.dir\\memo", 10, "memo", false, "C:\\my.dir\\memo.ini"},
        {"C:\\memo\\.profile", 8, ".profile", false, "C:\\memo\\.profile.ini"},
        {"C:\\memo\\a.b.c", 8, "a.b.c", true, "C:\\memo\\a.b.ini"},
        {"C:\\memo\\file.", 8, "file.", true, "C:\\memo\\file.ini"},
        {"C:\\Tools\\memo.exe", 9, "memo.exe", true, "C:\\Tools\\memo.ini"},
        {"C:\\Tools\\memo", 9, "memo", false, "C:\\Tools\\memo.ini"},
        {"C:/memo/file.txt", 2, "/memo/file.txt", true, "C:/memo/file.ini"},
    });
    EXPECT_EQ(windows_path_string("C:\\memo\\" + kYotei).find_last('\\'), 7u);
    EXPECT_EQ(windows_path_string(kYotei).find_last('\\'), std::string::npos);
}

TEST(PathString, WindowsEquality) {
    struct Case {
        std::string a, b;
        bool equal;
    };
    const Case cases[] = {
        {"C:\\Memo\\A.TXT", "c:\\memo\\a.txt", true},
        {"C:\\memo\\a.txt", "C:/memo/a.txt", false},
        {"C:\\memo\\a.txt", "C:\\memo\\a.txt2", false},
        {"C:\\memo\\a.txt", "C:\\memo\\.\\a.txt", false},
        {Sj("Ａ"), Sj("ａ"), false},      // full-width letters keep their case
        {"\x83\x41", "\x83\x61", false},  // a trail byte 'A' is not folded
        {"x\\" + kYotei, "X\\" + kYotei, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(windows_path_string(c.a) == windows_path_string(c.b), c.equal)
            << c.a << " / " << c.b;
    }
}

TEST(PathString, PosixRules) {
    CheckPaths<posix_path_string>({
        {"/home/memo/file.txt", 11, "file.txt", true, "/home/memo/file.ini"},
        {"file.txt", 0, "file.txt", true, "file.ini"},
        {"/memo/", 6, "", false, "/memo/.ini"},
        {"C:\\memo\\file.txt", 0, "C:\\memo\\file.txt", true, "C:\\memo\\file.ini"},
        {"/my.dir/memo", 8, "memo", false, "/my.dir/memo.ini"},
        {"/memo/.profile", 6, ".profile", false, "/memo/.profile.ini"},
        {"/memo/a.b.c", 6, "a.b.c", true, "/memo/a.b.ini"},
        {"/memo/file.", 6, "file.", true, "/memo/file.ini"},
        {"/メモ/予定.txt", 8, "予定.txt", true, "/メモ/予定.ini"},
    });
    EXPECT_TRUE(posix_path_string("/memo/a.txt") == posix_path_string("/memo/a.txt"));
    EXPECT_FALSE(posix_path_string("/memo/A.txt") == posix_path_string("/memo/a.txt"));
    EXPECT_FALSE(posix_path_string("/memo//a.txt") == posix_path_string("/memo/a.txt"));
}

// Runs a test body in another working directory and comes back.
class WorkingDirectory {
  public:
    explicit WorkingDirectory(const std::filesystem::path& dir)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~WorkingDirectory() { std::filesystem::current_path(previous_); }

  private:
    std::filesystem::path previous_;
};

TEST(PathString, ResolveDiskNameMakesExistingPathsAbsolute) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "sub");
    WriteBytes(dir / "memo.txt", "x");
    WorkingDirectory here(dir.path() / "sub");
    const std::string absolute = (std::filesystem::current_path().parent_path() / "memo.txt");

    for (const char* relative : {"../memo.txt", "./../sub/../memo.txt"}) {
        path_string p(relative);
        EXPECT_TRUE(p.resolve_disk_name()) << relative;
        EXPECT_EQ(p, path_string(absolute)) << relative;
    }
    for (const char* missing : {"missing.txt", "../nothing/memo.txt", ""}) {
        path_string p(missing);
        EXPECT_FALSE(p.resolve_disk_name()) << missing;
        EXPECT_EQ(static_cast<const std::string&>(p), missing);
    }
}

TEST(TextUtil, SplitStringAppendsEveryPiece) {
    struct Case {
        std::string text;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {Sj("ＭＳ Ｐゴシック") + ",9,0,1", {Sj("ＭＳ Ｐゴシック"), "9", "0", "1"}},
        {"a,,b,", {"a", "", "b", ""}},
        {"", {""}},
        {",", {"", ""}},
        {"plain", {"plain"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> list = {"kept"};
        EXPECT_EQ(split_string(c.text, ',', list), c.pieces.size() + 1) << c.text;
        std::vector<std::string> expected = {"kept"};
        expected.insert(expected.end(), c.pieces.begin(), c.pieces.end());
        EXPECT_EQ(list, expected) << c.text;
    }
}

TEST(TextUtil, ReplaceAllResumesBehindTheReplacement) {
    struct Case {
        const char* find;
        const char* replacement;
        std::string text;
        std::string result;
    };
    const Case cases[] = {
        {"\n", "\r\n", "a\nb\n", "a\r\nb\r\n"},
        {"\n", "\r\n", "no line feed", "no line feed"},
        {"\n", "\r\n", "", ""},
        {"a", "aa", "aba", "aabaa"},
        {"ab", "", "aabbab", "ab"},
        {"xx", "y", "xxxxx", "yyx"},
    };
    for (const Case& c : cases) {
        std::string s = c.text;
        replace_all(c.find, c.replacement, s);
        EXPECT_EQ(s, c.result) << c.text;
    }
}

TEST(OsError, CarriesTheSystemText) {
    os_error e(ENOENT);
    EXPECT_EQ(e.code, ENOENT);
    EXPECT_STREQ(e.what(), std::strerror(ENOENT));
    const std::runtime_error& base = e;
    EXPECT_STREQ(base.what(), std::strerror(ENOENT));
    EXPECT_NE(std::string(os_error(987654).what()).find("987654"), std::string::npos);
}

}  // namespace
