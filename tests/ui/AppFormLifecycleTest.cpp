// Start, title, open, save and the unsaved-changes questions of the main
// window, answered through the scripted seam.

#include <QCoreApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QToolButton>

#include <filesystem>

#include "app/RecentUsedFilesMenu.h"
#include "tests/ui/AppFormFixture.h"

namespace {

const char kBook[] = "りんご\n赤い果物。\n\nカレー\n火曜日に作る。\n\napple\nred fruit\n\n";

}  // namespace

TEST_F(AppFormTest, TitleFollowsTheDocumentsFileName) {
    TBroltMemoAppForm& w = Start();
    EXPECT_EQ(w.windowTitle(), Title("新規"));
    const std::string book = WriteBook("予定.txt", kBook);
    ASSERT_TRUE(w.OpenDocument(book));
    EXPECT_EQ(w.windowTitle(), Title("予定.txt"));
    // Saving under another name: the title follows; a modification does not show.
    w.Document().SubmitSetMemo(Cp("x"), Cp("y"));
    seam.saveNames = {QFile::decodeName(QByteArray::fromStdString(Path("別名.txt")))};
    EXPECT_EQ(w.SaveDocument(false), 1);
    EXPECT_EQ(w.windowTitle(), Title("別名.txt"));
    w.NewDocument();
    w.RefreshEntryList(true);
    EXPECT_EQ(w.windowTitle(), Title("新規"));
    EXPECT_TRUE(seam.shown.empty());
}

TEST_F(AppFormTest, CommandLineOpensTheFirstFileHereAndStartsAnInstanceForEachFurther) {
    const std::string a = WriteBook("a.txt", kBook);
    TBroltMemoAppForm& w = Start({QString::fromStdString(a), "b.txt", "-c.txt"});
    EXPECT_EQ(w.Document().FileName(), a);
    EXPECT_EQ(w.windowTitle(), Title("a.txt"));
    ASSERT_EQ(seam.started.size(), 2u);
    EXPECT_EQ(seam.started[0].first, QCoreApplication::applicationFilePath());
    EXPECT_EQ(seam.started[0].second, QStringList{"b.txt"});
    // A name that looks like an option still reaches the instance as a file.
    EXPECT_EQ(seam.started[1].second, QStringList{"./-c.txt"});
}

TEST_F(AppFormTest, OpenLastFileOpensTheMostRecentFileOnlyWithoutArguments) {
    const std::string a = WriteBook("a.txt", kBook);
    const std::string b = WriteBook("b.txt", kBook);
    Ini().WriteBool("Operation", "OpenLastFile", true);
    Ini().WriteInteger("RecentUsedFiles", "Num", 1);
    Ini().WriteString("RecentUsedFiles", "File1", a);
    EXPECT_EQ(Start().Document().FileName(), a);
    EXPECT_EQ(Start({QString::fromStdString(b)}).Document().FileName(), b);
}

TEST_F(AppFormTest, AMissingLastFileIsReportedAndTheProgramStartsEmpty) {
    const std::string gone = Path("gone.txt");
    Ini().WriteBool("Operation", "OpenLastFile", true);
    Ini().WriteInteger("RecentUsedFiles", "Num", 1);
    Ini().WriteString("RecentUsedFiles", "File1", gone);
    TBroltMemoAppForm& w = Start();
    ASSERT_EQ(seam.shown.size(), 1u);
    EXPECT_EQ(seam.shown[0].text, Msg(13));
    EXPECT_EQ(seam.shown[0].style, 0x30u);
    EXPECT_EQ(w.windowTitle(), Title("新規"));
    EXPECT_TRUE(w.Document().FileName().empty());
    EXPECT_EQ(std::string(w.RecentFiles().FileAt(0)), gone);
}

TEST_F(AppFormTest, AFailedOpenKeepsThePreviousBook) {
    const std::string a = WriteBook("a.txt", kBook);
    TBroltMemoAppForm& w = Start({QString::fromStdString(a)});
    auto* list = w.findChild<QListView*>("treeEntryWord");
    EXPECT_FALSE(w.OpenDocument(Path("nothing.txt")));
    EXPECT_EQ(seam.Texts(), QStringList{Msg(13)});
    EXPECT_EQ(w.Document().FileName(), a);
    EXPECT_EQ(list->model()->rowCount(), 3);
    EXPECT_EQ(w.windowTitle(), Title("a.txt"));
    EXPECT_EQ(w.RecentFiles().Count(), 1u);
}

