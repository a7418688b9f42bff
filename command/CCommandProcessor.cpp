#include "command/CCommandProcessor.h"

#include "support/GrowVector.h"

CCommandProcessor::~CCommandProcessor() {
    Clear();
}

void CCommandProcessor::Submit(std::unique_ptr<CCommand> command) {
    reserve_one_more(undoList);
    command->Do();
    ClearRedo();
    undoList.push_back(std::move(command));
}

void CCommandProcessor::Undo() {
    // The command stays on its list until it has run, so a failure leaves
    // the history as it was; the move after it cannot fail.
    reserve_one_more(redoList);
    undoList.back()->Undo();
    redoList.push_back(std::move(undoList.back()));
    undoList.pop_back();
}

void CCommandProcessor::Redo() {
    reserve_one_more(undoList);
    redoList.back()->Do();
    undoList.push_back(std::move(redoList.back()));
    redoList.pop_back();
}

void CCommandProcessor::ClearRedo() {
    while (!redoList.empty()) {
        redoList.pop_back();  // newest first
    }
}

void CCommandProcessor::Clear() {
    ClearRedo();
    while (!undoList.empty()) {
        undoList.pop_back();
    }
}
