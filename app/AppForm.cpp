#include "app/AppForm.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

#include "app/EntryListModel.h"
#include "app/RecentUsedFilesMenu.h"
#include "support/Message.h"

namespace {
// The designed client area (below the menu bar).
constexpr int kClientWidth = 472;
constexpr int kClientHeight = 318;
constexpr int kListWidth = 136;
}  // namespace

TBroltMemoAppForm::TBroltMemoAppForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName("BroltMemoAppForm");
    setWindowTitle(QString::fromStdString(Message(0)));
    setWindowIcon(QIcon(":/icons/brolteck-memo.svg"));
    setFont(QFont("ＭＳ Ｐゴシック", 9));
    // No tool-bar toggling menu on the window's background.
    setContextMenuPolicy(Qt::PreventContextMenu);

    CreateActions();
    BuildMenus();
    BuildToolBar();
    BuildWidgets();
    recentFiles = std::make_unique<RecentUsedFilesMenu>(
        FileMenu, SettingItem, [this](QAction* item) { RecentFileClick(item); }, 5);

    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());

    // The idle hook: bounds tracking and the actions' enabled states run
    // whenever the event loop is about to wait.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            [this] {
                AppIdle();
                UpdateActions();
            });
    // And once more right before a shortcut is matched.
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now->window() == this && !qobject_cast<QMenuBar*>(now)) {
            lastControl = now;
        }
    });
}

TBroltMemoAppForm::~TBroltMemoAppForm() {
    qApp->removeEventFilter(this);
}

void TBroltMemoAppForm::BuildWidgets() {
    spltEntry = new QSplitter(Qt::Horizontal, this);
    spltEntry->setObjectName("spltEntry");
    spltEntry->setHandleWidth(4);
    spltEntry->setChildrenCollapsible(false);

    treeEntryWord = new QListView(spltEntry);
    treeEntryWord->setObjectName("treeEntryWord");
    treeEntryWord->setMinimumWidth(16);
    treeEntryWord->setUniformItemSizes(true);
    treeEntryWord->setIconSize(QSize(16, 16));
    treeEntryWord->setEditTriggers(QAbstractItemView::NoEditTriggers);
    treeEntryWord->setSelectionMode(QAbstractItemView::SingleSelection);
    entryModel = new EntryListModel(memoDoc.Data(), foundWords, this);
    treeEntryWord->setModel(entryModel);
    connect(treeEntryWord->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { treeEntryWordChange(); });
    treeEntryWord->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(treeEntryWord, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowEntryPopup(pos); });

    pnlContent = new QWidget(spltEntry);
    pnlContent->setObjectName("pnlContent");
    pnlContent->setMinimumWidth(16);
    auto* layout = new QVBoxLayout(pnlContent);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    lblEntryWord = new QLabel(pnlContent);
    lblEntryWord->setObjectName("lblEntryWord");
    lblEntryWord->setTextFormat(Qt::PlainText);  // a headword is never markup
    lblEntryWord->setWordWrap(true);
    // A long headword wraps instead of widening the panel.
    lblEntryWord->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Minimum);
    layout->addWidget(lblEntryWord);

    memoContent = new QPlainTextEdit(pnlContent);
    memoContent->setObjectName("memoContent");
    memoContent->setReadOnly(true);
    memoContent->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    memoContent->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette face = memoContent->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Window));
    memoContent->setPalette(face);
    memoContent->setEnabled(false);
    layout->addWidget(memoContent, 1);

    // The list keeps its width when the window is resized.
    spltEntry->setStretchFactor(0, 0);
    spltEntry->setStretchFactor(1, 1);
    spltEntry->setSizes({kListWidth, kClientWidth - kListWidth - spltEntry->handleWidth()});
    setCentralWidget(spltEntry);

    // Panel 0 is the status bar's own message area (hints); panels 1 and 2
    // are permanent labels.
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar");
    bar->setSizeGripEnabled(false);
    statusPanel1 = new QLabel(bar);
    statusPanel1->setObjectName("statusPanel1");
    statusPanel1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar->addPermanentWidget(statusPanel1);
    statusPanel2 = new QLabel(bar);
    statusPanel2->setObjectName("statusPanel2");
    bar->addPermanentWidget(statusPanel2);
}

void TBroltMemoAppForm::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TBroltMemoAppForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    switch (event->type()) {
        case QEvent::WindowStateChange: {
            const auto* change = static_cast<QWindowStateChangeEvent*>(event);
            const bool was = change->oldState() & Qt::WindowMinimized;
            const bool is = windowState() & Qt::WindowMinimized;
            if (is && !was) {
                AppMinimize();
            } else if (was && !is) {
                AppRestore();
            }
            boundsChanged = true;
            break;
        }
        case QEvent::FontChange:
        case QEvent::StyleChange:
            // System font or metrics changed: the position panel is re-measured.
            if (statusPanel1) {
                AdjustStatusPanels();
            }
            break;
        default:
            break;
    }
}

void TBroltMemoAppForm::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    boundsChanged = true;
}

void TBroltMemoAppForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    boundsChanged = true;
}

bool TBroltMemoAppForm::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            UpdateActions();
            UpdateMenuState();  // Ctrl+A works exactly while the content has the focus
            // The read-only content would take Ctrl+C, Ctrl+Z and the like for
            // itself; the window's commands come first.
            if ((watched == memoContent || watched == treeEntryWord) &&
                IsWindowShortcut(static_cast<QKeyEvent*>(event))) {
                return true;
            }
            break;
        case QEvent::MouseButtonDblClick:
            if (watched == treeEntryWord->viewport()) {
                // After the click has been handled: the dialog is modal.
                QMetaObject::invokeMethod(
                    this, [this] { treeEntryWordDblClick(); }, Qt::QueuedConnection);
                return true;
            }
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}
