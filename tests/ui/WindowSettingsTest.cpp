// Window settings written at close and read back at start, fonts, the
// settings dialog and the placement of dialogs.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <functional>

#include "app/RecentUsedFilesMenu.h"
#include "dialogs/BmDSttng.h"
#include "support/CenterOverForm.h"
#include "tests/ui/AppFormFixture.h"

namespace {

// Lets the event loop wait once, so that the idle hook runs.
void Idle() {
    QEventLoop loop;
    QTimer::singleShot(10, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs `answer` on the modal dialog that the next call opens.
void OnNextDialog(std::function<void(TSettingDlg&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<TSettingDlg*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no settings dialog is open";
            return;
        }
        answer(*dialog);
    });
}

}  // namespace

TEST_F(AppFormTest, FirstStartUsesTheDesignAndCloseWritesTheWholeWindowSection) {
    TBroltMemoAppForm& w = Start();
    w.show();
    Idle();
    auto* list = w.findChild<QListView*>("treeEntryWord");
    const QRect outer = w.frameGeometry();
    EXPECT_EQ(w.width(), 472);
    EXPECT_EQ(list->width(), 472 / 3);
    EXPECT_TRUE(w.findChild<QToolBar*>("tbBasic")->isVisible());
    EXPECT_TRUE(w.statusBar()->isVisible());
    ASSERT_TRUE(w.close());

    EXPECT_EQ(Ini().ReadString("Window", "WindowState", ""), "Normal");
    EXPECT_EQ(Ini().ReadString("Window", "RestoreMaximize", ""), "0");
    EXPECT_EQ(Ini().ReadInteger("Window", "Left", -1), outer.left());
    EXPECT_EQ(Ini().ReadInteger("Window", "Top", -1), outer.top());
    EXPECT_EQ(Ini().ReadInteger("Window", "Width", -1), outer.width());
    EXPECT_EQ(Ini().ReadInteger("Window", "Height", -1), outer.height());
    EXPECT_EQ(Ini().ReadInteger("Window", "EntryWordWidth", -1), 472 / 3);
    EXPECT_EQ(Ini().ReadString("Window", "ShowBasicToolBar", ""), "1");
    EXPECT_EQ(Ini().ReadString("Window", "ShowStatusBar", ""), "1");
    EXPECT_EQ(Ini().ReadInteger("RecentUsedFiles", "Num", -1), 0);
}

TEST_F(AppFormTest, PlacementListWidthAndBarsSurviveARestart) {
    TBroltMemoAppForm& w = Start();
    w.show();
    w.setGeometry(120, 90, 600, 420);
    w.findChild<QSplitter*>("spltEntry")->setSizes({200, 396});
    w.findChild<QAction*>("menuShowtbBasic")->trigger();  // hides the tool bar
    Idle();
    const QRect before = w.frameGeometry();
    ASSERT_TRUE(w.close());
    EXPECT_EQ(Ini().ReadString("Window", "ShowBasicToolBar", ""), "0");

    TBroltMemoAppForm& again = Start();
    again.show();
    Idle();
    EXPECT_EQ(again.frameGeometry(), before);
    EXPECT_EQ(again.findChild<QListView*>("treeEntryWord")->width(), 200);
    EXPECT_FALSE(again.findChild<QToolBar*>("tbBasic")->isVisible());
    EXPECT_FALSE(again.findChild<QAction*>("menuShowtbBasic")->isChecked());
    EXPECT_TRUE(again.statusBar()->isVisible());
}

TEST_F(AppFormTest, MaximizedKeepsTheNormalBoundsAndStartsMaximized) {
    TBroltMemoAppForm& w = Start();
    w.show();
    w.setGeometry(50, 60, 500, 350);
    Idle();
    const QRect normal = w.frameGeometry();
    w.showMaximized();
    Idle();
    ASSERT_TRUE(w.isMaximized());
    ASSERT_TRUE(w.close());
    EXPECT_EQ(Ini().ReadString("Window", "WindowState", ""), "Maximized");
    EXPECT_EQ(Ini().ReadString("Window", "RestoreMaximize", ""), "1");
    EXPECT_EQ(Ini().ReadInteger("Window", "Left", -1), normal.left());
    EXPECT_EQ(Ini().ReadInteger("Window", "Width", -1), normal.width());

    TBroltMemoAppForm& again = Start();
    EXPECT_TRUE(again.windowState() & Qt::WindowMaximized);
    again.show();
    again.showNormal();
    Idle();
    EXPECT_EQ(again.frameGeometry(), normal);
}

