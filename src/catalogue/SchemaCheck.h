#pragma once

#include "IniCheck.h"

namespace Ledgerly {

// checkIniFile() and the rules the program reads a schema file by: keys in
// the order Databasename, captions, roles; a role key for every field and a
// field for every role key; an odd key count; role values True, False, Group
// or Calc; no "Calc" field before the first "Group" field; section names and
// Databasename values that can be file names. Sorted by line.
QList<IniProblem> checkSchemaFile(const IniText &text);

} // namespace Ledgerly
