#include "app/AppForm.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>

namespace {

// A command: its menu caption, its hint (menus and the status bar), the
// shorter hint of its tool button, its image and shortcut.
struct ActionSpec {
    const char* name;
    const char* caption;
    const char* menuCaption;
    const char* hint;
    const char* icon;
    const char* shortcut;
};

QAction* MakeAction(QObject* owner, const ActionSpec& spec) {
    auto* action = new QAction(QString::fromUtf8(spec.menuCaption), owner);
    action->setObjectName(spec.name);
    action->setIconText(QString::fromUtf8(spec.caption));
    action->setStatusTip(QString::fromUtf8(spec.hint));
    action->setIcon(QIcon(QString(":/icons/%1.svg").arg(spec.icon)));
    action->setShortcut(QKeySequence(QString::fromUtf8(spec.shortcut)));
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
    actNew =
        MakeAction(this, {"actNew", "新規作成", "新規作成(&N)", "新規作成する", "new", "Ctrl+N"});
    actOpen =
        MakeAction(this, {"actOpen", "開く", "開く(&O)...", "既存の文書を開く", "open", "Ctrl+O"});
    actSave = MakeAction(this, {"actSave", "保存", "保存(&S)", "変更を保存する", "save", "Ctrl+S"});
    // Shortcuts work with the tool bar and the menus hidden as well.
    addActions({actNew, actOpen, actSave});
    ConnectAction(actNew, &TBroltMemoAppForm::actNewExecute);
    ConnectAction(actOpen, &TBroltMemoAppForm::actOpenExecute);
    ConnectAction(actSave, &TBroltMemoAppForm::actSaveExecute);

    SaveAsItem = MakeItem(this, "SaveAsItem", "名前を付けて保存(&A)...",
                          "現在のファイルに名前を付けて保存する");
    connect(SaveAsItem, &QAction::triggered, this, [this] { SaveAsItemClick(); });
    SettingItem = MakeItem(this, "SettingItem", "設定(&P)...", "動作環境を設定する");
    connect(SettingItem, &QAction::triggered, this, [this] { SettingItemClick(); });
    ExitWithCancelItem = MakeItem(this, "ExitWithCancelItem", "変更を破棄して終了(&C)",
                                  "すべての変更を保存しないで終了する");
    connect(ExitWithCancelItem, &QAction::triggered, this, [this] { ExitWithCancelItemClick(); });
    ExitItem = MakeItem(this, "ExitItem", "終了(&X)", "終了する");
    ExitItem->setShortcut(QKeySequence("Alt+X"));
    connect(ExitItem, &QAction::triggered, this, [this] { ExitItemClick(); });
    addAction(ExitItem);

    menuShowtbBasic =
        MakeItem(this, "menuShowtbBasic", "ツールバー(&T)", "ツールバーの表示／非表示を設定する");
    menuShowtbBasic->setCheckable(true);
    menuShowtbBasic->setChecked(true);
    connect(menuShowtbBasic, &QAction::triggered, this, [this] { menuShowtbBasicClick(); });
    menuShowStatus = MakeItem(this, "menuShowStatus", "ステータスバー(&S)",
                              "ステータスバーの表示／非表示を設定する");
    menuShowStatus->setCheckable(true);
    menuShowStatus->setChecked(true);
    connect(menuShowStatus, &QAction::triggered, this, [this] { menuShowStatusClick(); });
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

void TBroltMemoAppForm::BuildMenus() {
    FileMenu = menuBar()->addMenu("ファイル(&F)");
    FileMenu->setObjectName("FileMenu");
    FileMenu->addActions({actNew, actOpen, actSave});
    FileMenu->addAction(SaveAsItem);
    FileMenu->addSeparator();
    FileMenu->addAction(SettingItem);
    FileMenu->addSeparator();
    FileMenu->addAction(ExitWithCancelItem);
    FileMenu->addAction(ExitItem);

    menuView = menuBar()->addMenu("表示(&V)");
    menuView->setObjectName("menuView");
    menuView->addAction(menuShowtbBasic);
    menuView->addAction(menuShowStatus);

    for (QMenu* menu : {FileMenu, menuView}) {
        connect(menu, &QMenu::aboutToShow, this, [this] {
            UpdateActions();
            UpdateMenuState();
        });
    }
}

void TBroltMemoAppForm::BuildToolBar() {
    tbBasic = new QToolBar("基本ツールバー", this);
    tbBasic->setObjectName("tbBasic");
    tbBasic->setMovable(false);
    tbBasic->setFloatable(false);
    tbBasic->setIconSize(QSize(16, 16));
    addToolBar(Qt::TopToolBarArea, tbBasic);
    const std::pair<QAction*, const char*> buttons[] = {
        {actNew, "新規作成"}, {actOpen, "開く"}, {actSave, "保存"}};
    for (auto [action, hint] : buttons) {
        tbBasic->addAction(action);
        action->setToolTip(QString::fromUtf8(hint));
        auto* button = qobject_cast<QToolButton*>(tbBasic->widgetForAction(action));
        button->setObjectName(QString("tbtn") + action->objectName().mid(3));
        button->setFixedSize(24, 24);
        new ToolButtonHint(button, QString::fromUtf8(hint));
    }
}

void TBroltMemoAppForm::UpdateActions() {
    actNew->setEnabled(!memoDoc.FileName().empty() || memoDoc.GetModified());
    actSave->setEnabled(memoDoc.GetModified());
}

void TBroltMemoAppForm::UpdateMenuState() {
    menuShowtbBasic->setChecked(!tbBasic->isHidden());
    menuShowStatus->setChecked(!statusBar()->isHidden());
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