TEST_F(AppFormTest, MinimizedStartsMinimizedAndRestoresToWhatItWas) {
    for (bool fromMaximized : {false, true}) {
        SCOPED_TRACE(fromMaximized ? "from maximized" : "from normal");
        TBroltMemoAppForm& w = Start();
        w.show();
        w.setGeometry(70, 80, 480, 330);
        Idle();
        const QRect normal = w.frameGeometry();
        if (fromMaximized) {
            w.showMaximized();
        }
        w.showMinimized();
        Idle();
        ASSERT_TRUE(w.close());
        EXPECT_EQ(Ini().ReadString("Window", "WindowState", ""), "Minimized");
        EXPECT_EQ(Ini().ReadBool("Window", "RestoreMaximize", !fromMaximized), fromMaximized);
        EXPECT_EQ(Ini().ReadInteger("Window", "Width", -1), normal.width());

        TBroltMemoAppForm& again = Start();
        EXPECT_TRUE(again.windowState() & Qt::WindowMinimized);
        EXPECT_EQ(bool(again.windowState() & Qt::WindowMaximized), fromMaximized);
        again.show();
        again.setWindowState(again.windowState() & ~Qt::WindowMinimized);  // restore
        Idle();
        EXPECT_EQ(again.isMaximized(), fromMaximized);
        ASSERT_TRUE(again.close());
        EXPECT_EQ(Ini().ReadString("Window", "WindowState", ""),
                  fromMaximized ? "Maximized" : "Normal");
        EXPECT_EQ(Ini().ReadInteger("Window", "Width", -1), normal.width());
    }
}

TEST_F(AppFormTest, ASettingsFileWithGarbageGivesTheDefaults) {
    std::ofstream(Path("settings.ini"), std::ios::binary)
        << "\xEF\xBB\xBFgarbage line\n[Window]\nLeft=abc\nTop=\nWidth=12x\nHeight=--3\n"
           "EntryWordWidth=wide\nShowStatusBar=yes\nWindowState=maximized\nFont0=\n"
           "Font1=,,,\n[RecentUsedFiles]\nNum=2000000000\n\x01\x02\xff";
    TBroltMemoAppForm& w = Start();
    w.show();
    Idle();
    EXPECT_EQ(w.width(), 472);
    EXPECT_EQ(w.findChild<QListView*>("treeEntryWord")->width(), 472 / 3);
    EXPECT_TRUE(w.statusBar()->isVisible());
    EXPECT_FALSE(w.isMaximized());
    EXPECT_EQ(w.RecentFiles().Count(), 0u);
    EXPECT_TRUE(seam.shown.empty());
    EXPECT_TRUE(w.close());
}

TEST(FontDescriptor, WritesFaceSizeBoldItalic) {
    QFont font("ＭＳ Ｐゴシック", 9);
    EXPECT_EQ(FontToString(font), "ＭＳ Ｐゴシック,9,0,0");
    font.setBold(true);
    font.setItalic(true);
    font.setPointSize(14);
    EXPECT_EQ(FontToString(font), "ＭＳ Ｐゴシック,14,1,1");
}

