// The main window's commands: their captions and enabling rules, copy, undo
// and redo, adding, editing, renaming and deleting memos, the template, the
// view switches and the about box.

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "dialogs/AboutBox.h"
#include "tests/ui/MainWindowFixture.h"

namespace {

const char kBook[] = "りんご\n赤い果物。\n丸い。\n\nカレー\n火曜日に作る。\n\napple\nred fruit\n\n";

struct ActionRow {
    const char* name;
    const char* menuCaption;
    const char* hint;
    const char* shortcut;
    const char* button;  // its tool button's hint, or nullptr
};

const ActionRow kActions[] = {
    {"actNew", "新規作成(&N)", "新規作成する", "Ctrl+N", "新規作成"},
    {"actOpen", "開く(&O)...", "既存の文書を開く", "Ctrl+O", "開く"},
    {"actSave", "保存(&S)", "変更を保存する", "Ctrl+S", "保存"},
    {"actCopy", "コピー(&C)", "選択されているメモ／テキストをクリップボードにコピーする", "Ctrl+C",
     "コピー"},
    {"actUndo", "元に戻す(&U)", "直前の操作を取り消す", "Ctrl+Z", "元に戻す"},
    {"actRedo", "やり直し(&R)", "取り消した動作を再実行する", "Ctrl+Y", "やり直し"},
    {"actFind", "検索(&F)...", "検索する", "Ctrl+F", "検索"},
    {"actFindNext", "次を検索(&N)", "次の検索項目を表示する", "F3", nullptr},
    {"actFindPrev", "前を検索", "前の検索項目を表示する", "Shift+F3", nullptr},
    {"actAddMemo", "追加(&A)...", "メモを追加する", "Ins", "追加"},
    {"actEditMemo", "編集(&E)...", "メモを編集する", "Ctrl+M", "編集"},
    {"actDelMemo", "削除(&D)...", "メモを削除する", "Del", "削除"},
    {"actOpenStr", "選択文字列を開く(&O)", "選択されている文字列をシェルの機能で開く", "",
     "選択文字列を開く"},
};

QStringList Captions(const QMenu* menu) {
    QStringList captions;
    for (const QAction* a : menu->actions()) {
        captions << (a->isSeparator() ? "-" : a->text());
    }
    return captions;
}

TEST_F(MainWindowTest, ActionsMenusAndToolButtonsAsDesigned) {
    TBroltMemoAppForm& w = StartWith(kBook);
    for (const ActionRow& row : kActions) {
        SCOPED_TRACE(row.name);
        QAction* a = Act(row.name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), QString::fromUtf8(row.menuCaption));
        EXPECT_EQ(a->statusTip(), QString::fromUtf8(row.hint));
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromUtf8(row.shortcut)));
        EXPECT_FALSE(a->icon().isNull());
        auto* button = w.findChild<QToolButton*>(QString("tbtn") + (row.name + 3));
        if (row.button) {
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->toolTip(), QString::fromUtf8(row.button));
        } else {
            EXPECT_EQ(button, nullptr);
        }
    }
    EXPECT_EQ(Captions(w.findChild<QMenu*>("EditMenu")),
              (QStringList{"元に戻す(&U)", "やり直し(&R)", "-", "コピー(&C)", "すべて選択(&A)", "-",
                           "選択文字列を開く(&O)", "-", "検索(&F)...", "次を検索(&N)",
                           "検索結果のクリア(&R)"}));
    EXPECT_EQ(Captions(w.findChild<QMenu*>("MemoMenu")),
              (QStringList{"追加(&A)...", "編集(&E)...", "削除(&D)...", "-",
                           "テンプレートの編集(&T)..."}));
    EXPECT_EQ(Captions(w.findChild<QMenu*>("puMainMenu")),
              (QStringList{"コピー(&C)", "-", "追加(&A)...", "編集(&E)...", "削除(&D)...", "-",
                           "検索(&F)..."}));
    EXPECT_EQ(Captions(w.findChild<QMenu*>("Help")), QStringList{"バージョン情報(&A)..."});
    QStringList buttons;
    for (QAction* a : w.findChild<QToolBar*>("tbBasic")->actions()) {
        buttons << (a->isSeparator() ? "-" : a->objectName());
    }
    EXPECT_EQ(buttons, (QStringList{"actNew", "actOpen", "actSave", "-", "actCopy", "actOpenStr",
                                    "-", "actUndo", "actRedo", "-", "actFind", "-", "actAddMemo",
                                    "actEditMemo", "actDelMemo"}));
}

