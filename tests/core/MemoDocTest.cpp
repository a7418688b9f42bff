#include "memo/BroltMemoDoc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "AllocFailure.h"
#include "DocState.h"
#include "TestSupport.h"
#include "support/Message.h"

namespace {

class MemoDocTest : public ::testing::Test {
  protected:
    // Opens a file holding memos apple and kiwi and the template T.
    void OpenSample() {
        WriteBytes(path, "T>T\r\nt\r\n\r\napple\r\nred\r\n\r\nkiwi\r\ngreen\r\n\r\n");
        doc.Open(path);
    }
    std::string ExpectThrowText(const std::function<void()>& f) {
        try {
            f();
        } catch (const std::exception& e) {
            return e.what();
        }
        ADD_FAILURE() << "no exception";
        return {};
    }

    TempDir dir;
    std::string path = dir / "memo.txt";
    BroltMemoDoc doc;
};

TEST_F(MemoDocTest, UndoingEveryCommandSinceOpenClearsModified) {
    OpenSample();
    EXPECT_FALSE(doc.GetModified());
    doc.SubmitSetMemo("banana", "yellow\n");
    doc.SubmitSetMemo("apple", "green\n");
    doc.SubmitSetTemplate("U", "u\n");
    doc.SubmitDeleteMemo("kiwi");
    for (int i = 0; i < 3; ++i) {
        doc.Undo();
        EXPECT_TRUE(doc.GetModified()) << "after undo " << i + 1;
    }
    doc.Undo();
    EXPECT_FALSE(doc.GetModified());
    EXPECT_FALSE(doc.CanUndo());
    doc.Redo();
    EXPECT_TRUE(doc.GetModified());

    // The same after MakeNew, and after a save the flag's base is the save.
    doc.MakeNew();
    doc.SubmitSetMemo("a", "1\n");
    doc.Save(path, true);
    EXPECT_FALSE(doc.CanUndo());
    doc.SubmitSetMemo("b", "2\n");
    doc.Undo();
    EXPECT_FALSE(doc.GetModified());
}

TEST_F(MemoDocTest, CommandsChangeTheStoreAndUndoRedoTakeItBack) {
    OpenSample();
    const DocState opened = StateOf(doc);

    doc.SubmitSetMemo("banana", "yellow\n");      // new
    doc.SubmitSetMemo("apple", "green\r\nsour");  // existing: content replaced
    doc.SubmitDeleteMemo("kiwi");
    doc.SubmitSetTemplate("", "");
    const DocState changed = StateOf(doc);
    EXPECT_EQ(changed.memos, (Memos{{"apple", "green\r\nsour"}, {"banana", "yellow\n"}}));
    EXPECT_EQ(changed.templateHeadword + changed.templateContent, "");

    // Undo everything, step by step, then redo it all; twice round.
    for (int round = 0; round < 2; ++round) {
        doc.Undo();
        EXPECT_EQ(doc.TemplateHeadword(), "T");
        EXPECT_EQ(doc.TemplateContent(), "t\n");
        doc.Undo();
        EXPECT_EQ(doc.Content("kiwi"), "green\n");
        doc.Undo();
        EXPECT_EQ(doc.Content("apple"), "red\n");
        doc.Undo();
        EXPECT_FALSE(doc.Exists("banana"));
        EXPECT_EQ(StateOf(doc).memos, opened.memos);
        EXPECT_FALSE(doc.GetModified());
        while (doc.CanRedo()) {
            doc.Redo();
        }
        EXPECT_EQ(StateOf(doc), changed);
    }
}

TEST_F(MemoDocTest, DeletionUndoRestoresContentOfItsTime) {
    OpenSample();
    doc.SubmitSetMemo("apple", "one\n");
    doc.SubmitSetMemo("apple", "two\n");
    doc.SubmitDeleteMemo("apple");
    EXPECT_FALSE(doc.Exists("apple"));
    doc.Undo();
    EXPECT_EQ(doc.Content("apple"), "two\n");
    doc.Undo();
    EXPECT_EQ(doc.Content("apple"), "one\n");
}

TEST_F(MemoDocTest, HeadwordToSelectAfterEachCommandUndoAndRedo) {
    OpenSample();
    EXPECT_EQ(doc.HeadwordToSelect(), "");
    struct Step {
        std::function<void()> action;
        const char* select;
    };
    const Step steps[] = {
        {[&] { doc.SubmitSetMemo("banana", "y\n"); }, "banana"},  // new memo
        {[&] { doc.SubmitSetMemo("apple", "r\n"); }, "apple"},    // existing memo
        {[&] { doc.SubmitSetTemplate("U", "u\n"); }, "apple"},    // template: unchanged
        {[&] { doc.SubmitDeleteMemo("kiwi"); }, ""},              // nothing left to select
        {[&] { doc.Undo(); }, "kiwi"},                            // the restored memo
        {[&] { doc.Undo(); }, "kiwi"},                            // template: unchanged
        {[&] { doc.Undo(); }, "banana"},  // the selection before "apple" was set
        {[&] { doc.Undo(); }, ""},        // the selection right after open
        {[&] { doc.Redo(); }, "banana"},
        {[&] { doc.Redo(); }, "apple"},
        {[&] { doc.Redo(); }, "apple"},
        {[&] { doc.Redo(); }, ""},
    };
    int n = 0;
    for (const Step& step : steps) {
        step.action();
        EXPECT_EQ(doc.HeadwordToSelect(), step.select) << "step " << ++n;
    }
    doc.Save(path, false);
    EXPECT_EQ(doc.HeadwordToSelect(), "");
}

TEST_F(MemoDocTest, RenameIsDeleteAndSetUndoneInTwoSteps) {
    OpenSample();
    doc.SubmitSetMemo("kiwi", "picked\n");  // something selected before the rename
    doc.SubmitDeleteMemo("apple");
    doc.SubmitSetMemo("avocado", "red\n");
    EXPECT_EQ(StateOf(doc).memos, (Memos{{"avocado", "red\n"}, {"kiwi", "picked\n"}}));
    EXPECT_EQ(doc.HeadwordToSelect(), "avocado");

    doc.Undo();  // the set: neither name is there, nothing to select
    EXPECT_EQ(StateOf(doc).memos, (Memos{{"kiwi", "picked\n"}}));
    EXPECT_EQ(doc.HeadwordToSelect(), "");
    doc.Undo();  // the deletion: the old memo is back and selected
    EXPECT_EQ(StateOf(doc).memos, (Memos{{"apple", "red\n"}, {"kiwi", "picked\n"}}));
    EXPECT_EQ(doc.HeadwordToSelect(), "apple");
    EXPECT_TRUE(doc.GetModified());
}

// Headwords too long for the short-string buffer, so that selecting them
// needs memory and can fail; each longer than the one before, so that the
// selection's buffer must grow for it.
const std::string kPicked = "the memo selected before";
const std::string kNew = "a new memo with a longer headword";
const std::string kOld = "an old memo, loaded, with the longest headword";

std::vector<std::function<void(BroltMemoDoc&)>> SubmitsOfEveryKind() {
    return {
        [](BroltMemoDoc& d) { d.SubmitSetMemo(kNew, "a new content\n"); },
        [](BroltMemoDoc& d) { d.SubmitSetMemo(kOld, "a replaced content\n"); },
        [](BroltMemoDoc& d) { d.SubmitDeleteMemo(kOld); },
        [](BroltMemoDoc& d) {
            d.SubmitSetTemplate("a long template headword", "a long template content\n");
        },
    };
}

// An allocation failure at any point of a change leaves the memos, the
// template, the selection and the history as they were; the command is
// destroyed (the leak checker watches) and the redo history survives.
TEST_F(MemoDocTest, FailedSubmitLeavesBookAndHistoryUntouched) {
    WriteBytes(path, "T>T\r\nt\r\n\r\n" + kOld + "\r\nold\r\n\r\n");
    int points = 0;
    for (const auto& submit : SubmitsOfEveryKind()) {
        BroltMemoDoc d;
        d.Open(path);
        d.SubmitSetMemo(kPicked, "picked\n");
        d.SubmitSetMemo("cherry", "undone\n");
        d.Undo();
        const DocState before = StateOf(d);
        points += alloc_failure::Sweep([&] { submit(d); }, [&] { EXPECT_EQ(StateOf(d), before); });
        EXPECT_FALSE(d.CanRedo());
        d.Undo();
        EXPECT_EQ(StateOf(d).memos, before.memos);
    }
    EXPECT_GT(points, 4);
}

// A command that fails its Undo or Redo stays where it was: the book and the
// history are unchanged, and only the modified flag may say "modified". Run
// again, it does its job.
TEST_F(MemoDocTest, FailedUndoOrRedoKeepsCommandInItsList) {
    WriteBytes(path, "T>T\r\nt\r\n\r\n" + kOld + "\r\nold\r\n\r\n");
    for (const auto& submit : SubmitsOfEveryKind()) {
        BroltMemoDoc d;
        d.Open(path);
        d.SubmitSetMemo(kPicked, "picked\n");
        const DocState base = StateOf(d);
        submit(d);
        const DocState done = StateOf(d);

        alloc_failure::Sweep([&] { d.Undo(); }, [&] { EXPECT_EQ(StateOf(d), done); });
        const DocState undone = StateOf(d);
        EXPECT_EQ(undone.memos, base.memos);
        EXPECT_EQ(undone.templateHeadword, base.templateHeadword);
        EXPECT_EQ(undone.templateContent, base.templateContent);
        alloc_failure::Sweep([&] { d.Redo(); }, [&] { EXPECT_EQ(StateOf(d), undone); });
        EXPECT_EQ(StateOf(d), done);

        // Undone down to the open, a failed undo leaves the flag "modified".
        d.Undo();
        alloc_failure::Sweep([&] { d.Undo(); }, [&] { EXPECT_TRUE(d.GetModified()); });
        EXPECT_FALSE(d.GetModified());
    }
}

TEST_F(MemoDocTest, BackupNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"memo.txt", "memo.bak"},
        {"notes", "notes.bak"},
        {"/home/u/memo.tar.gz", "/home/u/memo.tar.bak"},
        {"/home/u/v1.2/notes", "/home/u/v1.2/notes.bak"},  // a dot only in a directory
        {"/home/u/v1.2/memo.txt", "/home/u/v1.2/memo.bak"},
        {"/home/u/.memo", "/home/u/.memo.bak"},  // a leading dot is no extension
        {"memo.bak", "memo.bak"},
    };
    for (const auto& [name, backup] : cases) {
        EXPECT_EQ(BroltMemoDoc::BackupName(name), backup) << name;
    }
}

