#pragma once

#include <QString>

#include <cstdint>

namespace Ledgerly {

// Where registry values are really written: the Windows registry, or a small
// file of our own elsewhere. Keys are opened for writing, never created.
class RegistryBackend
{
public:
    virtual ~RegistryBackend() = default;
    // False when the key does not exist or cannot be opened for writing.
    virtual bool setString(std::uint32_t rootKey, const QString &subKey, const QString &valueName,
                           const QString &value) = 0;
};

} // namespace Ledgerly
