// The recently used files: list rules, menu entries and their settings.

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "app/RecentUsedFilesMenu.h"
#include "support/IniFile.h"

namespace {

class RecentFilesTest : public ::testing::Test {
  protected:
    RecentFilesTest()
        : ini(QFile::encodeName(dir.path()).toStdString() + "/settings.ini"),
          files(
              &menu, Anchor(), [this](QAction* item) { clicked.push_back(item); }, 5) {}

    QAction* Anchor() {
        menu.addAction("保存(&S)");
        QAction* anchor = menu.addAction("設定(&P)...");
        menu.addSeparator();
        menu.addAction("終了(&X)");
        return anchor;
    }

    // The menu as text: "-" for a separator.
    std::vector<std::string> Items() const {
        std::vector<std::string> items;
        for (QAction* a : menu.actions()) {
            items.push_back(a->isSeparator() ? "-" : a->text().toStdString());
        }
        return items;
    }

    std::vector<std::string> Listed() const {
        std::vector<std::string> paths;
        for (std::size_t i = 0; i < files.Count(); ++i) {
            paths.push_back(files.FileAt(i));
        }
        return paths;
    }

    void WriteSection(const std::vector<std::pair<std::string, std::string>>& keys) {
        for (const auto& [key, value] : keys) {
            ini.WriteString("RecentUsedFiles", key, value);
        }
    }

    QTemporaryDir dir;
    IniFile ini;
    QMenu menu;
    std::vector<QAction*> clicked;
    RecentUsedFilesMenu files;
};

using Strings = std::vector<std::string>;

}  // namespace

TEST_F(RecentFilesTest, EntriesFollowTheAnchorMostRecentFirst) {
    EXPECT_EQ(Items(), (Strings{"保存(&S)", "設定(&P)...", "-", "終了(&X)"}));
    files.AddFile("/home/u/a.txt");
    EXPECT_EQ(Items(),
              (Strings{"保存(&S)", "設定(&P)...", "-", "&1 /home/u/a.txt", "-", "終了(&X)"}));
    files.AddFile("/home/u/b.txt");
    EXPECT_EQ(Items(), (Strings{"保存(&S)", "設定(&P)...", "-", "&1 /home/u/b.txt",
                                "&2 /home/u/a.txt", "-", "終了(&X)"}));
    // A click reports the entry; FileOf tells its path.
    menu.actions()[4]->trigger();
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(std::string(files.FileOf(clicked[0])), "/home/u/a.txt");
    EXPECT_EQ(std::string(files.FileOf(menu.actions()[1])), "");
    EXPECT_EQ(std::string(files.FileAt(5)), "");
}

TEST_F(RecentFilesTest, AListedPathMovesToTheFrontAndTheSixthDropsTheOldest) {
    for (const char* p : {"/a", "/b", "/c", "/d", "/e"}) {
        files.AddFile(p);
    }
    files.AddFile("/c");
    EXPECT_EQ(Listed(), (Strings{"/c", "/e", "/d", "/b", "/a"}));
    // Paths here are compared byte for byte: other letter case is another file.
    files.AddFile("/C");
    EXPECT_EQ(Listed(), (Strings{"/C", "/c", "/e", "/d", "/b"}));
    EXPECT_EQ(Items().size(), 4u + 1 + 5);
    EXPECT_EQ(Items()[3], "&1 /C");
    EXPECT_EQ(Items()[7], "&5 /b");
}

TEST_F(RecentFilesTest, AnAmpersandInAPathIsShownAsItself) {
    files.AddFile("/R&D/memo.txt");
    EXPECT_EQ(Items()[3], "&1 /R&&D/memo.txt");
}

TEST_F(RecentFilesTest, ReadFromIniTakesTheKeysUpToNum) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> keys;
        Strings listed;
    };
    const std::vector<Case> cases = {
        {"seven, five kept",
         {{"Num", "7"},
          {"File1", "/1"},
          {"File2", "/2"},
          {"File3", "/3"},
          {"File4", "/4"},
          {"File5", "/5"},
          {"File6", "/6"},
          {"File7", "/7"}},
         {"/1", "/2", "/3", "/4", "/5"}},
        {"empty key skipped", {{"Num", "2"}, {"File1", "/1"}, {"File2", ""}}, {"/1"}},
        {"no keys", {{"Num", "2"}}, {}},
        {"keys beyond Num", {{"Num", "1"}, {"File1", "/1"}, {"File2", "/2"}}, {"/1"}},
        {"negative Num", {{"Num", "-3"}, {"File1", "/1"}}, {}},
        {"Num not a number", {{"Num", "two"}, {"File1", "/1"}}, {}},
        {"equal paths keep the lowest number",
         {{"Num", "3"}, {"File1", "/1"}, {"File2", "/2"}, {"File3", "/1"}},
         {"/1", "/2"}},
        {"no Num", {{"File1", "/1"}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(QString::fromStdString(ini.FileName()));
        WriteSection(c.keys);
        files.ReadFromIni(ini);
        EXPECT_EQ(Listed(), c.listed);
        // A separator comes only with entries.
        EXPECT_EQ(Items().size(), 4 + (c.listed.empty() ? 0 : 1 + c.listed.size()));
    }
    // From an empty list, AddFile brings one separator and one entry.
    files.AddFile("/new");
    EXPECT_EQ(Items(), (Strings{"保存(&S)", "設定(&P)...", "-", "&1 /new", "-", "終了(&X)"}));
}

TEST_F(RecentFilesTest, WriteToIniWritesTheListedAndDeletesTheRestUpToFive) {
    WriteSection({{"File4", "/old4"}, {"File5", "/old5"}, {"File6", "/keep6"}});
    for (const char* p : {"/c", "/b", "/a"}) {
        files.AddFile(p);
    }
    files.WriteToIni(ini);
    EXPECT_EQ(ini.ReadInteger("RecentUsedFiles", "Num", -1), 3);
    EXPECT_EQ(ini.ReadString("RecentUsedFiles", "File1", ""), "/a");
    EXPECT_EQ(ini.ReadString("RecentUsedFiles", "File3", ""), "/c");
    EXPECT_FALSE(ini.ValueExists("RecentUsedFiles", "File4"));
    EXPECT_FALSE(ini.ValueExists("RecentUsedFiles", "File5"));
    EXPECT_EQ(ini.ReadString("RecentUsedFiles", "File6", ""), "/keep6");

    // Read back as it was written.
    files.ReadFromIni(ini);
    EXPECT_EQ(Listed(), (Strings{"/a", "/b", "/c"}));

    files.ClearEntries();
    files.WriteToIni(ini);
    EXPECT_EQ(ini.ReadInteger("RecentUsedFiles", "Num", -1), 0);
    EXPECT_FALSE(ini.ValueExists("RecentUsedFiles", "File1"));
    EXPECT_EQ(Items().size(), 4u);
}
