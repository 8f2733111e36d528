#pragma once

namespace Ledgerly {

class MainController;

// The window's CSV commands: each asks for the file through the controller's
// prompter (the CSV file dialogs), then exports or imports, and reports the
// outcome in a message.
void ExportCSV_Click(MainController &controller);
void ImportCSV_Click(MainController &controller);

} // namespace Ledgerly
