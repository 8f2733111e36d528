#pragma once

#include <QString>

namespace Ledgerly {

// The folder holding QuayDB.ini and the program's own files: the
// --program-folder option, else the executable's folder when it holds
// QuayDB.ini, else the installed data folder. Returned without a trailing
// separator.
QString resolveProgramFolder(const QString &option, const QString &executableFolder);

} // namespace Ledgerly
