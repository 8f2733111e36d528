#include "CsvOutcome.h"

#include "app/MainController.h"
#include "app/Prompter.h"
#include "database/PdbDatabase.h"
#include "database/PdbError.h"

namespace Ledgerly {

std::unique_ptr<PdbDatabase> openStoredDatabase(MainController &controller)
{
    try {
        return controller.server().OpenDatabase(controller.state().CurrentPath);
    } catch (const PdbError &) {
        return nullptr;
    }
}

void showCsvOutcome(MainController &controller, const CsvOutcome &outcome)
{
    controller.prompter().message(outcome.message, Prompter::Buttons::Ok,
                                  Prompter::Icon::Information);
}

} // namespace Ledgerly
