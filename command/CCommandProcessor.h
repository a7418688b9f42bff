#pragma once

#include <memory>
#include <vector>

#include "command/CCommand.h"

// Runs commands and keeps them for undo and redo. It owns every command in
// either list; a new command cuts the redo history off.
class CCommandProcessor {
  public:
    CCommandProcessor() = default;
    virtual ~CCommandProcessor();
    CCommandProcessor(const CCommandProcessor&) = delete;
    CCommandProcessor& operator=(const CCommandProcessor&) = delete;

    // Runs the command, then records it. When Do throws, nothing in the
    // history has changed and the command is destroyed.
    void Submit(std::unique_ptr<CCommand> command);

    // Both require the matching Can*. When the command throws, it stays in
    // the list it was in (the change was not made) and the exception passes on.
    void Undo();
    void Redo();

    bool CanUndo() const { return !undoList.empty(); }
    bool CanRedo() const { return !redoList.empty(); }

    void Clear();
    void ClearRedo();

  private:
    std::vector<std::unique_ptr<CCommand>> undoList;  // oldest first
    std::vector<std::unique_ptr<CCommand>> redoList;  // most recently undone last
};
