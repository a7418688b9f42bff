#pragma once

#include <string>
#include <string_view>

#include "command/BmCommand.h"

// Deletes a memo; undo puts it back with the content it had.
class BmCmdDeleteMemo : public BmCommand {
  public:
    BmCmdDeleteMemo(BroltMemoDoc* doc, std::string_view headword);
    void Do() override;
    void Undo() override;

  private:
    std::string headword;
    std::string content;
};