TEST_F(AppFormTest, DuplicateHeadwordsAreReportedAfterLoading) {
    TBroltMemoAppForm& w = Start();
    EXPECT_TRUE(w.OpenDocument(WriteBook("dup.txt", "a\n1\n\na\n2\n\n")));
    ASSERT_EQ(seam.shown.size(), 1u);
    EXPECT_EQ(seam.shown[0].text, Msg(20));
    EXPECT_EQ(seam.shown[0].style, 0x40u);
}

TEST_F(AppFormTest, RebuildListsInCollationOrderSelectsTheHeadwordToSelectAndCounts) {
    TBroltMemoAppForm& w = Start({QString::fromStdString(WriteBook("a.txt", kBook))});
    auto* list = w.findChild<QListView*>("treeEntryWord");
    auto* label = w.findChild<QLabel*>("lblEntryWord");
    auto* content = w.findChild<QPlainTextEdit*>("memoContent");
    auto* count = w.findChild<QLabel*>("statusPanel1");
    auto rows = [&] {
        QStringList texts;
        for (int r = 0; r < list->model()->rowCount(); ++r) {
            texts << list->model()->index(r, 0).data().toString();
        }
        return texts;
    };
    // After an open nothing is selected and the content is disabled.
    EXPECT_EQ(rows(), (QStringList{"apple", "カレー", "りんご"}));
    EXPECT_EQ(w.SelectedRow(), -1);
    EXPECT_EQ(count->text(), "0/3件");
    EXPECT_FALSE(content->isEnabled());
    EXPECT_TRUE(label->text().isEmpty());

    w.Document().SubmitSetMemo(Cp("きつね"), Cp("森の動物。\r\n二行目"));
    w.RefreshEntryList(false);
    EXPECT_EQ(rows(), (QStringList{"apple", "カレー", "きつね", "りんご"}));
    EXPECT_EQ(w.SelectedRow(), 2);
    EXPECT_EQ(label->text(), "きつね");
    EXPECT_EQ(content->toPlainText(), "森の動物。\n二行目");
    EXPECT_TRUE(content->isEnabled());
    EXPECT_EQ(count->text(), "3/4件");

    // Selecting another row shows it; the position follows.
    w.SelectRow(0);
    EXPECT_EQ(label->text(), "apple");
    EXPECT_EQ(content->toPlainText(), "red fruit\n");
    EXPECT_EQ(count->text(), "1/4件");

    // A rebuild with a new title drops the selection.
    w.NewDocument();
    w.RefreshEntryList(true);
    EXPECT_EQ(rows(), QStringList{});
    EXPECT_EQ(count->text(), "0/0件");
    EXPECT_TRUE(content->toPlainText().isEmpty());
    EXPECT_FALSE(content->isEnabled());
}

TEST_F(AppFormTest, SaveWritesANamedBookWithoutAskingAndAsksForANameOtherwise) {
    const std::string a = WriteBook("a.txt", kBook);
    TBroltMemoAppForm& w = Start({QString::fromStdString(a)});
    w.Document().SubmitSetMemo(Cp("x"), Cp("y\n"));
    EXPECT_EQ(w.SaveDocument(true), 1);
    EXPECT_TRUE(seam.savePresets.isEmpty());
    EXPECT_FALSE(w.Document().GetModified());
    EXPECT_TRUE(std::filesystem::exists(Path("a.bak")));

    // Save As offers the document's name; cancelling changes nothing.
    w.Document().SubmitSetMemo(Cp("z"), Cp("1\n"));
    seam.saveNames = {""};
    EXPECT_EQ(w.SaveDocument(false), -1);
    EXPECT_EQ(seam.savePresets.back().toStdString(), a);
    EXPECT_TRUE(w.Document().GetModified());

    // An unnamed book saved on the way to something else keeps no name.
    w.NewDocument();
    w.Document().SubmitSetMemo(Cp("x"), Cp("y\n"));
    const std::string other = Path("other.txt");
    seam.saveNames = {QString::fromStdString(other)};
    EXPECT_EQ(w.SaveDocument(true), 1);
    EXPECT_EQ(seam.savePresets.back(), QString::fromStdString(a))
        << "an unnamed book's dialog starts from its last name";
    EXPECT_TRUE(w.Document().FileName().empty());
    EXPECT_FALSE(w.Document().GetModified());
    EXPECT_EQ(ReadFile(other), "x\r\ny\r\n\r\n");
    EXPECT_EQ(std::string(w.RecentFiles().FileAt(0)), other);
}

