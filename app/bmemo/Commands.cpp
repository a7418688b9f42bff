#include "Commands.h"

#include <filesystem>
#include <istream>
#include <iterator>
#include <ostream>

#include "memo/BroltMemoDoc.h"
#include "support/Cp932.h"
#include "support/Message.h"

namespace bmemo {
namespace {

// Opens the book; warns on standard error when duplicate records were merged.
void Open(Context& c, BroltMemoDoc& doc, const std::string& path,
          MemoLoadReport* report = nullptr) {
    std::size_t duplicates = 0;
    try {
        duplicates = doc.Open(path, report);
    } catch (const std::runtime_error& e) {
        throw Failure(path + ": " + e.what());
    }
    if (duplicates > 0) {
        c.err << "bmemo: warning: " << path << ": " << Message(20) << " (" << duplicates
              << " record(s) merged into the memo of the same headword)\n";
    }
}

// A headword argument that must name a stored memo.
std::string StoredHeadword(Context& c, const BroltMemoDoc& doc, const std::string& path,
                           const std::string& argument) {
    std::string headword = c.text.FromTerminal(argument, "the headword");
    if (!doc.Exists(headword)) {
        throw Failure(path + ": there is no memo with the headword \"" + argument + "\"");
    }
    return headword;
}

std::string ReadInput(Context& c) {
    std::string input{std::istreambuf_iterator<char>(c.in), std::istreambuf_iterator<char>()};
    if (c.in.bad()) {
        throw Failure("standard input cannot be read");
    }
    return input;
}

// The reader takes records beginning with "T>" for the template until the
// first memo. The writer puts another memo first, but when every memo
// begins with "T>" the book cannot be written so that it reads back.
void CheckWritable(const BroltMemoData& data) {
    for (std::size_t i = 0; i < data.Count(); ++i) {
        if (!data.HeadwordAt(i).starts_with("T>")) {
            return;
        }
    }
    if (data.Count() > 0) {
        throw Failure("the memo \"" + cp932::ToUtf8(data.HeadwordAt(0)) +
                      "\" would come first in the file and be read back as the template; "
                      "nothing was written");
    }
}

// Saves to the book's own file, so the previous version becomes the backup
// (none for a new book).
void Save(BroltMemoDoc& doc, const std::string& path) {
    CheckWritable(doc.Data());
    try {
        doc.Save(path, false);
    } catch (const std::exception& e) {
        throw Failure(path + ": " + Message(11) + " (" + e.what() + ")");
    }
}

void List(Context& c, const Arguments& a) {
    BroltMemoDoc doc;
    Open(c, doc, a[0]);
    const BroltMemoData& data = doc.Data();
    for (std::size_t i = 0; i < data.Count(); ++i) {
        c.out << c.text.ToTerminal(data.HeadwordAt(i)) << '\n';
    }
}

void Show(Context& c, const Arguments& a) {
    BroltMemoDoc doc;
    Open(c, doc, a[0]);
    c.out << c.text.ToTerminal(doc.Content(StoredHeadword(c, doc, a[0], a[1])));
}

void Find(Context& c, const Arguments& a) {
    BroltMemoDoc doc;
    Open(c, doc, a[0]);
    std::vector<std::string> hits;
    doc.FindMemos(c.text.FromTerminal(a[1], "the search text"), hits);
    for (const std::string& headword : hits) {
        c.out << c.text.ToTerminal(headword) << '\n';
    }
}

void Template(Context& c, const Arguments& a) {
    BroltMemoDoc doc;
    Open(c, doc, a[0]);
    c.out << c.text.ToTerminal(doc.TemplateHeadword()) << '\n'
          << c.text.ToTerminal(doc.TemplateContent());
}

void Resave(Context& c, const Arguments& a) {
    BroltMemoDoc doc;
    Open(c, doc, a[0]);
    CheckWritable(doc.Data());
    try {
        doc.Data().SaveToFile(a[1]);
    } catch (const std::exception& e) {
        throw Failure(a[1] + ": " + Message(11) + " (" + e.what() + ")");
    }
}

void Check(Context& c, const Arguments& a) {
    BroltMemoDoc doc;
    MemoLoadReport report;
    Open(c, doc, a[0], &report);
    const BroltMemoData& data = doc.Data();
    std::size_t invalid = 0;
    auto count = [&invalid](std::string_view text) {
        std::size_t n = 0;
        cp932::ToUtf16(text, &n);
        invalid += n;
    };
    count(data.TemplateHeadword());
    count(data.TemplateContent());
    for (std::size_t i = 0; i < data.Count(); ++i) {
        count(data.HeadwordAt(i));
        count(data.ContentAt(i));
    }
    c.out << "records read: " << report.records << '\n'
          << "memos: " << data.Count() << '\n'
          << "duplicates merged: " << report.duplicates << '\n'
          << "template: " << (report.templateFound ? "found" : "none") << '\n'
          << "bytes not valid CP932: " << invalid << '\n';
}

void Set(Context& c, const Arguments& a) {
    const std::string& path = a[0];
    std::string headword = c.text.FromTerminal(a[1], "the headword");
    CheckMemoHeadword(headword);
    std::string content = c.text.ContentFromInput(ReadInput(c));
    BroltMemoDoc doc;
    std::error_code ec;
    if (std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::not_found) {
        Open(c, doc, path);
    }
    doc.SubmitSetMemo(headword, content);
    Save(doc, path);
}

void Delete(Context& c, const Arguments& a) {
    BroltMemoDoc doc;
    Open(c, doc, a[0]);
    doc.SubmitDeleteMemo(StoredHeadword(c, doc, a[0], a[1]));
    Save(doc, a[0]);
}

void SetTemplate(Context& c, const Arguments& a) {
    std::string headword = c.text.FromTerminal(a[1], "the template headword");
    CheckTemplateHeadword(headword);
    std::string content = c.text.ContentFromInput(ReadInput(c));
    BroltMemoDoc doc;
    Open(c, doc, a[0]);
    doc.SubmitSetTemplate(headword, content);
    Save(doc, a[0]);
}

}  // namespace

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"list", "FILE", 1, List},
        {"show", "FILE HEADWORD", 2, Show},
        {"find", "FILE TEXT", 2, Find},
        {"template", "FILE", 1, Template},
        {"check", "FILE", 1, Check},
        {"resave", "IN OUT", 2, Resave},
        {"set", "FILE HEADWORD", 2, Set},
        {"delete", "FILE HEADWORD", 2, Delete},
        {"set-template", "FILE HEADWORD", 2, SetTemplate},
    };
    return commands;
}

}  // namespace bmemo
