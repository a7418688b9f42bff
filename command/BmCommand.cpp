#include "command/BmCommand.h"

#include "memo/BroltMemoDoc.h"

BmCommand::BmCommand(BroltMemoDoc* doc) : BmCmdBase(doc), savedModified(doc->GetModified()) {}

void BmCommand::Do() {
    document->SetModified(true);
}

void BmCommand::Undo() {
    document->SetModified(savedModified);
}
