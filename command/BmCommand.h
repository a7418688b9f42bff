#pragma once

#include "command/CCommand.h"

class BroltMemoDoc;

// A command that changes one memo document, which outlives it.
class BmCmdBase : public CCommand {
  public:
    explicit BmCmdBase(BroltMemoDoc* doc) : document(doc) {}

  protected:
    BroltMemoDoc* document;
};

// Keeps the document's modified flag right across do and undo: undoing every
// command since the last new, open or save makes the document unmodified.
class BmCommand : public BmCmdBase {
  public:
    explicit BmCommand(BroltMemoDoc* doc);
    void Do() override;
    void Undo() override;

  private:
    bool savedModified;
};
