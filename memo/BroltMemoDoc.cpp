#include "memo/BroltMemoDoc.h"

#include "command/BmCmdDeleteMemo.h"
#include "command/BmCmdSetMemo.h"
#include "command/BmCmdSetTemplate.h"
#include "memo/SafeSave.h"
#include "support/PathString.h"

void BroltMemoDoc::MakeNew() {
    data.Clear();
    fileName.clear();
    ResetState();
}

std::size_t BroltMemoDoc::Open(const std::string& path, MemoLoadReport* report) {
    std::string name(path);  // copied first: once the book is loaded, nothing may fail
    std::size_t duplicates = data.LoadFromFile(path, report);
    fileName.swap(name);
    ResetState();
    return duplicates;
}

void BroltMemoDoc::ResetState() {
    commands.Clear();
    modified = false;
    headwordToSelect.clear();
}

std::string BroltMemoDoc::BackupName(const std::string& path) {
    path_string backup(path);
    backup.set_extension("bak");
    return backup;
}

void BroltMemoDoc::Save(const std::string& target, bool adoptPath) {
    const bool same = !fileName.empty() && path_string(target) == path_string(fileName);
    std::string adopted(adoptPath ? target : std::string());  // nothing may fail once saved
    SaveMemoFile(data, same ? fileName : target, same);
    ResetState();
    if (adoptPath) {
        fileName.swap(adopted);
    }
}

void BroltMemoDoc::SubmitSetMemo(std::string_view headword, std::string_view content) {
    SubmitCommand(std::make_unique<BmCmdSetMemo>(this, headword, content));
}

void BroltMemoDoc::SubmitDeleteMemo(std::string_view headword) {
    SubmitCommand(std::make_unique<BmCmdDeleteMemo>(this, headword));
}

void BroltMemoDoc::SubmitSetTemplate(std::string_view headword, std::string_view content) {
    SubmitCommand(std::make_unique<BmCmdSetTemplate>(this, headword, content));
}

void BroltMemoDoc::SubmitCommand(std::unique_ptr<CCommand> command) {
    commands.Submit(std::move(command));
}
