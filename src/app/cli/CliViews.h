#pragma once

#include "CliCommand.h"

namespace Ledgerly {
class MainController;
}

namespace Ledgerly::Cli {

// The views a command takes as options, as the window's header and filter
// row make them: --sort FIELD[:desc] (repeatable, first key first) and
// --filter FIELD=TEXT (repeatable; TEXT as typed into that field's filter
// box). False after printing what is wrong with one.
bool applyViewOptions(CliContext &ctx, MainController &controller);

// The field column a --field option names; -1 after printing that there is
// none. Without the option, 0.
int fieldOption(CliContext &ctx, MainController &controller);

} // namespace Ledgerly::Cli
