#pragma once

#include "RegistryBackend.h"

#include <memory>

namespace Ledgerly {

// The registry of the system the program runs on: the Windows registry, or
// our own file of keys elsewhere.
std::unique_ptr<RegistryBackend> makePlatformRegistry();

} // namespace Ledgerly
