#include "command/BmCmdDeleteMemo.h"

#include "memo/BroltMemoDoc.h"

BmCmdDeleteMemo::BmCmdDeleteMemo(BroltMemoDoc* doc, std::string_view hw)
    : BmCommand(doc), headword(hw), content(doc->Content(hw)) {}

void BmCmdDeleteMemo::Do() {
    BmCommand::Do();
    document->Data().EraseMemo(headword);
    document->SetHeadwordToSelect({});
}

void BmCmdDeleteMemo::Undo() {
    std::string select(headword);  // nothing may fail once the memo is back
    document->Data().SetMemo(headword, content);
    BmCommand::Undo();
    document->SetHeadwordToSelect(std::move(select));
}
