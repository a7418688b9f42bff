#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <memory>

#include "dialogs/BmDFind.h"
#include "support/Cp932.h"
#include "support/Message.h"
#include "tests/ui/ScriptedSeam.h"

namespace {

class FindDlgTest : public ::testing::Test {
  protected:
    static QComboBox* Combo(TFindDlg& dlg) { return dlg.findChild<QComboBox*>("cmbFindWord"); }
    // Opens a find dialog, enters `text` and closes it with `result`.
    std::unique_ptr<TFindDlg> Run(const QString& text, int result) {
        auto dlg = std::make_unique<TFindDlg>(nullptr);
        dlg->show();
        Combo(*dlg)->setEditText(text);
        dlg->done(result);
        return dlg;
    }
    static QStringList Items(TFindDlg& dlg) {
        QStringList items;
        for (int i = 0; i < Combo(dlg)->count(); ++i) {
            items << Combo(dlg)->itemText(i);
        }
        return items;
    }

    ScriptedSeam seam;
};

TEST_F(FindDlgTest, HistoryListsTheLatestSearchFirstWithAnEmptyField) {
    Run("A", QDialog::Accepted);
    Run("B", QDialog::Accepted);
    auto last = Run("A", QDialog::Accepted);
    EXPECT_EQ(last->result(), QDialog::Accepted);
    EXPECT_EQ(last->GetFindWord(), "A");

    TFindDlg next(nullptr);
    EXPECT_EQ(next.windowTitle(), "検索");
    EXPECT_EQ(Items(next).mid(0, 2), QStringList({"A", "B"}));
    EXPECT_EQ(Items(next).count("A"), 1);
    EXPECT_EQ(Combo(next)->currentText(), "");

    // Cancel records the text too, an empty one included.
    Run("", QDialog::Rejected);
    TFindDlg afterCancel(nullptr);
    EXPECT_EQ(Items(afterCancel).mid(0, 3), QStringList({"", "A", "B"}));
    EXPECT_EQ(TFindDlg::History().mid(TFindDlg::History().size() - 3), QStringList({"B", "A", ""}));
    EXPECT_TRUE(seam.shown.empty());
}

TEST_F(FindDlgTest, OkRefusesAnEmptyOrUnusableString) {
    auto empty = Run("", QDialog::Accepted);
    EXPECT_TRUE(empty->isVisible());
    ASSERT_EQ(seam.shown.size(), 1u);
    EXPECT_EQ(seam.shown[0].text.toStdString(), Message(21));
    EXPECT_EQ(seam.shown[0].style, 0x40u);
    EXPECT_EQ(empty->focusWidget(), Combo(*empty));

    auto emoji = Run("会議😀", QDialog::Accepted);
    EXPECT_TRUE(emoji->isVisible());
    ASSERT_EQ(seam.shown.size(), 2u);
    EXPECT_TRUE(seam.shown[1].text.contains("U+1F600"));
    EXPECT_EQ(Combo(*emoji)->currentText(), "会議😀");

    // Enter in the edit field presses OK.
    TFindDlg japanese(nullptr);
    japanese.show();
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, "会議");
    QApplication::sendEvent(Combo(japanese)->lineEdit(), &typed);
    QTest::keyClick(Combo(japanese)->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(japanese.result(), QDialog::Accepted);
    EXPECT_EQ(japanese.GetFindWord(), cp932::EncodeUtf8("会議"));
}

}  // namespace
