#include "ReportCommands.h"

#include "app/MainController.h"
#include "app/ReportTool.h"
#include "output/widgets/PrintPreview.h"

namespace Ledgerly {

void ReportCommands::printPreview(const Context &context, bool fromToolbar)
{
    MainController &controller = context.controller;
    ReportTool tool(controller.state().ProgramFolder, controller.settings(), context.prompter,
                    context.launcher);
    const int chooserIndex = controller.currentSection();
    if (tool.PrintPreview_Click(chooserIndex, fromToolbar) != ReportTool::Outcome::ShowPreview ||
        !context.model)
        return;
    {
        PrintPreview preview(*context.model,
                             controller.catalogue().displayName(controller.currentSection()),
                             context.owner ? context.owner->windowTitle() : QString(),
                             context.prompter, context.owner);
        preview.setModal(true);
        context.showModal(preview);
    }
    PrintPreview::setOpeningWidthTwips(PrintPreview::widthAfterClosing);
}

void ReportCommands::reports(const Context &context)
{
    MainController &controller = context.controller;
    ReportTool(controller.state().ProgramFolder, controller.settings(), context.prompter,
               context.launcher)
        .Reports_Click();
}

} // namespace Ledgerly
