#pragma once

#include "common/Prompter.h"

namespace Ledgerly::CsvCommands {

// The CSV file dialog: the same filter and starting place for export and
// import, starting in the program folder. No overwrite question, as the
// export has always replaced the chosen file.
Prompter::FileRequest fileRequest(const QString &programFolder, bool save);

} // namespace Ledgerly::CsvCommands
