#include "command/BmCmdSetMemo.h"

#include "memo/BroltMemoDoc.h"

BmCmdSetMemo::BmCmdSetMemo(BroltMemoDoc* doc, std::string_view hw, std::string_view text)
    : BmCommand(doc),
      isNew(!doc->Exists(hw)),
      previousSelection(doc->HeadwordToSelect()),
      headword(hw),
      content(text) {}

void BmCmdSetMemo::SwapContent() {
    std::string current(document->Data().Content(headword));
    document->Data().SetMemo(headword, content);
    content.swap(current);
}

// Each run copies the selection before the store changes: nothing may fail
// after the change, or the history would no longer match the book.
void BmCmdSetMemo::Do() {
    std::string select(headword);
    BmCommand::Do();
    if (isNew) {
        document->Data().SetMemo(headword, content);
    } else {
        SwapContent();
    }
    document->SetHeadwordToSelect(std::move(select));
}

void BmCmdSetMemo::Undo() {
    std::string select(previousSelection);
    // The store changes first: if it fails, the flag still says "modified".
    if (isNew) {
        document->Data().EraseMemo(headword);
    } else {
        SwapContent();
    }
    BmCommand::Undo();
    document->SetHeadwordToSelect(std::move(select));
}