TEST_F(MainWindowTest, EachActionFollowsTheStatesThatSwitchIt) {
    TBroltMemoAppForm& w = StartWith(kBook);
    auto enabled = [&](const char* name) {
        window->UpdateActions();
        return Act(name)->isEnabled();
    };
    auto menuItem = [&](const char* name) {
        emit window->findChild<QMenu*>("EditMenu")->aboutToShow();
        return Act(name)->isEnabled();
    };
    // Opened: nothing selected, no history, no search.
    List()->setFocus();
    for (const char* off : {"actCopy", "actUndo", "actRedo", "actFindNext", "actFindPrev",
                            "actEditMemo", "actDelMemo", "actOpenStr"}) {
        EXPECT_FALSE(enabled(off)) << off;
    }
    for (const char* on : {"actOpen", "actAddMemo", "actFind"}) {
        EXPECT_TRUE(enabled(on)) << on;
    }
    EXPECT_FALSE(menuItem("SelectAllItem"));
    EXPECT_FALSE(menuItem("ResetFindItem"));

    // A memo selected, the list focused.
    Select("カレー");
    EXPECT_TRUE(enabled("actCopy"));
    EXPECT_TRUE(enabled("actEditMemo"));
    EXPECT_TRUE(enabled("actDelMemo"));
    EXPECT_FALSE(enabled("actOpenStr"));

    // The content focused: copy and open need a selection there.
    Content()->setFocus();
    EXPECT_FALSE(enabled("actCopy"));
    EXPECT_TRUE(menuItem("SelectAllItem"));
    Run("SelectAllItem");
    EXPECT_TRUE(enabled("actCopy"));
    EXPECT_TRUE(enabled("actOpenStr"));
    // Selecting nothing disables the content, and open with it.
    w.SelectRow(-1);
    EXPECT_FALSE(enabled("actOpenStr"));

    // Undo and redo follow the history.
    w.Document().SubmitSetMemo(Cp("x"), Cp("y"));
    EXPECT_TRUE(enabled("actUndo"));
    EXPECT_FALSE(enabled("actRedo"));
    Run("actUndo");
    EXPECT_FALSE(enabled("actUndo"));
    EXPECT_TRUE(enabled("actRedo"));

    // Hits switch stepping and the clear item on.
    Find("果物");
    EXPECT_TRUE(enabled("actFindNext"));
    EXPECT_TRUE(enabled("actFindPrev"));
    EXPECT_TRUE(menuItem("ResetFindItem"));

    // An empty list: nothing to find.
    Start();
    EXPECT_FALSE(enabled("actFind"));
}

TEST_F(MainWindowTest, ViewSwitchesShowTheBarsStateWhenTheMenuOpens) {
    TBroltMemoAppForm& w = StartWith(kBook);
    auto* view = w.findChild<QMenu*>("menuView");
    Run("menuShowtbBasic");
    EXPECT_TRUE(w.findChild<QToolBar*>("tbBasic")->isHidden());
    emit view->aboutToShow();
    EXPECT_FALSE(Act("menuShowtbBasic")->isChecked());
    Run("menuShowStatus");
    EXPECT_TRUE(w.statusBar()->isHidden());
    Run("menuShowStatus");
    emit view->aboutToShow();
    EXPECT_TRUE(Act("menuShowStatus")->isChecked());
}

