#pragma once

#include "RegistryBackend.h"

namespace Ledgerly {

// The real registry (Windows only): opens an existing key for writing and sets
// a string value in the system code page.
class WindowsRegistry : public RegistryBackend
{
public:
    bool setString(std::uint32_t rootKey, const QString &subKey, const QString &valueName,
                   const QString &value) override;
};

} // namespace Ledgerly
