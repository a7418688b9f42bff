#include "app/AppForm.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>

#include <iterator>
#include <utility>

#include "app/EntryListModel.h"

namespace {

// A command: its menu caption, its hint (menus and the status bar), the
// shorter hint of its tool button, its image and shortcut.
struct ActionDef {
    const char* name;
    const char* caption;
    const char* menuCaption;
    const char* hint;
    const char* icon;
    const char* shortcut;
};

QAction* MakeAction(QObject* owner, const ActionDef& def) {
    auto* action = new QAction(QString::fromUtf8(def.menuCaption), owner);
    action->setObjectName(def.name);
    action->setIconText(QString::fromUtf8(def.caption));
    action->setStatusTip(QString::fromUtf8(def.hint));
    action->setIcon(QIcon(QString(":/icons/%1.svg").arg(def.icon)));
    action->setShortcut(QKeySequence(QString::fromUtf8(def.shortcut)));
    return action;
}

QAction* MakeItem(QObject* owner, const char* name, const char* caption, const char* hint) {
    auto* item = new QAction(QString::fromUtf8(caption), owner);
    item->setObjectName(name);
    item->setStatusTip(QString::fromUtf8(hint));
    return item;
}

// A tool button shows its own short hint as tool tip and in the status bar,
// in place of its action's long one.
class ToolButtonHint : public QObject {
  public:
    ToolButtonHint(QToolButton* button, const QString& hint) : QObject(button), text(hint) {
        button->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::StatusTip) {
            auto* tip = static_cast<QStatusTipEvent*>(event);
            if (!tip->tip().isEmpty() && tip->tip() != text) {
                QStatusTipEvent own(text);
                QCoreApplication::sendEvent(watched, &own);
                return true;
            }
        }
        return false;
    }

  private:
    QString text;
};

}  // namespace

void TBroltMemoAppForm::CreateActions() {
    const ActionDef defs[] = {
        {"actNew", "新規作成", "新規作成(&N)", "新規作成する", "new", "Ctrl+N"},
        {"actOpen", "開く", "開く(&O)...", "既存の文書を開く", "open", "Ctrl+O"},
        {"actSave", "保存", "保存(&S)", "変更を保存する", "save", "Ctrl+S"},
        {"actCopy", "コピー", "コピー(&C)",
         "選択されているメモ／テキストをクリップボードにコピーする", "copy", "Ctrl+C"},
        {"actUndo", "元に戻す", "元に戻す(&U)", "直前の操作を取り消す", "undo", "Ctrl+Z"},
        {"actRedo", "やり直し", "やり直し(&R)", "取り消した動作を再実行する", "redo", "Ctrl+Y"},
        {"actFind", "検索", "検索(&F)...", "検索する", "find", "Ctrl+F"},
        {"actFindNext", "次を検索", "次を検索(&N)", "次の検索項目を表示する", "find-next", "F3"},
        {"actFindPrev", "前を検索", "前を検索", "前の検索項目を表示する", "find-prev", "Shift+F3"},
        {"actAddMemo", "追加", "追加(&A)...", "メモを追加する", "add-memo", "Ins"},
        {"actEditMemo", "編集", "編集(&E)...", "メモを編集する", "edit-memo", "Ctrl+M"},
        {"actDelMemo", "削除", "削除(&D)...", "メモを削除する", "delete-memo", "Del"},
        {"actOpenStr", "選択文字列を開く", "選択文字列を開く(&O)",
         "選択されている文字列をシェルの機能で開く", "open-string", ""},
    };
    QAction** const targets[] = {&actNew,      &actOpen,    &actSave,     &actCopy,     &actUndo,
                                 &actRedo,     &actFind,    &actFindNext, &actFindPrev, &actAddMemo,
                                 &actEditMemo, &actDelMemo, &actOpenStr};
    void (TBroltMemoAppForm::*const handlers[])() = {
        &TBroltMemoAppForm::actNewExecute,      &TBroltMemoAppForm::actOpenExecute,
        &TBroltMemoAppForm::actSaveExecute,     &TBroltMemoAppForm::actCopyExecute,
        &TBroltMemoAppForm::actUndoExecute,     &TBroltMemoAppForm::actRedoExecute,
        &TBroltMemoAppForm::actFindExecute,     &TBroltMemoAppForm::actFindNextExecute,
        &TBroltMemoAppForm::actFindPrevExecute, &TBroltMemoAppForm::actAddMemoExecute,
        &TBroltMemoAppForm::actEditMemoExecute, &TBroltMemoAppForm::actDelMemoExecute,
        &TBroltMemoAppForm::actOpenStrExecute};
    for (std::size_t i = 0; i < std::size(defs); ++i) {
        QAction* action = MakeAction(this, defs[i]);
        *targets[i] = action;
        // Shortcuts work with the tool bar hidden and the menus closed.
        addAction(action);
        ConnectAction(action, handlers[i]);
    }
    // Disabled until the first update, as designed.
    for (QAction* action : {actFindNext, actFindPrev, actOpenStr}) {
        action->setEnabled(false);
    }

    SaveAsItem = MakeItem(this, "SaveAsItem", "名前を付けて保存(&A)...",
                          "現在のファイルに名前を付けて保存する");
    ConnectItem(SaveAsItem, &TBroltMemoAppForm::SaveAsItemClick);
    SettingItem = MakeItem(this, "SettingItem", "設定(&P)...", "動作環境を設定する");
    ConnectItem(SettingItem, &TBroltMemoAppForm::SettingItemClick);
    ExitWithCancelItem = MakeItem(this, "ExitWithCancelItem", "変更を破棄して終了(&C)",
                                  "すべての変更を保存しないで終了する");
    ConnectItem(ExitWithCancelItem, &TBroltMemoAppForm::ExitWithCancelItemClick);
    ExitItem = MakeItem(this, "ExitItem", "終了(&X)", "終了する");
    ExitItem->setShortcut(QKeySequence("Alt+X"));
    ConnectItem(ExitItem, &TBroltMemoAppForm::ExitItemClick);
    addAction(ExitItem);

    SelectAllItem = MakeItem(this, "SelectAllItem", "すべて選択(&A)", "内容をすべて選択する");
    SelectAllItem->setShortcut(QKeySequence("Ctrl+A"));
    ConnectItem(SelectAllItem, &TBroltMemoAppForm::SelectAllItemClick);
    addAction(SelectAllItem);
    ResetFindItem = MakeItem(this, "ResetFindItem", "検索結果のクリア(&R)", "検索結果をクリアする");
    ConnectItem(ResetFindItem, &TBroltMemoAppForm::ResetFindItemClick);
    EditTemplateItem = MakeItem(this, "EditTemplateItem", "テンプレートの編集(&T)...",
                                "メモ追加時のテンプレートを編集する");
    ConnectItem(EditTemplateItem, &TBroltMemoAppForm::EditTemplateItemClick);
    AboutItem = MakeItem(this, "AboutItem", "バージョン情報(&A)...", "バージョン情報を表示する");
    ConnectItem(AboutItem, &TBroltMemoAppForm::AboutItemClick);

    menuShowtbBasic =
        MakeItem(this, "menuShowtbBasic", "ツールバー(&T)", "ツールバーの表示／非表示を設定する");
    menuShowtbBasic->setCheckable(true);
    menuShowtbBasic->setChecked(true);
    ConnectItem(menuShowtbBasic, &TBroltMemoAppForm::menuShowtbBasicClick);
    menuShowStatus = MakeItem(this, "menuShowStatus", "ステータスバー(&S)",
                              "ステータスバーの表示／非表示を設定する");
    menuShowStatus->setCheckable(true);
    menuShowStatus->setChecked(true);
    ConnectItem(menuShowStatus, &TBroltMemoAppForm::menuShowStatusClick);
}

