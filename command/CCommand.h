#pragma once

// An undoable change. Do runs when the command is submitted and again on
// every redo; Undo takes back what the last Do did. Failures are exceptions.
class CCommand {
  public:
    virtual ~CCommand() = default;
    virtual void Do() = 0;
    virtual void Undo() = 0;
};
