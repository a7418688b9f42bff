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
    document->Data().SetMemo(headword, content);
    BmCommand::Undo();
    document->SetHeadwordToSelect(headword);
}