TEST_F(MemoDocTest, SecondSaveLeavesFirstSavedVersionAsBackup) {
    const std::string backup = dir / "memo.bak";
    doc.SubmitSetMemo("a", "1\n");
    doc.Save(path, true);  // a new document: no backup
    EXPECT_EQ(doc.FileName(), path);
    EXPECT_FALSE(doc.GetModified());
    EXPECT_FALSE(std::filesystem::exists(backup));
    const std::string first = ReadBytes(path);
    EXPECT_EQ(first, "a\r\n1\r\n\r\n");

    doc.SubmitSetMemo("b", "2\n");
    doc.Save(path, false);
    EXPECT_EQ(ReadBytes(backup), first);
    const std::string second = ReadBytes(path);
    EXPECT_EQ(second, "a\r\n1\r\n\r\nb\r\n2\r\n\r\n");

    doc.SubmitDeleteMemo("a");
    doc.Save(path, true);
    EXPECT_EQ(ReadBytes(backup), second);
    EXPECT_EQ(ReadBytes(path), "b\r\n2\r\n\r\n");
    EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"memo.bak", "memo.txt"}));
}

TEST_F(MemoDocTest, SaveAsToAnotherExistingFileMakesNoBackup) {
    OpenSample();
    const std::string original = ReadBytes(path);
    const std::string other = dir / "other.txt";
    WriteBytes(other, "old\r\n\r\n");
    doc.SubmitSetMemo("banana", "yellow\n");

    doc.Save(other, false);  // a copy: the document keeps its name
    EXPECT_EQ(doc.FileName(), path);
    EXPECT_FALSE(doc.GetModified());
    doc.Save(other, true);
    EXPECT_EQ(doc.FileName(), other);

    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_EQ(ReadBytes(other),
              "T>T\r\nt\r\n\r\napple\r\nred\r\n\r\nbanana\r\nyellow\r\n\r\n"
              "kiwi\r\ngreen\r\n\r\n");
    EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"memo.txt", "other.txt"}));
}

