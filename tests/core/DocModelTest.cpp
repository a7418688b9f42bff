// The whole document against a small model of it: random sequences of adds,
// replacements, deletions, template changes, undo, redo, saves and opens.
// After every step the document must show what the model says; after every
// save the file must read back to the same book.
//
// MEMO_MODEL_STEPS sets the number of steps (default 10000), MEMO_MODEL_SEED
// the first seed; a failure names the sequence's seed and its steps.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "memo/BroltMemoDoc.h"
#include "support/Collation.h"
#include "support/Message.h"

namespace {

namespace fs = std::filesystem;

struct Book {
    std::map<std::string, std::string> memos;  // headword bytes -> content
    std::string templateHeadword;
    std::string templateContent;
    bool operator==(const Book&) const = default;
};

// What the reader gives back for content: CRs dropped, every line ending in LF.
std::string AsRead(std::string text) {
    std::erase(text, '\r');
    if (!text.empty() && text.back() != '\n') {
        text.push_back('\n');
    }
    return text;
}

Book AsRead(const Book& book) {
    Book read{{}, book.templateHeadword, AsRead(book.templateContent)};
    for (const auto& [headword, content] : book.memos) {
        read.memos[headword] = AsRead(content);
    }
    return read;
}

std::ostream& operator<<(std::ostream& os, const Book& book) {
    os << "{";
    for (const auto& [headword, content] : book.memos) {
        os << "[" << headword << "|" << content << "]";
    }
    return os << " T[" << book.templateHeadword << "|" << book.templateContent << "]}";
}

Book BookOf(const BroltMemoData& data) {
    Book book{{}, data.TemplateHeadword(), data.TemplateContent()};
    for (std::size_t i = 0; i < data.Count(); ++i) {
        book.memos.emplace(data.HeadwordAt(i), data.ContentAt(i));
    }
    return book;
}

// The document as the model sees it: the book, an undo history of whole
// books before and after each change, and what each file on disk holds.
class Model {
  public:
    enum Kind { kSet, kDelete, kTemplate };

    void Change(Kind kind, const std::string& headword, const std::string& content) {
        Entry e{kind, headword, select, modified, book, {}};
        switch (kind) {
            case kSet:
                book.memos[headword] = content;
                select = headword;
                break;
            case kDelete:
                book.memos.erase(headword);
                select.clear();
                break;
            case kTemplate:
                book.templateHeadword = headword;
                book.templateContent = content;
                break;
        }
        e.after = book;
        modified = true;
        redo.clear();
        undo.push_back(std::move(e));
    }

    void Undo() {
        Entry e = std::move(undo.back());
        undo.pop_back();
        book = e.before;
        modified = e.modifiedBefore;
        if (e.kind == kSet) {
            select = e.selectBefore;
        } else if (e.kind == kDelete) {
            select = e.headword;
        }
        redo.push_back(std::move(e));
    }

    void Redo() {
        Entry e = std::move(redo.back());
        redo.pop_back();
        book = e.after;
        modified = true;
        if (e.kind == kSet) {
            select = e.headword;
        } else if (e.kind == kDelete) {
            select.clear();
        }
        undo.push_back(std::move(e));
    }

    void Reset() {
        undo.clear();
        redo.clear();
        modified = false;
        select.clear();
    }

    struct Entry {
        Kind kind;
        std::string headword;
        std::string selectBefore;
        bool modifiedBefore;
        Book before;
        Book after;
    };

    Book book;
    std::string fileName;
    bool modified = false;
    std::string select;
    std::vector<Entry> undo;
    std::vector<Entry> redo;
    std::map<std::string, Book> files;  // as they read back
};

// A directory in memory where there is one, so that the many saves do not
// wait for the disk.
class ScratchDir {
  public:
    ScratchDir() {
        std::string base = fs::is_directory("/dev/shm") && access("/dev/shm", W_OK) == 0
                               ? "/dev/shm"
                               : fs::temp_directory_path().string();
        std::string pattern = base + "/memo-model-XXXXXX";
        if (!mkdtemp(pattern.data())) {
            throw std::runtime_error("cannot create a scratch directory");
        }
        path = pattern;
    }
    ~ScratchDir() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    fs::path path;
};

long EnvNumber(const char* name, long fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtol(v, nullptr, 10) : fallback;
}

class Sequence {
  public:
    Sequence(unsigned seed, const fs::path& dir)
        : random(seed), files{(dir / "a.txt").string(), (dir / "b.txt").string()} {
        for (const std::string& f : files) {
            fs::remove(f);
            fs::remove(BroltMemoDoc::BackupName(f));
        }
    }

    // One random step on both; false when they disagree (a failure is added).
    bool Step() {
        int roll = Pick(100);
        if (roll < 30) {
            Set();
        } else if (roll < 40) {
            Delete();
        } else if (roll < 47) {
            Template();
        } else if (roll < 65) {
            if (model.undo.empty()) {
                return Step();
            }
            log << "undo\n";
            doc.Undo();
            model.Undo();
        } else if (roll < 75) {
            if (model.redo.empty()) {
                return Step();
            }
            log << "redo\n";
            doc.Redo();
            model.Redo();
        } else if (roll < 88) {
            if (!Save()) {
                return false;
            }
        } else if (roll < 97) {
            Open();
        } else {
            log << "new\n";
            doc.MakeNew();
            model.book = {};
            model.fileName.clear();
            model.Reset();
        }
        return Agree();
    }

    std::ostringstream log;

