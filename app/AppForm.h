#pragma once

// The main window: the headword list on the left, the selected memo on the
// right, menus, tool bar and status bar. It wires actions to the document,
// the list model and the settings; its code is split by concern:
//   AppForm.cpp          construction, widgets, window events, idle hook
//   AppFormActions.cpp   actions, menus, tool bar, enabled states
//   AppFormEdit.cpp      copy, undo, redo, add, edit, delete, template, about
//   AppFormSearch.cpp    find, hit marks, stepping, opening a selected string
//   AppFormDocument.cpp  start-up, new/open/save, questions, closing
//   AppFormList.cpp      the headword list, the memo view, the status bar
//   AppFormSettings.cpp  window settings, fonts, the settings dialog

#include <QMainWindow>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

#include "memo/BroltMemoDoc.h"

class EntryListModel;
class QAction;
class QKeyEvent;
class QLabel;
class QListView;
class QMenu;
class QPlainTextEdit;
class QPoint;
class QSplitter;
class QToolBar;
class QWidget;
class RecentUsedFilesMenu;

class TBroltMemoAppForm : public QMainWindow {
    Q_OBJECT
  public:
    explicit TBroltMemoAppForm(QWidget* parent = nullptr);
    ~TBroltMemoAppForm() override;

    // Reads the settings, opens the files of the command line (the program's
    // arguments without its name) or the last file, and fills the list.
    void FormCreate(const QStringList& arguments);

    // The document flows that the commands share.
    void UpdateTitle();
    void NewDocument();
    bool OpenDocument(const std::string& path);
    // 1 saved, 0 failed (the error was shown), -1 cancelled in the dialog.
    int SaveDocument(bool useCurrentName);
    int AskSaveChanges();
    bool QuerySaveModified();

    // The headword list and the memo view.
    void RefreshEntryList(bool updateTitle);
    void ShowSelectedMemo();
    void UpdateStatusCount();
    void AdjustStatusPanels();
    void ApplyFonts();
    // Row of the selected headword, or -1.
    int SelectedRow() const;
    void SelectRow(int row);

    // Search: runs findText again and marks the hits; returns their number.
    int RunSearch(bool selectFirst);
    void MarkFoundWords(bool selectFirst);
    void StepToFoundWord(bool backward);
    void ClearSearch();
    const std::string& FindText() const { return findText; }
    const std::vector<std::string>& FoundWords() const { return foundWords; }

    // Settings.
    QString ReadFontSetting(int index) const;
    void LoadWindowSettings();
    void SaveWindowSettings();
    void SettingItemClick();

    BroltMemoDoc& Document() { return memoDoc; }
    RecentUsedFilesMenu& RecentFiles() { return *recentFiles; }
    // Recomputes the enabled states of the actions (the update handlers).
    void UpdateActions();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    friend class MainWindowTest;  // reaches a command past its enabling rule

    struct Bounds {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };

    // AppForm.cpp
    void BuildWidgets();
    void AppIdle();

    // AppFormActions.cpp
    void CreateActions();
    void BuildMenus();
    void BuildToolBar();
    void UpdateMenuState();
    void MenuClick();
    void ConnectAction(QAction* action, void (TBroltMemoAppForm::*handler)());
    void ConnectItem(QAction* item, void (TBroltMemoAppForm::*handler)());
    void actNewExecute();
    void actOpenExecute();
    void actSaveExecute();
    void SaveAsItemClick();
    void ExitItemClick();
    void ExitWithCancelItemClick();
    void menuShowtbBasicClick();
    void menuShowStatusClick();
    // The focused control of the window, as the enabling rules see it: the
    // menu bar takes the focus while it is worked with the keyboard, but the
    // control focused before it stays the one the commands act on.
    QWidget* ActiveControl() const;
    bool ContentFocused() const;
    bool ListFocused() const;
    bool ContentHasSelection() const;
    // The content's selected text, its line breaks as CR LF.
    QString ContentSelection() const;
    // Lets the window's shortcuts win over the keys the content and the list
    // would take for themselves (Ctrl+C, Del, Ctrl+Z ...).
    bool IsWindowShortcut(const QKeyEvent* key) const;