TEST_F(MemoDocTest, FailedOpenKeepsBookNameFlagAndHistory) {
    OpenSample();
    doc.SubmitSetMemo("banana", "yellow\n");
    doc.SubmitSetMemo("cherry", "red\n");
    doc.Undo();
    const DocState before = StateOf(doc);
    std::filesystem::create_directory(dir / "folder");

    EXPECT_EQ(ExpectThrowText([&] { doc.Open(dir / "missing.txt"); }), Message(13));
    EXPECT_EQ(StateOf(doc), before);
    EXPECT_EQ(ExpectThrowText([&] { doc.Open(dir / "folder"); }), Message(14));  // read fails
    EXPECT_EQ(StateOf(doc), before);

    // Running out of memory anywhere in an open changes nothing either.
    const std::string other = dir / "other.txt";
    WriteBytes(other, "T>U\r\n\r\nfig\r\npurple\r\n\r\n");
    int points =
        alloc_failure::Sweep([&] { doc.Open(other); }, [&] { EXPECT_EQ(StateOf(doc), before); });
    EXPECT_GT(points, 3);
    EXPECT_EQ(StateOf(doc).memos, (Memos{{"fig", "purple\n"}}));
    EXPECT_EQ(doc.FileName(), other);
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.CanRedo());

    // And the history of the first book was still usable until then.
    BroltMemoDoc again;
    again.Open(path);
    again.SubmitSetMemo("banana", "yellow\n");
    EXPECT_THROW(again.Open(dir / "missing.txt"), std::runtime_error);
    again.Undo();
    EXPECT_FALSE(again.Exists("banana"));
    EXPECT_FALSE(again.GetModified());
}

TEST_F(MemoDocTest, SavingOverOwnFileThatDisappearedFailsWithMessage10) {
    OpenSample();
    const std::string backup = dir / "memo.bak";
    WriteBytes(backup, "previous backup\r\n\r\n");
    doc.SubmitSetMemo("banana", "yellow\n");
    const DocState before = StateOf(doc);
    std::filesystem::remove(path);

    EXPECT_EQ(ExpectThrowText([&] { doc.Save(path, false); }), Message(10));
    EXPECT_EQ(StateOf(doc), before);
    EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"memo.bak"}));
    EXPECT_EQ(ReadBytes(backup), "previous backup\r\n\r\n");
}

}  // namespace
