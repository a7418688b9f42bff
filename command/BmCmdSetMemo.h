#pragma once

#include <string>
#include <string_view>

#include "command/BmCommand.h"

// Adds a memo, or replaces the content of an existing one.
class BmCmdSetMemo : public BmCommand {
  public:
    BmCmdSetMemo(BroltMemoDoc* doc, std::string_view headword, std::string_view content);
    void Do() override;
    void Undo() override;

  private:
    // Puts `content` in place and keeps the content it replaced.
    void SwapContent();

    bool isNew;
    std::string previousSelection;
    std::string headword;
    std::string content;  // the content the next run puts in place
};
