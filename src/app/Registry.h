#pragma once

#include "RegistryBackend.h"

#include <QString>

#include <cstdint>

namespace Ledgerly {

class Prompter;

// The few registry procedures the program needs to keep Palm Desktop told of
// the chosen user. Paths are written "HKEY_...\sub\key".
class Registry
{
public:
    // The predefined root keys, in the platform's numbering.
    enum RootKey : std::uint32_t {
        ClassesRoot = 0x80000000u,
        CurrentUser = 0x80000001u,
        LocalMachine = 0x80000002u,
        Users = 0x80000003u,
        PerformanceData = 0x80000004u,
        CurrentConfig = 0x80000005u,
        DynData = 0x80000006u,
    };

    Registry(RegistryBackend &backend, Prompter &prompter);

    // Exact, case-sensitive names; anything else gives 0.
    static std::uint32_t RootKeyFromName(const QString &name);
    static QString nameOfRootKey(std::uint32_t rootKey);

    // Splits "ROOT\sub\key" into its root key and "sub\key" (path is replaced).
    // A path not starting with "HKEY_" or ending in "\" is refused with the
    // "Incorrect Format:" message, returns false and leaves rootKey alone.
    bool SplitRegistryPath(QString &path, std::uint32_t &rootKey);

    // Writes a string value into an existing key; results are not reported.
    void WriteRegistryString(const QString &path, const QString &valueName,
                             const QString &valueText);

private:
    RegistryBackend &m_backend;
    Prompter &m_prompter;
};

} // namespace Ledgerly
