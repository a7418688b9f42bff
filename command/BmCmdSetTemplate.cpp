#include "command/BmCmdSetTemplate.h"

#include "memo/BroltMemoDoc.h"

BmCmdSetTemplate::BmCmdSetTemplate(BroltMemoDoc* doc, std::string_view headword,
                                   std::string_view content)
    : BmCommand(doc), templateHeadword(headword), templateContent(content) {}

void BmCmdSetTemplate::SwapTemplate() {
    std::string headword = document->TemplateHeadword();
    std::string content = document->TemplateContent();
    document->Data().SetTemplate(templateHeadword, templateContent);
    templateHeadword.swap(headword);
    templateContent.swap(content);
}

void BmCmdSetTemplate::Do() {
    BmCommand::Do();
    SwapTemplate();
}

void BmCmdSetTemplate::Undo() {
    SwapTemplate();
    BmCommand::Undo();
}