TEST_F(AppFormTest, AFailingSaveShowsTheSystemsMessageAndKeepsTheBookModified) {
    TBroltMemoAppForm& w = Start();
    w.Document().SubmitSetMemo(Cp("x"), Cp("y"));
    seam.saveNames = {QString::fromStdString(Path("no-such-dir/memo.txt"))};
    EXPECT_EQ(w.SaveDocument(false), 0);
    ASSERT_EQ(seam.shown.size(), 1u);
    EXPECT_EQ(seam.shown[0].style, 0x30u);
    EXPECT_FALSE(seam.shown[0].text.isEmpty());
    EXPECT_TRUE(w.Document().GetModified());
    EXPECT_TRUE(w.Document().FileName().empty());
    EXPECT_EQ(w.RecentFiles().Count(), 0u);
    EXPECT_EQ(w.windowTitle(), Title("新規"));
}

// Each branch of the question asked before New, Open and a recent file.
TEST_F(AppFormTest, QuerySaveModifiedBranches) {
    struct Case {
        const char* name;
        int answer;          // to message 15; 0 = not asked
        const char* saveTo;  // the save dialog's answer; nullptr = not shown
        bool result;
        QStringList messages;  // besides message 15
    };
    const Case cases[] = {
        {"no", IDNO, nullptr, true, {}},
        {"cancel", IDCANCEL, nullptr, false, {}},
        {"yes, saved", IDYES, "saved.txt", true, {}},
        {"yes, dialog cancelled", IDYES, "", false, {}},
        {"yes, save fails", IDYES, "missing/x.txt", false, {"*", Msg(11)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSeam& local = seam;
        local.Reset();
        TBroltMemoAppForm& w = Start();
        w.Document().SubmitSetMemo(Cp("x"), Cp("y"));
        local.answers = {c.answer};
        if (c.saveTo) {
            local.saveNames = {*c.saveTo ? QString::fromStdString(Path(c.saveTo)) : QString()};
        }
        EXPECT_EQ(w.QuerySaveModified(), c.result);
        QStringList texts = local.Texts();
        ASSERT_FALSE(texts.isEmpty());
        EXPECT_EQ(texts.takeFirst(), Msg(15));
        EXPECT_EQ(local.shown[0].style, 0x23u);
        ASSERT_EQ(texts.size(), c.messages.size());
        for (int i = 0; i < texts.size(); ++i) {
            if (c.messages[i] != "*") {  // "*" = the system's text, whatever it says
                EXPECT_EQ(texts[i], c.messages[i]);
            }
        }
        EXPECT_TRUE(local.saveNames.empty());
    }
}

TEST_F(AppFormTest, NoQuestionForAnUnmodifiedBookOrWithSaveAlways) {
    TBroltMemoAppForm& w = Start({QString::fromStdString(WriteBook("a.txt", kBook))});
    EXPECT_TRUE(w.QuerySaveModified());
    Ini().WriteBool("Operation", "SaveAlways", true);
    w.Document().SubmitSetMemo(Cp("x"), Cp("y\n"));
    EXPECT_TRUE(w.QuerySaveModified());  // saved silently to its own file
    EXPECT_TRUE(seam.shown.empty());
    EXPECT_NE(ReadFile(Path("a.txt")).find("x\r\ny\r\n"), std::string::npos);
}

// Each branch of the question asked when the window closes.
TEST_F(AppFormTest, CloseQueryBranches) {
    struct Case {
        const char* name;
        std::deque<int> answers;  // to message 15, then to message 16
        const char* saveTo;
        bool closes;
    };
    const Case cases[] = {
        {"no", {IDNO}, nullptr, true},
        {"cancel", {IDCANCEL}, nullptr, false},
        {"yes, saved", {IDYES}, "saved.txt", true},
        {"yes, dialog cancelled", {IDYES}, "", false},
        {"yes, save fails, discard", {IDYES, IDYES}, "missing/x.txt", true},
        {"yes, save fails, stay", {IDYES, IDNO}, "missing/x.txt", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSeam& local = seam;
        local.Reset();
        TBroltMemoAppForm& w = Start();
        w.show();
        w.Document().SubmitSetMemo(Cp("x"), Cp("y"));
        local.answers = c.answers;
        if (c.saveTo) {
            local.saveNames = {*c.saveTo ? QString::fromStdString(Path(c.saveTo)) : QString()};
        }
        EXPECT_EQ(w.close(), c.closes);
        EXPECT_EQ(w.isVisible(), !c.closes);
        EXPECT_TRUE(local.answers.empty());
        if (c.answers.size() == 2) {
            ASSERT_EQ(local.shown.size(), 3u);
            EXPECT_EQ(local.shown[1].style, 0x30u);  // the system's text
            EXPECT_EQ(local.shown[2].text, Msg(16));
            EXPECT_EQ(local.shown[2].style, 0x24u);
        }
        // Settings are written only when the window really closes.
        EXPECT_EQ(Ini().ValueExists("Window", "WindowState"), c.closes);
        std::filesystem::remove(Path("settings.ini"));
    }
}

TEST_F(AppFormTest, QuitDiscardingChangesAsksEvenWhenUnmodified) {
    TBroltMemoAppForm& w = Start();
    w.show();
    auto* quit = w.findChild<QAction*>("ExitWithCancelItem");
    seam.answers = {IDNO};
    quit->trigger();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(seam.Texts(), QStringList{Msg(17)});

    w.Document().SubmitSetMemo(Cp("x"), Cp("y"));
    seam.answers = {IDYES};
    quit->trigger();  // then closes without the unsaved-changes question
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(seam.Texts(), (QStringList{Msg(17), Msg(17)}));
}

TEST_F(AppFormTest, FileActionsFollowTheirEnablingRules) {
    TBroltMemoAppForm& w = Start();
    auto* actNew = w.findChild<QAction*>("actNew");
    auto* actSave = w.findChild<QAction*>("actSave");
    w.UpdateActions();
    EXPECT_FALSE(actNew->isEnabled());
    EXPECT_FALSE(actSave->isEnabled());
    w.Document().SubmitSetMemo(Cp("x"), Cp("y"));
    // A disabled action re-checks its rule right before it would run.
    seam.answers = {IDNO};
    actNew->setEnabled(true);
    actNew->trigger();
    EXPECT_TRUE(w.Document().FileName().empty());
    EXPECT_FALSE(w.Document().GetModified());
    w.UpdateActions();
    EXPECT_FALSE(actNew->isEnabled());
    // An opened, unmodified book: New yes, Save no.
    w.OpenDocument(WriteBook("a.txt", kBook));
    w.UpdateActions();
    EXPECT_TRUE(actNew->isEnabled());
    EXPECT_FALSE(actSave->isEnabled());
}

TEST_F(AppFormTest, OpenAsksAboutChangesFirstAndCancellingTheOpenDialogKeepsTheSavedBook) {
    TBroltMemoAppForm& w = Start();
    w.Document().SubmitSetMemo(Cp("x"), Cp("y\n"));
    seam.answers = {IDYES};
    seam.saveNames = {QString::fromStdString(Path("new.txt"))};
    seam.openNames = {""};
    w.findChild<QAction*>("actOpen")->trigger();
    EXPECT_TRUE(std::filesystem::exists(Path("new.txt")));
    EXPECT_FALSE(w.Document().GetModified());
    EXPECT_EQ(w.windowTitle(), Title("新規"));
    EXPECT_EQ(std::string(w.RecentFiles().FileAt(0)), Path("new.txt"));
}

TEST_F(AppFormTest, ToolButtonsShowTheirShortHintMenusTheLongOne) {
    TBroltMemoAppForm& w = Start();
    w.show();
    auto* button = w.findChild<QToolButton*>("tbtnNew");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->toolTip(), "新規作成");
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(button, &enter);
    EXPECT_EQ(w.statusBar()->currentMessage(), "新規作成");
    w.findChild<QAction*>("actNew")->showStatusText(&w);
    EXPECT_EQ(w.statusBar()->currentMessage(), "新規作成する");
}

TEST_F(AppFormTest, ASettingsFileThatCannotBeWrittenIsReportedButDoesNotKeepTheWindowOpen) {
    TBroltMemoAppForm& w = Start();
    w.show();
    SetIniFilePath(Path("no-such-dir/settings.ini"));
    EXPECT_TRUE(w.close());
    ASSERT_EQ(seam.shown.size(), 1u);
    EXPECT_EQ(seam.shown[0].style, 0x30u);
    EXPECT_TRUE(seam.shown[0].text.contains("no-such-dir/settings.ini"));
}
