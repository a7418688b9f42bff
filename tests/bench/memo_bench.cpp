// Times the memo book core on a real file and prints one line per measure:
//
//   <measure> <median seconds> <peak resident kB> <median CPU seconds> [note]
//
// CPU seconds count every thread of the process; far more wall than CPU time
// means the machine was busy with something else.
//
//   memo_bench load BOOK                  one load (run it in its own process:
//                                         the peak is the load's)
//   memo_bench save BOOK OUT [--reps R]   SaveToFile
//   memo_bench find BOOK TEXT [--reps R]  a whole-book FindMemos (TEXT in UTF-8)
//   memo_bench commands BOOK [--reps R]   submit, undo and redo of one
//                                         BmCmdSetMemo: a new headword near the
//                                         front of the book, and a replacement
//   memo_bench docsave BOOK [--reps R]    BroltMemoDoc::Save over its own file,
//                                         with the backup (BOOK is overwritten)

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "memo/BroltMemoData.h"
#include "memo/BroltMemoDoc.h"
#include "support/Cp932.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Mark {
    Clock::time_point wall = Clock::now();
    double cpu = CpuSeconds();

    static double CpuSeconds() {
        timespec ts{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
        return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
    }
};

struct Times {
    std::vector<double> wall;
    std::vector<double> cpu;
    void Add(const Mark& from) {
        wall.push_back(std::chrono::duration<double>(Clock::now() - from.wall).count());
        cpu.push_back(Mark::CpuSeconds() - from.cpu);
    }
};

long PeakKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void Report(const std::string& measure, const Times& times, const std::string& note = "") {
    std::printf("%s %.6f %ld %.6f %s\n", measure.c_str(), Median(times.wall), PeakKb(),
                Median(times.cpu), note.c_str());
    std::fflush(stdout);
}

Times Repeat(int reps, const std::function<void()>& run) {
    Times times;
    for (int i = 0; i < reps; ++i) {
        Mark start;
        run();
        times.Add(start);
    }
    return times;
}

int Run(const std::vector<std::string>& args, int reps) {
    if (args.size() < 2) {
        throw std::invalid_argument("usage");
    }
    const std::string& op = args[0];
    const std::string& book = args[1];

    if (op == "load") {
        BroltMemoData data;
        Times times;
        Mark start;
        data.LoadFromFile(book);
        times.Add(start);
        Report("load", times, "memos=" + std::to_string(data.Count()));
        return 0;
    }
    if (op == "save" && args.size() == 3) {
        BroltMemoData data;
        data.LoadFromFile(book);
        Report("save", Repeat(reps, [&] { data.SaveToFile(args[2]); }));
        return 0;
    }
    if (op == "find" && args.size() == 3) {
        BroltMemoData data;
        data.LoadFromFile(book);
        const std::string text = cp932::EncodeUtf8(args[2]);
        std::vector<std::string> hits;
        auto times = Repeat(reps, [&] {
            hits.clear();
            data.FindMemos(text, hits);
        });
        Report("find", times, "hits=" + std::to_string(hits.size()));
        return 0;
    }
    if (op == "commands") {
        BroltMemoDoc doc;
        doc.Open(book);
        const BroltMemoData& data = doc.Data();
        // Just behind the first memo: the insertion moves nearly every entry.
        const std::string added = std::string(data.HeadwordAt(0)) + "X";
        const std::string existing(data.HeadwordAt(data.Count() / 2));
        const std::string content = cp932::EncodeUtf8("新しい内容。\r\n二行目");
        for (const std::string* hw : {&added, &existing}) {
            const char* kind = hw == &added ? "new" : "replace";
            Times submit, undo, redo;
            for (int i = 0; i < reps; ++i) {
                Mark start;
                doc.SubmitSetMemo(*hw, content);
                submit.Add(start);
                start = Mark();
                doc.Undo();
                undo.Add(start);
                start = Mark();
                doc.Redo();
                redo.Add(start);
                doc.Undo();
            }
            Report(std::string("submit-") + kind, submit);
            Report(std::string("undo-") + kind, undo);
            Report(std::string("redo-") + kind, redo);
        }
        return 0;
    }
    if (op == "docsave") {
        BroltMemoDoc doc;
        doc.Open(book);
        Report("docsave", Repeat(reps, [&] { doc.Save(book, true); }));
        return 0;
    }
    throw std::invalid_argument("usage");
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args;
    int reps = 5;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--reps" && i + 1 < argc) {
            reps = std::max(1, std::stoi(argv[++i]));
        } else {
            args.push_back(a);
        }
    }
    try {
        return Run(args, reps);
    } catch (const std::invalid_argument&) {
        std::cerr << "usage: memo_bench load|save|find|commands|docsave BOOK [OUT|TEXT] "
                     "[--reps R]\n";
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "memo_bench: " << e.what() << "\n";
        return 1;
    }
}
