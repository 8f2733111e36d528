#include "PlatformRegistry.h"

#include "FileRegistry.h"
#include "WindowsRegistry.h"

namespace Ledgerly {

std::unique_ptr<RegistryBackend> makePlatformRegistry()
{
#ifdef Q_OS_WIN
    return std::make_unique<WindowsRegistry>();
#else
    return std::make_unique<FileRegistry>();
#endif
}

} // namespace Ledgerly
