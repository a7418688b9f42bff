#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <string>

#include "app/Settings.h"
#include "dialogs/BmDEdit.h"
#include "memo/BroltMemoDoc.h"
#include "support/Cp932.h"
#include "support/Message.h"
#include "tests/ui/ScriptedSeam.h"

namespace {

std::string Sjis(const char* utf8) {
    return cp932::EncodeUtf8(utf8);
}

class EditMemoDlgTest : public ::testing::Test {
  protected:
    EditMemoDlgTest() {
        doc.SubmitSetMemo("ABC", "abc\n");
        doc.SubmitSetMemo("ABC(2)", "abc 2\n");
        doc.SubmitSetMemo(Sjis("予定"), Sjis("会議\n"));
        doc.SubmitSetTemplate(Sjis("雛形"), Sjis("一行目\n二行目\n"));
    }

    // Opens the dialog as the main window does: created, told the memo, shown.
    std::unique_ptr<TEditMemoDlg> Open(bool templateMode, const std::string& entry = {}) {
        auto dlg = std::make_unique<TEditMemoDlg>(nullptr, templateMode, &doc);
        if (!entry.empty()) {
            dlg->SetEntryWord(entry);
        }
        dlg->show();
        return dlg;
    }
    static QLineEdit* Headword(TEditMemoDlg& dlg) {
        return dlg.findChild<QLineEdit*>("edtEntryWord");
    }
    static QPlainTextEdit* Content(TEditMemoDlg& dlg) {
        return dlg.findChild<QPlainTextEdit*>("memoContent");
    }
    static QPushButton* Ok(TEditMemoDlg& dlg) { return dlg.findChild<QPushButton*>("btnOK"); }
    // Fills both fields and presses OK; true when the dialog closed with OK.
    static bool Submit(TEditMemoDlg& dlg, const QString& headword, const QString& content) {
        Headword(dlg)->setText(headword);
        Content(dlg)->setPlainText(content);
        dlg.accept();
        return !dlg.isVisible() && dlg.result() == QDialog::Accepted;
    }