TEST_F(MainWindowTest, CopyTakesTheSelectionOrTheWholeMemoWithCrLfOrBeeps) {
    TBroltMemoAppForm& w = StartWith(kBook);
    QGuiApplication::clipboard()->setText("before");
    // Nothing selected: the command is disabled and does not run.
    List()->setFocus();
    Act("actCopy")->setEnabled(true);  // as if the rule had not run yet
    Act("actCopy")->trigger();
    EXPECT_EQ(Clipboard(), "before");

    // The list focused: headword and content, every line break CR LF.
    Select("りんご");
    Run("actCopy");
    EXPECT_EQ(Clipboard(), "りんご\r\n赤い果物。\r\n丸い。\r\n");
    // A memo from the edit dialog already breaks lines with CR LF.
    w.Document().SubmitSetMemo(Cp("メモ"), Cp("一\r\n二"));
    w.RefreshEntryList(false);
    Run("actCopy");
    EXPECT_EQ(Clipboard(), "メモ\r\n一\r\n二");

    // The content focused: only the selection, across its line break.
    Select("りんご");
    Content()->setFocus();
    QTextCursor cursor = Content()->textCursor();
    cursor.setPosition(2);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    Content()->setTextCursor(cursor);
    Run("actCopy");
    EXPECT_EQ(Clipboard(), "果物。\r\n丸");

    // Should the command run with nothing to copy, it beeps and copies nothing.
    cursor.clearSelection();
    Content()->setTextCursor(cursor);
    QGuiApplication::clipboard()->setText("kept");
    const int before = seam.beeps;
    CopyPastTheRule();
    EXPECT_EQ(seam.beeps, before + 1);
    EXPECT_EQ(Clipboard(), "kept");
}

TEST_F(MainWindowTest, KeysOfTheWindowWinOverTheContentAndTheList) {
    TBroltMemoAppForm& w = StartWith(kBook);
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    Select("りんご");
    Content()->setFocus();
    Content()->selectAll();
    QTest::keyClick(Content(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Clipboard(), "赤い果物。\r\n丸い。\r\n");  // the final line break too
    // Del deletes the memo wherever the focus is; Ctrl+Z brings it back.
    QTest::keyClick(Content(), Qt::Key_Delete);
    EXPECT_EQ(RowOf("りんご"), -1);
    QTest::keyClick(List(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Selected(), "りんご");
    // Alt puts the focus on the menu bar; the list stays what copy acts on.
    List()->setFocus();
    w.menuBar()->setFocus(Qt::MenuBarFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), w.menuBar());
    w.UpdateActions();
    EXPECT_TRUE(Act("actCopy")->isEnabled());
}

TEST_F(MainWindowTest, DeleteRemovesTheNodeAtOnceAndUndoSelectsTheMemoAgain) {
    TBroltMemoAppForm& w = StartWith(kBook);
    const std::vector<std::string> before = Headwords();
    Select(before[1]);
    Run("actDelMemo");
    EXPECT_TRUE(seam.shown.empty());  // no question
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(RowOf(before[1]), -1);
    // The node below takes the selection and is shown; the count follows.
    EXPECT_EQ(Selected(), before[2]);
    EXPECT_EQ(w.findChild<QLabel*>("lblEntryWord")->text().toStdString(), before[2]);
    EXPECT_TRUE(Content()->isEnabled());
    EXPECT_TRUE(w.Document().GetModified());
    EXPECT_EQ(w.findChild<QLabel*>("statusPanel1")->text(), "2/2件");

    Run("actUndo");
    EXPECT_EQ(Headwords(), before);
    EXPECT_EQ(Selected(), before[1]);
    EXPECT_EQ(w.findChild<QLabel*>("statusPanel1")->text(), "2/3件");

    // The last node: the one above takes the selection; an emptied list
    // shows nothing.
    Select(before[2]);
    Run("actDelMemo");
    EXPECT_EQ(Selected(), before[1]);
    Run("actDelMemo");
    Run("actDelMemo");
    EXPECT_EQ(Rows(), 0);
    EXPECT_FALSE(Content()->isEnabled());
    EXPECT_EQ(w.findChild<QLabel*>("statusPanel1")->text(), "0/0件");
}

TEST_F(MainWindowTest, AddSelectsTheNewMemoAtItsPlace) {
    TBroltMemoAppForm& w = StartWith(kBook);
    RunEditDialog("actAddMemo", "みかん", "黄色い。\n冬の果物。");
    EXPECT_EQ(Rows(), 4);
    EXPECT_EQ(Selected(), "みかん");
    EXPECT_EQ(w.Document().Content(Cp("みかん")), Cp("黄色い。\r\n冬の果物。"));
    EXPECT_EQ(Content()->toPlainText(), "黄色い。\n冬の果物。");
    // Editing keeps the headword: one command replaces the content.
    RunEditDialog("actEditMemo", "みかん", "酸っぱい。");
    EXPECT_EQ(w.Document().Content(Cp("みかん")), Cp("酸っぱい。"));
    Run("actUndo");
    EXPECT_EQ(w.Document().Content(Cp("みかん")), Cp("黄色い。\r\n冬の果物。"));
    EXPECT_EQ(Selected(), "みかん");
}

TEST_F(MainWindowTest, DoubleClickEditsTheSelectedMemoOnly) {
    StartWith(kBook);
    auto doubleClick = [&] {
        const QPointF at(5, 5);
        QMouseEvent click(QEvent::MouseButtonDblClick, at, List()->viewport()->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(List()->viewport(), &click);
    };
    // Nothing selected: no dialog.
    doubleClick();
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The first click of a double click selected the memo.
    Select("apple");
    QString shown;
    auto answered = AnswerNextDialog([&](QDialog* dialog) {
        shown = dialog->findChild<QLineEdit*>("edtEntryWord")->text();
        dialog->reject();
    });
    doubleClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return *answered; }, 2000));
    EXPECT_EQ(shown, "apple");
    EXPECT_FALSE(window->Document().GetModified());
}

