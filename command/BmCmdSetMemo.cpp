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

void BmCmdSetMemo::Do() {
    BmCommand::Do();
    if (isNew) {
        document->Data().SetMemo(headword, content);
    } else {
        SwapContent();
    }
    document->SetHeadwordToSelect(headword);
}

void BmCmdSetMemo::Undo() {
    // The store changes first: if it fails, the flag still says "modified".
    if (isNew) {
        document->Data().EraseMemo(headword);
    } else {
        SwapContent();
    }
    BmCommand::Undo();
    document->SetHeadwordToSelect(previousSelection);
}
