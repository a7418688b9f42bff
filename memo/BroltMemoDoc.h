#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "command/CCommandProcessor.h"
#include "memo/BroltMemoData.h"

// The open memo book: the store, the file it belongs to, whether it changed
// since it was made new, opened or saved, and the undo history of its changes.
class BroltMemoDoc {
  public:
    BroltMemoDoc() = default;
    BroltMemoDoc(const BroltMemoDoc&) = delete;
    BroltMemoDoc& operator=(const BroltMemoDoc&) = delete;

    void MakeNew();
    // Loads the file and takes its name; returns the duplicate count. On
    // failure nothing changes and the exception passes on.
    std::size_t Open(const std::string& path, MemoLoadReport* report = nullptr);
    // Writes the book to `target`; over its own file the previous version
    // becomes the backup. With adoptPath the document takes the name. On
    // failure the files and the document are as they were before.
    void Save(const std::string& target, bool adoptPath);
    void ResetState();
    const std::string& FileName() const { return fileName; }

    // The backup name of a memo file: memo.txt -> memo.bak, notes -> notes.bak.
    static std::string BackupName(const std::string& path);

    bool GetModified() const { return modified; }
    void SetModified(bool value) { modified = value; }
    const std::string& HeadwordToSelect() const { return headwordToSelect; }
    // Takes a ready string and cannot fail, so that a command can change the
    // store and then set the selection without a failure in between.
    void SetHeadwordToSelect(std::string headword) noexcept {
        headwordToSelect = std::move(headword);
    }
    BroltMemoData& Data() { return data; }
    const BroltMemoData& Data() const { return data; }

    bool Exists(std::string_view headword) const { return data.Exists(headword); }
    std::string_view Content(std::string_view headword) const { return data.Content(headword); }
    bool FindMemos(std::string_view text, std::vector<std::string>& headwords) const {
        return data.FindMemos(text, headwords);
    }
    const std::string& TemplateHeadword() const { return data.TemplateHeadword(); }
    const std::string& TemplateContent() const { return data.TemplateContent(); }

    void SubmitSetMemo(std::string_view headword, std::string_view content);
    void SubmitDeleteMemo(std::string_view headword);
    void SubmitSetTemplate(std::string_view headword, std::string_view content);
    void SubmitCommand(std::unique_ptr<CCommand> command);
    void Undo() { commands.Undo(); }
    void Redo() { commands.Redo(); }
    bool CanUndo() const { return commands.CanUndo(); }
    bool CanRedo() const { return commands.CanRedo(); }

  private:
    BroltMemoData data;
    std::string fileName;
    bool modified = false;
    CCommandProcessor commands;
    std::string headwordToSelect;
};
