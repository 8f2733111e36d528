#pragma once

#include "common/Prompter.h"

namespace Ledgerly::CsvCommands {

// The CSV file dialog: the same filter for export and import, starting in
// folder with fileName chosen. No overwrite question, as the export has
// always replaced the chosen file.
Prompter::FileRequest fileRequest(const QString &folder, const QString &fileName, bool save);

} // namespace Ledgerly::CsvCommands