  private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    std::string Headword() {
        static const std::vector<std::string> pool = {
            "apple", "Apple", "APPLE",  "banana", "b",     "B",        "cherry",
            "a b",   "z9",    Sj("か"), Sj("カ"), Sj("ｶ"), Sj("漢字"), Sj("Ａ")};
        return pool[Pick(static_cast<int>(pool.size()))];
    }

    // Content as loaded (LF after every line) or as typed in the dialog (CR LF
    // between lines, the last without or with a line break); never an empty
    // line before the last.
    std::string Content() {
        static const char* words[] = {"red", "a b", " ", "T>x", "long line of text", "1"};
        int lines = Pick(4);
        bool dialog = Pick(2) == 0;
        std::string text;
        for (int i = 0; i < lines; ++i) {
            if (i > 0) {
                text += dialog ? "\r\n" : "\n";
            }
            text += words[Pick(6)];
        }
        if (lines > 0 && (!dialog || Pick(2) == 0)) {
            text += dialog ? "\r\n" : "\n";
        }
        return text;
    }

    void Set() {
        std::string headword = Headword();
        std::string content = Content();
        log << "set " << headword << " = " << content << "\n";
        doc.SubmitSetMemo(headword, content);
        model.Change(Model::kSet, headword, content);
    }

    void Delete() {
        if (model.book.memos.empty()) {
            return Set();
        }
        auto it = model.book.memos.begin();
        std::advance(it, Pick(static_cast<int>(model.book.memos.size())));
        std::string headword = it->first;
        log << "delete " << headword << "\n";
        doc.SubmitDeleteMemo(headword);
        model.Change(Model::kDelete, headword, {});
    }

    void Template() {
        static const char* headwords[] = {"", "T", "tmpl", "T>x"};
        std::string headword = headwords[Pick(4)];
        std::string content = Pick(3) == 0 ? std::string() : Content();
        log << "template " << headword << " = " << content << "\n";
        doc.SubmitSetTemplate(headword, content);
        model.Change(Model::kTemplate, headword, content);
    }

    bool Save() {
        const std::string& target =
            !model.fileName.empty() && Pick(2) == 0 ? model.fileName : files[Pick(2)];
        bool adopt = Pick(3) != 0;
        bool same = target == model.fileName;
        log << "save " << target << (adopt ? " adopting" : "") << "\n";
        const std::string backup = BroltMemoDoc::BackupName(target);
        const std::string previous = same ? ReadBytes(target) : std::string();
        const std::string backupBefore = fs::exists(backup) ? ReadBytes(backup) : "none";

        doc.Save(target, adopt);
        model.files[target] = AsRead(model.book);
        if (adopt) {
            model.fileName = target;
        }
        model.Reset();

        BroltMemoData readBack;
        EXPECT_EQ(readBack.LoadFromFile(target), 0u);
        EXPECT_EQ(BookOf(readBack), model.files[target]);
        // Over its own file the previous version becomes the backup; else
        // the backup is left alone.
        const std::string backupNow = fs::exists(backup) ? ReadBytes(backup) : "none";
        EXPECT_EQ(backupNow, same ? previous : backupBefore);
        return !::testing::Test::HasFailure();
    }

    void Open() {
        const std::string& path = files[Pick(2)];
        log << "open " << path << "\n";
        auto it = model.files.find(path);
        if (it == model.files.end()) {
            try {
                doc.Open(path);
                ADD_FAILURE() << "opened a missing file";
            } catch (const std::runtime_error& e) {
                EXPECT_EQ(e.what(), Message(13));
            }
            return;
        }
        EXPECT_EQ(doc.Open(path), 0u);
        model.book = it->second;
        model.fileName = path;
        model.Reset();
    }

    bool Agree() {
        const BroltMemoData& data = doc.Data();
        for (std::size_t i = 1; i < data.Count(); ++i) {
            EXPECT_LT(CollationKey(data.HeadwordAt(i - 1)), CollationKey(data.HeadwordAt(i)))
                << "store order";
        }
        EXPECT_EQ(BookOf(data), model.book);
        EXPECT_EQ(doc.GetModified(), model.modified);
        EXPECT_EQ(doc.CanUndo(), !model.undo.empty());
        EXPECT_EQ(doc.CanRedo(), !model.redo.empty());
        EXPECT_EQ(doc.HeadwordToSelect(), model.select);
        EXPECT_EQ(doc.FileName(), model.fileName);
        return !::testing::Test::HasFailure();
    }

    std::mt19937 random;
    std::string files[2];
    BroltMemoDoc doc;
    Model model;
};

TEST(DocModel, RandomSequencesAgreeWithTheModel) {
    const long steps = EnvNumber("MEMO_MODEL_STEPS", 10000);
    const long firstSeed = EnvNumber("MEMO_MODEL_SEED", 1);
    ScratchDir dir;
    long done = 0;
    long sequences = 0;
    for (long seed = firstSeed; done < steps; ++seed, ++sequences) {
        Sequence sequence(static_cast<unsigned>(seed), dir.path);
        // Mostly short sequences, every tenth a long one with a deep history.
        const int length = seed % 10 == 0 ? 60 : 1 + static_cast<int>(seed % 8);
        for (int i = 0; i < length && done < steps; ++i, ++done) {
            if (!sequence.Step()) {
                FAIL() << "sequence with MEMO_MODEL_SEED=" << seed << ", steps:\n"
                       << sequence.log.str();
            }
        }
    }
    EXPECT_GE(sequences, steps / 12);
}

}  // namespace
