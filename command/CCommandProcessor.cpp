#include "command/CCommandProcessor.h"

CCommandProcessor::~CCommandProcessor() { Clear(); }

void CCommandProcessor::Submit(std::unique_ptr<CCommand> command) {
    undoList.reserve(undoList.size() + 1);
    command->Do();
    ClearRedo();
    undoList.push_back(std::move(command));
}

void CCommandProcessor::Undo() {
    // The command stays on its list until it has run, so a failure leaves
    // the history as it was; the move after it cannot fail.
    redoList.reserve(redoList.size() + 1);
    undoList.back()->Undo();
    redoList.push_back(std::move(undoList.back()));
    undoList.pop_back();
}

void CCommandProcessor::Redo() {
    undoList.reserve(undoList.size() + 1);
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