    ScriptedSeam seam;
    BroltMemoDoc doc;
};

TEST_F(EditMemoDlgTest, AddStartsFromTheTemplateAndEditFromTheMemo) {
    auto add = Open(false);
    EXPECT_EQ(add->windowTitle(), QString::fromStdString(Message(2)));
    EXPECT_EQ(Headword(*add)->text(), "雛形");
    EXPECT_EQ(Content(*add)->toPlainText(), "一行目\n二行目\n");
    EXPECT_EQ(add->focusWidget(), Headword(*add));

    auto edit = Open(false, Sjis("予定"));
    EXPECT_EQ(Headword(*edit)->text(), "予定");
    EXPECT_EQ(Content(*edit)->toPlainText(), "会議\n");
    ASSERT_TRUE(Submit(*edit, "予定", "会議\n議事録"));
    EXPECT_EQ(edit->GetEntryWord(), Sjis("予定"));  // its own headword is no clash
    EXPECT_EQ(edit->GetContent(), Sjis("会議\r\n議事録"));
}

TEST_F(EditMemoDlgTest, EmptyLineBeforeTheLastIsRefused) {
    struct Case {
        const char* content;
        bool accepted;
        const char* headword;  // results when accepted
        const char* stored;
    };
    const Case cases[] = {
        {"text\n\nmore", false, "", ""},
        {"\n\n", false, "", ""},
        {"text\n\n", true, "H", "text\r\n\r\n"},
        {"text\n", true, "H", "text\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        seam.shown.clear();
        auto dlg = Open(false);
        EXPECT_EQ(Submit(*dlg, "H", QString::fromUtf8(c.content)), c.accepted);
        if (c.accepted) {
            EXPECT_TRUE(seam.shown.empty());
            EXPECT_EQ(dlg->GetEntryWord(), c.headword);
            EXPECT_EQ(dlg->GetContent(), c.stored);
        } else {
            ASSERT_EQ(seam.shown.size(), 1u);
            EXPECT_EQ(seam.shown[0].text.toStdString(), Message(21));
            EXPECT_EQ(seam.shown[0].style, 0x40u);
            EXPECT_TRUE(dlg->isVisible());
            EXPECT_EQ(dlg->focusWidget(), Content(*dlg));
        }
    }
}

TEST_F(EditMemoDlgTest, EmptyHeadwordTakesTheFirstContentLine) {
    auto dlg = Open(false);
    ASSERT_TRUE(Submit(*dlg, "", "題名\n本文\n続き"));
    EXPECT_EQ(dlg->GetEntryWord(), Sjis("題名"));
    EXPECT_EQ(dlg->GetContent(), Sjis("本文\r\n続き"));

    // A single line break: OK is enabled and gives an empty memo.
    auto blank = Open(false);
    Headword(*blank)->clear();
    Content(*blank)->setPlainText("\n");
    EXPECT_TRUE(Ok(*blank)->isEnabled());
    blank->accept();
    ASSERT_EQ(blank->result(), QDialog::Accepted);
    EXPECT_EQ(blank->GetEntryWord(), "");
    EXPECT_EQ(blank->GetContent(), "");
    EXPECT_TRUE(seam.shown.empty());
}

TEST_F(EditMemoDlgTest, TakenHeadwordGetsTheNextFreeNumber) {
    auto add = Open(false);
    ASSERT_TRUE(Submit(*add, "ABC", "x"));
    EXPECT_EQ(add->GetEntryWord(), "ABC(3)");

    auto rename = Open(false, "ABC(2)");
    ASSERT_TRUE(Submit(*rename, "予定", "x"));
    EXPECT_EQ(rename->GetEntryWord(), Sjis("予定(2)"));

    // The template's headword is made unique against the memos' too.
    auto tmpl = Open(true);
    ASSERT_TRUE(Submit(*tmpl, "ABC", ""));
    EXPECT_EQ(tmpl->GetEntryWord(), "ABC(3)");
}

TEST_F(EditMemoDlgTest, UnchangedHeadwordKeepsItsBytes) {
    // 纊 has two CP932 codes; the memo file may hold either. Editing only the
    // content must not turn the headword into the other code, which the
    // memo book would then see as taken and number.
    const std::string necCode = "\xED\x40";
    doc.SubmitSetMemo(necCode, "old\n");
    auto dlg = Open(false, necCode);
    ASSERT_TRUE(Submit(*dlg, Headword(*dlg)->text(), "new"));
    EXPECT_EQ(dlg->GetEntryWord(), necCode);
    EXPECT_EQ(dlg->GetContent(), "new");
}

TEST_F(EditMemoDlgTest, TemplateModeShowsBlueAndAlwaysAllowsOk) {
    auto tmpl = Open(true);
    EXPECT_EQ(tmpl->windowTitle(), QString::fromStdString(Message(3)));
    EXPECT_EQ(Headword(*tmpl)->text(), "雛形");
    EXPECT_EQ(Headword(*tmpl)->palette().color(QPalette::Text), QColor(Qt::blue));
    EXPECT_EQ(Content(*tmpl)->palette().color(QPalette::Text), QColor(Qt::blue));
    Headword(*tmpl)->clear();
    Content(*tmpl)->clear();
    EXPECT_TRUE(Ok(*tmpl)->isEnabled());

    auto memo = Open(false);
    EXPECT_NE(Headword(*memo)->palette().color(QPalette::Text), QColor(Qt::blue));
    Headword(*memo)->clear();
    Content(*memo)->clear();
    EXPECT_FALSE(Ok(*memo)->isEnabled());
    // Typed Japanese text (QTest::keyClicks cannot type it) enables OK.
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, "メモ");
    QApplication::sendEvent(Headword(*memo), &typed);
    EXPECT_TRUE(Ok(*memo)->isEnabled());
    memo->accept();
    EXPECT_EQ(memo->GetEntryWord(), Sjis("メモ"));
}

TEST_F(EditMemoDlgTest, EnterBreaksContentLinesAndConfirmsTheHeadword) {
    auto dlg = Open(false);
    Content(*dlg)->clear();
    QTest::keyClicks(Content(*dlg), "a");
    QTest::keyClick(Content(*dlg), Qt::Key_Return);
    QTest::keyClicks(Content(*dlg), "b");
    EXPECT_TRUE(dlg->isVisible());
    Headword(*dlg)->setText("key");
    QTest::keyClick(Headword(*dlg), Qt::Key_Return);
    ASSERT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(dlg->GetContent(), "a\r\nb");

    auto cancelled = Open(false);
    QTest::keyClick(Content(*cancelled), Qt::Key_Escape);
    EXPECT_FALSE(cancelled->isVisible());
    EXPECT_EQ(cancelled->result(), QDialog::Rejected);
}

TEST_F(EditMemoDlgTest, SizeIsStoredOnCancelAndOk) {
    auto dlg = Open(false);
    dlg->resize(520, 410);
    dlg->reject();
    EXPECT_EQ(GetIniFile().ReadInteger("MemoDlg", "Width", 0), 520);
    EXPECT_EQ(GetIniFile().ReadInteger("MemoDlg", "Height", 0), 410);
    auto again = Open(false);
    EXPECT_EQ(again->size(), QSize(520, 410));
    again->resize(480, 330);
    ASSERT_TRUE(Submit(*again, "new", "x"));
    EXPECT_EQ(GetIniFile().ReadInteger("MemoDlg", "Width", 0), 480);
}

TEST_F(EditMemoDlgTest, TextAMemoCannotKeepIsRefused) {
    struct Case {
        const char* headword;
        const char* content;
        bool inHeadword;
        const char* named;  // in the message
    };
    const Case cases[] = {
        {"smile 😀", "x", true, "U+1F600"},
        {"ok", "한국어", false, "U+D55C"},
        {"ok", "caf\u00e9", false, "U+00E9"},
        {"ok",
         "a\x1a"
         "b",
         false, "U+001A"},            // its byte would end the memo file
        {"T>plan", "x", true, "T>"},  // the memo file's mark of the template
        {"", "T>plan\nx", false, "T>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        seam.shown.clear();
        auto dlg = Open(false);
        EXPECT_FALSE(Submit(*dlg, QString::fromUtf8(c.headword), QString::fromUtf8(c.content)));
        EXPECT_TRUE(dlg->isVisible());
        ASSERT_EQ(seam.shown.size(), 1u);
        EXPECT_TRUE(seam.shown[0].text.contains(c.named)) << seam.shown[0].text.toStdString();
        EXPECT_EQ(seam.shown[0].style, 0x40u);
        QWidget* field = c.inHeadword ? static_cast<QWidget*>(Headword(*dlg))
                                      : static_cast<QWidget*>(Content(*dlg));
        EXPECT_EQ(dlg->focusWidget(), field);
        // Nothing the user typed is lost.
        EXPECT_EQ(Headword(*dlg)->text(), QString::fromUtf8(c.headword));
    }
}

TEST_F(EditMemoDlgTest, PastedLineBreaksNeverReachTheHeadword) {
    auto dlg = Open(false);
    QLineEdit* headword = Headword(*dlg);
    headword->clear();
    QApplication::clipboard()->setText("件名\r\n二行目\n三行目");
    headword->paste();
    EXPECT_EQ(headword->text(), "件名 二行目 三行目");
    headword->setText("a\nb");
    ASSERT_TRUE(Submit(*dlg, headword->text(), "x"));
    EXPECT_EQ(dlg->GetEntryWord(), "a b");
}

}  // namespace