TEST(FontDescriptor, ReadsFieldsAndLeavesMissingOnesAlone) {
    struct Case {
        const char* text;
        QString family;
        int points;
        bool bold;
        bool italic;
    };
    const int fallback = QApplication::font().pointSize();
    const Case cases[] = {
        {"Foo,12,1,0", "Foo", 12, true, false},
        {"Foo, 14pt,0,7", "Foo", 14, false, true},
        {"NoSuchFace,0,1,0", "NoSuchFace", fallback, true, false},
        {"Foo,-4,x,", "Foo", fallback, false, false},
        {"Bar", "Bar", 30, true, true},  // fields missing: kept
        {"Baz,20", "Baz", 20, true, true},
        {"Huge,99999999999,0,0", "Huge", 1000, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        QFont font("Start", 30);
        font.setBold(true);
        font.setItalic(true);
        StringToFont(QString::fromUtf8(c.text), font);
        EXPECT_EQ(font.family(), c.family);
        EXPECT_EQ(font.pointSize(), c.points);
        EXPECT_EQ(font.bold(), c.bold);
        EXPECT_EQ(font.italic(), c.italic);
    }
}

TEST_F(AppFormTest, StoredFontsApplyToTheLabelAndTheContent) {
    Ini().WriteString("Window", "Font0", "IPAPGothic,20,1,0");
    TBroltMemoAppForm& w = Start();
    const QFont label = w.findChild<QLabel*>("lblEntryWord")->font();
    EXPECT_EQ(label.family(), "IPAPGothic");
    EXPECT_EQ(label.pointSize(), 20);
    EXPECT_TRUE(label.bold());
    const QFont content = w.findChild<QPlainTextEdit*>("memoContent")->font();
    EXPECT_EQ(FontToString(content), "ＭＳ Ｐゴシック,9,0,0");
    EXPECT_EQ(w.ReadFontSetting(1), "ＭＳ Ｐゴシック,9,0,0");
}

TEST_F(AppFormTest, SettingsDialogOkWritesTheFourValuesAndAppliesTheFonts) {
    Ini().WriteBool("Operation", "OpenLastFile", true);
    TBroltMemoAppForm& w = Start();
    QFont chosen("IPAPGothic", 16);
    chosen.setBold(true);
    seam.fonts = {std::nullopt, chosen};
    OnNextDialog([](TSettingDlg& d) {
        EXPECT_EQ(d.cmbFontItem->currentIndex(), 0);
        EXPECT_EQ(d.lblFontSample->text(), "見出しのフォント");
        EXPECT_TRUE(d.chkOpenLastFile->isChecked());
        EXPECT_FALSE(d.chkSaveAlways->isChecked());
        d.btnEditFont->click();  // cancelled: nothing changes
        EXPECT_EQ(d.GetFontDescriptor(0), "ＭＳ Ｐゴシック,9,0,0");
        d.btnEditFont->click();
        EXPECT_EQ(d.GetFontDescriptor(0), "IPAPGothic,16,1,0");
        EXPECT_EQ(d.lblFontSample->font().pointSize(), 16);
        d.cmbFontItem->setCurrentIndex(1);
        EXPECT_EQ(d.lblFontSample->text(), "内容のフォント");
        EXPECT_EQ(d.GetFontDescriptor(1), "ＭＳ Ｐゴシック,9,0,0");
        d.chkSaveAlways->setChecked(true);
        d.btnOK->click();
    });
    w.SettingItemClick();
    ASSERT_EQ(seam.fontDialogStart.size(), 2u);
    EXPECT_EQ(FontToString(seam.fontDialogStart[0]), "ＭＳ Ｐゴシック,9,0,0");
    EXPECT_EQ(Ini().ReadString("Window", "Font0", ""), "IPAPGothic,16,1,0");
    EXPECT_EQ(Ini().ReadString("Window", "Font1", ""), "ＭＳ Ｐゴシック,9,0,0");
    EXPECT_TRUE(ReadSaveAlways());
    EXPECT_TRUE(ReadOpenLastFile());
    EXPECT_EQ(w.findChild<QLabel*>("lblEntryWord")->font().pointSize(), 16);
}

TEST_F(AppFormTest, SettingsDialogCancelWritesNothing) {
    TBroltMemoAppForm& w = Start();
    seam.fonts = {QFont("IPAPGothic", 16)};
    OnNextDialog([](TSettingDlg& d) {
        d.btnEditFont->click();
        d.chkSaveAlways->setChecked(true);
        d.btnCancel->click();
    });
    w.SettingItemClick();
    EXPECT_FALSE(Ini().ValueExists("Window", "Font0"));
    EXPECT_FALSE(Ini().ValueExists("Operation", "SaveAlways"));
    EXPECT_EQ(w.findChild<QLabel*>("lblEntryWord")->font().pointSize(), 9);
}

TEST(CenterOverForm, CentresAndKeepsTheDialogOnTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    struct Case {
        const char* name;
        QRect main;
        QSize dialog;
        QPoint expected;
    };
    const int w = screen.width();
    const int h = screen.height();
    const Case cases[] = {
        {"centred", {100, 100, 400, 300}, {200, 100}, {200, 200}},
        {"odd difference truncates", {0, 0, 401, 301}, {200, 100}, {100, 100}},
        {"main half off the right", {w - 200, 100, 400, 300}, {200, 100}, {w - 200, 200}},
        {"main below the bottom", {100, h - 100, 400, 300}, {200, 100}, {200, h - 100}},
        {"main off the top left", {-400, -300, 400, 300}, {200, 100}, {0, 0}},
        {"taller than the screen", {100, 100, 400, 300}, {200, h + 100}, {200, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget main;
        main.setGeometry(c.main);
        QDialog dialog;
        dialog.setFixedSize(c.dialog);
        center_over_form(&main, &dialog);
        EXPECT_EQ(dialog.pos(), c.expected + screen.topLeft());
    }
}