// The action runs only when its update handler, run once more right now,
// leaves it enabled.
void TBroltMemoAppForm::ConnectAction(QAction* action, void (TBroltMemoAppForm::*handler)()) {
    connect(action, &QAction::triggered, this, [this, action, handler] {
        UpdateActions();
        if (action->isEnabled()) {
            (this->*handler)();
        }
    });
}

void TBroltMemoAppForm::ConnectItem(QAction* item, void (TBroltMemoAppForm::*handler)()) {
    connect(item, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
}

void TBroltMemoAppForm::BuildMenus() {
    FileMenu = menuBar()->addMenu("ファイル(&F)");
    FileMenu->setObjectName("FileMenu");
    FileMenu->addActions({actNew, actOpen, actSave, SaveAsItem});
    FileMenu->addSeparator();
    FileMenu->addAction(SettingItem);
    FileMenu->addSeparator();
    FileMenu->addActions({ExitWithCancelItem, ExitItem});

    EditMenu = menuBar()->addMenu("編集(&E)");
    EditMenu->setObjectName("EditMenu");
    EditMenu->addActions({actUndo, actRedo});
    EditMenu->addSeparator();
    EditMenu->addActions({actCopy, SelectAllItem});
    EditMenu->addSeparator();
    EditMenu->addAction(actOpenStr);
    EditMenu->addSeparator();
    EditMenu->addActions({actFind, actFindNext, ResetFindItem});

    menuView = menuBar()->addMenu("表示(&V)");
    menuView->setObjectName("menuView");
    menuView->addActions({menuShowtbBasic, menuShowStatus});

    MemoMenu = menuBar()->addMenu("メモ(&M)");
    MemoMenu->setObjectName("MemoMenu");
    MemoMenu->addActions({actAddMemo, actEditMemo, actDelMemo});
    MemoMenu->addSeparator();
    MemoMenu->addAction(EditTemplateItem);

    HelpMenu = menuBar()->addMenu("ヘルプ(&H)");
    HelpMenu->setObjectName("Help");
    HelpMenu->addAction(AboutItem);

    puMainMenu = new QMenu(this);
    puMainMenu->setObjectName("puMainMenu");
    puMainMenu->addAction(actCopy);
    puMainMenu->addSeparator();
    puMainMenu->addActions({actAddMemo, actEditMemo, actDelMemo});
    puMainMenu->addSeparator();
    puMainMenu->addAction(actFind);

    // The View menu's check marks are brought up to date as it opens, too.
    for (QMenu* menu : {FileMenu, EditMenu, menuView, MemoMenu, HelpMenu, puMainMenu}) {
        connect(menu, &QMenu::aboutToShow, this, [this] { MenuClick(); });
    }
}

void TBroltMemoAppForm::BuildToolBar() {
    tbBasic = new QToolBar("基本ツールバー", this);
    tbBasic->setObjectName("tbBasic");
    tbBasic->setMovable(false);
    tbBasic->setFloatable(false);
    tbBasic->setIconSize(QSize(16, 16));
    addToolBar(Qt::TopToolBarArea, tbBasic);
    // nullptr: a separator.
    const std::pair<QAction*, const char*> buttons[] = {
        {actNew, "新規作成"}, {actOpen, "開く"},     {actSave, "保存"},
        {nullptr, nullptr},   {actCopy, "コピー"},   {actOpenStr, "選択文字列を開く"},
        {nullptr, nullptr},   {actUndo, "元に戻す"}, {actRedo, "やり直し"},
        {nullptr, nullptr},   {actFind, "検索"},     {nullptr, nullptr},
        {actAddMemo, "追加"}, {actEditMemo, "編集"}, {actDelMemo, "削除"}};
    for (auto [action, hint] : buttons) {
        if (!action) {
            tbBasic->addSeparator();
            continue;
        }
        tbBasic->addAction(action);
        action->setToolTip(QString::fromUtf8(hint));
        auto* button = qobject_cast<QToolButton*>(tbBasic->widgetForAction(action));
        button->setObjectName(QString("tbtn") + action->objectName().mid(3));
        button->setFixedSize(24, 24);
        new ToolButtonHint(button, QString::fromUtf8(hint));
    }
}

QWidget* TBroltMemoAppForm::ActiveControl() const {
    QWidget* focused = focusWidget();
    return qobject_cast<QMenuBar*>(focused) ? lastControl.data() : focused;
}

bool TBroltMemoAppForm::ContentFocused() const {
    return ActiveControl() == memoContent;
}

bool TBroltMemoAppForm::ListFocused() const {
    return ActiveControl() == treeEntryWord;
}

bool TBroltMemoAppForm::ContentHasSelection() const {
    return memoContent->textCursor().hasSelection();
}

void TBroltMemoAppForm::UpdateActions() {
    const bool selected = SelectedRow() >= 0;
    const bool hits = !foundWords.empty();
    actNew->setEnabled(!memoDoc.FileName().empty() || memoDoc.GetModified());
    actSave->setEnabled(memoDoc.GetModified());
    actCopy->setEnabled((ContentFocused() && ContentHasSelection()) || (ListFocused() && selected));
    actUndo->setEnabled(memoDoc.CanUndo());
    actRedo->setEnabled(memoDoc.CanRedo());
    actFind->setEnabled(entryModel->rowCount() > 0);
    actFindNext->setEnabled(hits);
    actFindPrev->setEnabled(hits);
    actEditMemo->setEnabled(selected);
    actDelMemo->setEnabled(selected);
    actOpenStr->setEnabled(memoContent->isEnabled() && ContentHasSelection());
}

void TBroltMemoAppForm::UpdateMenuState() {
    SelectAllItem->setEnabled(ContentFocused());
    ResetFindItem->setEnabled(!foundWords.empty());
    menuShowtbBasic->setChecked(!tbBasic->isHidden());
    menuShowStatus->setChecked(!statusBar()->isHidden());
}

void TBroltMemoAppForm::MenuClick() {
    UpdateActions();
    UpdateMenuState();
}

bool TBroltMemoAppForm::IsWindowShortcut(const QKeyEvent* key) const {
    const QKeySequence pressed(key->keyCombination());
    for (const QAction* action : actions()) {
        if (!action->shortcut().isEmpty() &&
            action->shortcut().matches(pressed) == QKeySequence::ExactMatch) {
            return true;
        }
    }
    return false;
}

void TBroltMemoAppForm::actNewExecute() {
    if (QuerySaveModified()) {
        NewDocument();
        RefreshEntryList(true);
    }
}

void TBroltMemoAppForm::actSaveExecute() {
    SaveDocument(!memoDoc.FileName().empty());
}

void TBroltMemoAppForm::SaveAsItemClick() {
    SaveDocument(false);
}

void TBroltMemoAppForm::ExitItemClick() {
    close();
}

void TBroltMemoAppForm::menuShowtbBasicClick() {
    // The item's check mark has already flipped: it is the wished state.
    tbBasic->setVisible(menuShowtbBasic->isChecked());
    menuShowtbBasic->setChecked(!tbBasic->isHidden());
}

void TBroltMemoAppForm::menuShowStatusClick() {
    statusBar()->setVisible(menuShowStatus->isChecked());
    menuShowStatus->setChecked(!statusBar()->isHidden());
}
