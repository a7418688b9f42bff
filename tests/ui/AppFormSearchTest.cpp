// Search in the main window: hits and their marks, the first hit, stepping
// without wrap-around, when the marks follow a change, clearing; and opening
// the selected string with the desktop.

#include <QLabel>
#include <QMenu>
#include <QTextCursor>

#include "tests/ui/MainWindowFixture.h"

namespace {

// In list order: a, B, c, d, e. "流星" stands only in contents (a, B, d);
// bytewise "B" sorts before "a".
const char kBook[] = "a\nx 流星\n\nB\n流星\n\nc\nnone\n\nd\n流星 y\n\ne\nend\n\n";

class SearchTest : public MainWindowTest {
  protected:
    std::vector<std::string> Marked() {
        std::vector<std::string> marked;
        for (int row = 0; row < Rows(); ++row) {
            if (Model()->IsHit(row)) {
                marked.push_back(cp932::ToUtf8(Model()->HeadwordAt(row)));
            }
        }
        return marked;
    }
    // F3 or Shift+F3; returns whether it beeped.
    bool Step(bool backward) {
        const int beeps = seam.beeps;
        Run(backward ? "actFindPrev" : "actFindNext");
        return seam.beeps > beeps;
    }
    bool Enabled(const char* name) {
        window->UpdateActions();
        emit window->findChild<QMenu*>("EditMenu")->aboutToShow();
        return Act(name)->isEnabled();
    }
};

TEST_F(SearchTest, HitsInContentsAreMarkedAndTheFirstInListOrderIsSelected) {
    TBroltMemoAppForm& w = StartWith(kBook);
    Find("流星");
    EXPECT_EQ(w.FindText(), Cp("流星"));
    EXPECT_EQ(w.FoundWords(), (std::vector<std::string>{"B", "a", "d"}));  // byte order
    EXPECT_EQ(Marked(), (std::vector<std::string>{"a", "B", "d"}));
    EXPECT_EQ(Selected(), "a");
    EXPECT_EQ(Content()->toPlainText(), "x 流星\n");
    EXPECT_EQ(seam.beeps, 1);  // the default beep for a found string
    EXPECT_TRUE(seam.shown.empty());
    // The hit image is the decoration of a marked row.
    const QIcon hit = Model()->data(Model()->index(0), Qt::DecorationRole).value<QIcon>();
    const QIcon plain = Model()->data(Model()->index(2), Qt::DecorationRole).value<QIcon>();
    EXPECT_NE(hit.cacheKey(), plain.cacheKey());
}

TEST_F(SearchTest, NoHitShowsMessage22AndSelectsNothing) {
    StartWith(kBook);
    Select("c");
    Find("該当なし");
    ASSERT_EQ(seam.shown.size(), 1u);
    EXPECT_EQ(seam.shown[0].text, Msg(22));
    EXPECT_EQ(seam.shown[0].style, 0x40u);
    EXPECT_EQ(seam.beeps, 0);
    EXPECT_EQ(Selected(), "");
    EXPECT_FALSE(Content()->isEnabled());
    EXPECT_TRUE(Content()->toPlainText().isEmpty());
    EXPECT_TRUE(Marked().empty());
    EXPECT_FALSE(Enabled("actFindNext"));
}

TEST_F(SearchTest, SteppingSkipsUnmarkedNodesAndStopsAtEitherEnd) {
    StartWith(kBook);
    Find("流星");
    EXPECT_FALSE(Step(false));
    EXPECT_EQ(Selected(), "B");
    EXPECT_FALSE(Step(false));
    EXPECT_EQ(Selected(), "d");  // c is no hit
    EXPECT_TRUE(Step(false));    // on the last hit: a beep, no wrap-around
    EXPECT_EQ(Selected(), "d");
    Select("e");  // behind the last hit
    EXPECT_TRUE(Step(false));
    EXPECT_EQ(Selected(), "e");
    EXPECT_FALSE(Step(true));
    EXPECT_EQ(Selected(), "d");
    Select("a");
    EXPECT_TRUE(Step(true));  // on the first hit
    EXPECT_EQ(Selected(), "a");
    EXPECT_EQ(window->findChild<QLabel*>("statusPanel1")->text(), "1/5件");
}

TEST_F(SearchTest, WithNothingSelectedStepsStartAtTheFirstNode) {
    TBroltMemoAppForm& w = StartWith(kBook);
    Find("流星");  // a, the first node, is a hit
    w.SelectRow(-1);
    EXPECT_FALSE(Step(true));
    EXPECT_EQ(Selected(), "a");
    Find("end");  // only e
    // Backward looks at the first node only; forward goes on from it.
    w.SelectRow(-1);
    EXPECT_TRUE(Step(true));
    EXPECT_EQ(Selected(), "");
    EXPECT_FALSE(Step(false));
    EXPECT_EQ(Selected(), "e");
}

TEST_F(SearchTest, AnEditedMemoLosesItsMarkAndUndoDoesNotBringItBack) {
    StartWith(kBook);
    Find("流星");
    Select("d");
    RunEditDialog("actEditMemo", "d", "晴れ");
    EXPECT_EQ(Marked(), (std::vector<std::string>{"a", "B"}));
    EXPECT_EQ(Selected(), "d");
    Run("actUndo");
    EXPECT_EQ(window->Document().Content("d"), Cp("流星 y\n"));
    EXPECT_EQ(Marked(), (std::vector<std::string>{"a", "B"}));  // the last search's hits
    Find("流星");
    EXPECT_EQ(Marked(), (std::vector<std::string>{"a", "B", "d"}));
}

TEST_F(SearchTest, AnAddedHitIsMarkedAndKeepsItsMarkThroughUndoAndRedo) {
    StartWith(kBook);
    Find("流星");
    Select("c");
    RunEditDialog("actAddMemo", "f", "流星雨");
    EXPECT_EQ(Selected(), "f");
    EXPECT_EQ(Marked(), (std::vector<std::string>{"a", "B", "d", "f"}));
    Run("actUndo");
    EXPECT_EQ(RowOf("f"), -1);
    EXPECT_EQ(Selected(), "");  // a click chose c, no command
    Run("actRedo");
    EXPECT_EQ(Selected(), "f");
    EXPECT_EQ(Marked(), (std::vector<std::string>{"a", "B", "d", "f"}));
    // Deleting a hit leaves the hit list alone.
    Run("actDelMemo");
    EXPECT_EQ(window->FoundWords().size(), 4u);
}

TEST_F(SearchTest, ClearingTheResultsRemovesTheMarksAndDisablesStepping) {
    TBroltMemoAppForm& w = StartWith(kBook);
    Find("流星");
    EXPECT_TRUE(Enabled("ResetFindItem"));
    Run("ResetFindItem");
    EXPECT_TRUE(w.FindText().empty());
    EXPECT_TRUE(Marked().empty());
    EXPECT_EQ(Selected(), "a");  // the selection stays
    for (const char* name : {"actFindNext", "actFindPrev", "ResetFindItem"}) {
        EXPECT_FALSE(Enabled(name)) << name;
    }
    // A new document clears the search too.
    Find("流星");
    Run("actNew");
    EXPECT_TRUE(w.FoundWords().empty());
}

TEST_F(SearchTest, TheSearchSurvivesOpeningAnotherBook) {
    TBroltMemoAppForm& w = StartWith(kBook);
    Find("流星");
    w.OpenDocument(WriteBook("other.txt", "B\nother\n\nz\nzzz\n\n"));
    EXPECT_EQ(Marked(), std::vector<std::string>{"B"});
}

TEST_F(SearchTest, OpenSelectedStringHandsTheFirstTrimmedLineToTheDesktop) {
    TBroltMemoAppForm& w = StartWith("連絡先\n  someone@example.jp \nhttp://example.jp/\n\n");
    Select("連絡先");
    Content()->setFocus();
    Content()->selectAll();
    Run("actOpenStr");
    EXPECT_EQ(seam.opened, QStringList{"mailto:someone@example.jp"});
    EXPECT_TRUE(seam.shown.empty());

    // A failure shows the system's message with the exclamation icon.
    QTextCursor cursor = Content()->textCursor();
    cursor.setPosition(0);
    cursor.movePosition(QTextCursor::NextBlock);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    Content()->setTextCursor(cursor);
    seam.openError = "開けません";
    Run("actOpenStr");
    EXPECT_EQ(seam.opened.last(), "http://example.jp/");
    ASSERT_EQ(seam.shown.size(), 1u);
    EXPECT_EQ(seam.shown[0].text, "開けません");
    EXPECT_EQ(seam.shown[0].style, 0x30u);
    EXPECT_FALSE(w.Document().GetModified());
}

}  // namespace
