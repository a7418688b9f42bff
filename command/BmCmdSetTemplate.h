#pragma once

#include <string>
#include <string_view>

#include "command/BmCommand.h"

// Replaces the template; leaves the headword to select alone.
class BmCmdSetTemplate : public BmCommand {
  public:
    BmCmdSetTemplate(BroltMemoDoc* doc, std::string_view headword, std::string_view content);
    void Do() override;
    void Undo() override;

  private:
    void SwapTemplate();

    std::string templateHeadword;  // the pair the next run puts in place
    std::string templateContent;
};
