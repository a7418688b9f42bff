// Speed of the main window with a large memo book, in-process on the
// offscreen platform: from the start to the list shown, a rebuild of the
// list, moving the selection and scrolling; adding a memo, undo and redo;
// a search from its dialog to the first hit shown, and stepping through the
// hits. Prints the figures.
//
//   window_bench BOOK [SEARCH]
//
// SEARCH (UTF-8) should have a few hundred hits; the default suits the
// books of gen_memobook.

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/AppForm.h"
#include "app/Settings.h"
#include "app/Startup.h"
#include "support/Cp932.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Paints the list now, as the screen would show it.
void Paint(QListView* list) {
    list->viewport()->repaint();
    QCoreApplication::processEvents();
}

struct Stats {
    double median;
    double max;
};

Stats Summary(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

void Report(const char* what, Stats s, double limit) {
    std::printf("%-34s median %8.2f ms   max %8.2f ms   (limit %.0f ms) %s\n", what, s.median,
                s.max, limit, s.max <= limit ? "ok" : "SLOW");
}

// Triggers `action` and answers the modal dialog it opens with `fill`, then
// OK; returns the time from OK to the list painted after the command.
double ConfirmDialog(QAction* action, QListView* list, const std::function<void(QDialog*)>& fill) {
    Clock::time_point confirmed;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        fill(dialog);
        confirmed = Clock::now();
        dialog->accept();
    });
    action->trigger();
    Paint(list);
    return Ms(Clock::now() - confirmed);
}

// Runs an action as the user would: enabled states first, as at idle.
double Timed(TBroltMemoAppForm& window, QAction* action, QListView* list) {
    window.UpdateActions();
    const Clock::time_point t = Clock::now();
    action->trigger();
    Paint(list);
    return Ms(Clock::now() - t);
}

}  // namespace

int main(int argc, char** argv) {
    const Clock::time_point start = Clock::now();
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: window_bench BOOK [SEARCH]\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    SetUpApplication(app);
    QTemporaryDir settings;
    SetIniFilePath((settings.path() + "/bench.ini").toStdString());

    TBroltMemoAppForm window;
    window.FormCreate({QString::fromLocal8Bit(argv[1])});
    window.show();
    auto* list = window.findChild<QListView*>("treeEntryWord");
    Paint(list);
    const double shown = Ms(Clock::now() - start);
    const int rows = list->model()->rowCount();
    std::printf("memos: %d\n", rows);
    Report("start to list shown", {shown, shown}, 1500);
    if (rows < 2) {
        std::fprintf(stderr, "the book has too few memos\n");
        return 1;
    }

    std::mt19937 random(42);
    std::uniform_int_distribution<int> anyRow(0, rows - 1);

    std::vector<double> refresh;
    for (int i = 0; i < 10; ++i) {
        // Each rebuild selects a memo, as after adding or editing one.
        window.Document().SetHeadwordToSelect(std::string(
            window.Document().Data().HeadwordAt(static_cast<std::size_t>(anyRow(random)))));
        const Clock::time_point t = Clock::now();
        window.RefreshEntryList(false);
        Paint(list);
        refresh.push_back(Ms(Clock::now() - t));
    }
    Report("RefreshEntryList", Summary(refresh), 100);

    std::vector<double> select;
    for (int i = 0; i < 200; ++i) {
        const int row = i % 2 ? anyRow(random) : std::min(window.SelectedRow() + 1, rows - 1);
        const Clock::time_point t = Clock::now();
        window.SelectRow(row);
        Paint(list);
        select.push_back(Ms(Clock::now() - t));
    }
    Report("moving the selection", Summary(select), 20);

    std::vector<double> scroll;
    QScrollBar* bar = list->verticalScrollBar();
    for (int i = 0; i < 200; ++i) {
        const Clock::time_point t = Clock::now();
        bar->setValue(i % 2 ? bar->value() + bar->pageStep()
                            : std::uniform_int_distribution<int>(0, bar->maximum())(random));
        Paint(list);
        scroll.push_back(Ms(Clock::now() - t));
    }
    Report("scrolling a page or jumping", Summary(scroll), 20);

    auto action = [&](const char* name) { return window.findChild<QAction*>(name); };
    // Adding a memo through the dialog, then undoing and redoing it.
    std::vector<double> add, undo, redo;
    for (int i = 0; i < 10; ++i) {
        const QString headword = QString("ベンチマーク追加%1").arg(i);
        window.UpdateActions();
        add.push_back(ConfirmDialog(action("actAddMemo"), list, [&](QDialog* dialog) {
            dialog->findChild<QLineEdit*>("edtEntryWord")->setText(headword);
            dialog->findChild<QPlainTextEdit*>("memoContent")->setPlainText("一行目\n二行目");
        }));
        if (window.SelectedRow() < 0) {
            std::fprintf(stderr, "the added memo is not selected\n");
            return 1;
        }
        undo.push_back(Timed(window, action("actUndo"), list));
        redo.push_back(Timed(window, action("actRedo"), list));
    }
    Report("add a memo (OK to shown)", Summary(add), 150);
    Report("undo the addition", Summary(undo), 150);
    Report("redo the addition", Summary(redo), 150);

    // A search from OK in its dialog to the marks drawn and the first hit
    // shown, then stepping through the hits.
    const QString findText = QString::fromUtf8(argc == 3 ? argv[2] : "新幹線");
    std::vector<double> find;
    for (int i = 0; i < 5; ++i) {
        window.SelectRow(-1);
        window.UpdateActions();
        find.push_back(ConfirmDialog(action("actFind"), list, [&](QDialog* dialog) {
            dialog->findChild<QComboBox*>("cmbFindWord")->setEditText(findText);
        }));
    }
    const std::size_t hits = window.FoundWords().size();
    std::printf("hits of %s: %zu\n", findText.toUtf8().constData(), hits);
    Report("find (OK to first hit shown)", Summary(find), 150);
    if (hits == 0) {
        std::fprintf(stderr, "the search string has no hits\n");
        return 1;
    }
    std::vector<double> step;
    for (int i = 0; i < 200; ++i) {
        // Forward through the hits, and back at the last one.
        const bool backward = (i / static_cast<int>(hits)) % 2 == 1;
        step.push_back(Timed(window, action(backward ? "actFindPrev" : "actFindNext"), list));
    }
    Report("StepToFoundWord (F3, Shift+F3)", Summary(step), 20);

    // With the search in force, adding runs it again over the whole book.
    std::vector<double> addSearching;
    for (int i = 0; i < 5; ++i) {
        window.UpdateActions();
        addSearching.push_back(ConfirmDialog(action("actAddMemo"), list, [&](QDialog* dialog) {
            dialog->findChild<QLineEdit*>("edtEntryWord")->setText(QString("検索中%1").arg(i));
            dialog->findChild<QPlainTextEdit*>("memoContent")->setPlainText(findText);
        }));
    }
    Report("add a memo, search in force", Summary(addSearching), 150);
    return 0;
}