TEST_F(MainWindowTest, RenameIsUndoneInTwoSteps) {
    TBroltMemoAppForm& w = StartWith(kBook);
    Select("カレー");
    RunEditDialog("actEditMemo", "カレーライス", "火曜日に作る。\n");
    EXPECT_EQ(RowOf("カレー"), -1);
    EXPECT_EQ(Selected(), "カレーライス");
    Run("actUndo");  // the memo under its new name goes
    EXPECT_EQ(RowOf("カレーライス"), -1);
    EXPECT_EQ(RowOf("カレー"), -1);
    EXPECT_EQ(Rows(), 2);
    Run("actUndo");  // the old one comes back
    EXPECT_EQ(Selected(), "カレー");
    EXPECT_EQ(w.Document().Content(Cp("カレー")), Cp("火曜日に作る。\n"));
    EXPECT_FALSE(w.Document().GetModified());
}

TEST_F(MainWindowTest, TemplateEditAndUndoLeaveTheListAsItWas) {
    TBroltMemoAppForm& w = StartWith(kBook);
    Select("apple");
    const std::vector<std::string> before = Headwords();
    RunEditDialog("EditTemplateItem", "日付", "天気:");
    EXPECT_EQ(w.Document().TemplateHeadword(), Cp("日付"));
    EXPECT_EQ(w.Document().TemplateContent(), Cp("天気:"));
    EXPECT_EQ(Headwords(), before);
    EXPECT_EQ(Selected(), "apple");
    Run("actUndo");
    EXPECT_EQ(w.Document().TemplateHeadword(), "");
    EXPECT_EQ(Headwords(), before);
}

TEST_F(MainWindowTest, AboutBoxOpensCentredOverTheWindow) {
    TBroltMemoAppForm& w = StartWith(kBook);
    QPoint centre;
    auto answered = AnswerNextDialog([&](QDialog* dialog) {
        EXPECT_NE(qobject_cast<TAboutBox*>(dialog), nullptr);
        centre = dialog->frameGeometry().center();
        dialog->accept();
    });
    Run("AboutItem");
    ASSERT_TRUE(*answered);
    EXPECT_LE((centre - w.frameGeometry().center()).manhattanLength(), 8);
}

}  // namespace