    // AppFormEdit.cpp
    void actCopyExecute();
    void actUndoExecute();
    void actRedoExecute();
    void actAddMemoExecute();
    void actEditMemoExecute();
    void actDelMemoExecute();
    void EditMemoWithDialog(bool addNew);
    void EditTemplateItemClick();
    void SelectAllItemClick();
    void AboutItemClick();
    void treeEntryWordDblClick();
    void ShowEntryPopup(const QPoint& pos);

    // AppFormSearch.cpp
    void actFindExecute();
    void actFindNextExecute();
    void actFindPrevExecute();
    void ResetFindItemClick();
    void actOpenStrExecute();
    // The row of the first hit in list order, or -1.
    int FirstHitRow() const;

    // AppFormDocument.cpp
    void RecentFileClick(QAction* sender);
    bool FormCloseQuery();
    void FormClose();

    // AppFormList.cpp
    void BeginListRefill();
    void EndListRefill();
    void UpdateContentState();
    void treeEntryWordChange();
    void FitLabelHeight();

    // AppFormSettings.cpp
    void RecordNormalBounds();
    void AppMinimize();
    void AppRestore();

    // The window's state, in the order of its life.
    BroltMemoDoc memoDoc;
    bool boundsChanged = false;
    bool appMinimized = false;
    Bounds normalBounds;
    std::string findText;
    std::vector<std::string> foundWords;  // sorted bytewise
    bool refillingList = false;
    std::unique_ptr<RecentUsedFilesMenu> recentFiles;
    // A stored outer size applied before the frame was known; the client
    // area is corrected once the frame shows (else every start would grow
    // the window by its frame).
    QSize pendingOuterSize;
    // The save dialog starts from the name it had at its last use.
    QString saveDialogName = "Memo.txt";

    // Widgets (owned by the window).
    QToolBar* tbBasic = nullptr;
    QSplitter* spltEntry = nullptr;
    QListView* treeEntryWord = nullptr;
    EntryListModel* entryModel = nullptr;
    QWidget* pnlContent = nullptr;
    QLabel* lblEntryWord = nullptr;
    QPlainTextEdit* memoContent = nullptr;
    QLabel* statusPanel1 = nullptr;
    QLabel* statusPanel2 = nullptr;
    QPointer<QWidget> lastControl;  // focused last, the menu bar aside

    // Actions and the menu items of their own.
    QAction* actNew = nullptr;
    QAction* actOpen = nullptr;
    QAction* actSave = nullptr;
    QAction* actCopy = nullptr;
    QAction* actUndo = nullptr;
    QAction* actRedo = nullptr;
    QAction* actFind = nullptr;
    QAction* actFindNext = nullptr;
    QAction* actFindPrev = nullptr;
    QAction* actAddMemo = nullptr;
    QAction* actEditMemo = nullptr;
    QAction* actDelMemo = nullptr;
    QAction* actOpenStr = nullptr;
    QMenu* FileMenu = nullptr;
    QMenu* EditMenu = nullptr;
    QMenu* menuView = nullptr;
    QMenu* MemoMenu = nullptr;
    QMenu* HelpMenu = nullptr;
    QMenu* puMainMenu = nullptr;
    QAction* SaveAsItem = nullptr;
    QAction* SettingItem = nullptr;
    QAction* ExitWithCancelItem = nullptr;
    QAction* ExitItem = nullptr;
    QAction* menuShowtbBasic = nullptr;
    QAction* menuShowStatus = nullptr;
    QAction* SelectAllItem = nullptr;
    QAction* ResetFindItem = nullptr;
    QAction* EditTemplateItem = nullptr;
    QAction* AboutItem = nullptr;
};
