#pragma once

// Everything a user can see of a memo document, as one comparable value, and
// the names in a directory, for tests that show that a failure changed nothing.

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "memo/BroltMemoDoc.h"

struct DocState {
    std::vector<std::pair<std::string, std::string>> memos;  // store order
    std::string templateHeadword;
    std::string templateContent;
    std::string fileName;
    std::string headwordToSelect;
    bool modified = false;
    bool canUndo = false;
    bool canRedo = false;

    bool operator==(const DocState&) const = default;
};

inline DocState StateOf(const BroltMemoDoc& doc) {
    DocState s;
    const BroltMemoData& data = doc.Data();
    for (std::size_t i = 0; i < data.Count(); ++i) {
        s.memos.emplace_back(data.HeadwordAt(i), data.ContentAt(i));
    }
    s.templateHeadword = doc.TemplateHeadword();
    s.templateContent = doc.TemplateContent();
    s.fileName = doc.FileName();
    s.headwordToSelect = doc.HeadwordToSelect();
    s.modified = doc.GetModified();
    s.canUndo = doc.CanUndo();
    s.canRedo = doc.CanRedo();
    return s;
}

inline void PrintTo(const DocState& s, std::ostream* os) {
    *os << "{memos:";
    for (const auto& [headword, content] : s.memos) {
        *os << " [" << headword << "|" << content << "]";
    }
    *os << " template:[" << s.templateHeadword << "|" << s.templateContent
        << "] file:" << s.fileName << " select:" << s.headwordToSelect << " modified:" << s.modified
        << " undo:" << s.canUndo << " redo:" << s.canRedo << "}";
}

// The names in a directory, sorted; shows stray temporary files.
inline std::vector<std::string> Listing(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
