// Speed of the main window with a large memo book, in-process on the
// offscreen platform: from the start to the list shown, a rebuild of the
// list, moving the selection and scrolling. Prints the figures.
//
//   window_bench BOOK

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QScrollBar>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "app/AppForm.h"
#include "app/Settings.h"
#include "app/Startup.h"

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

}  // namespace

int main(int argc, char** argv) {
    const Clock::time_point start = Clock::now();
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_bench BOOK\n");
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
    return 0;
}
