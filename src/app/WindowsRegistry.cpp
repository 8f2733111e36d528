#include "WindowsRegistry.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace Ledgerly {

#ifdef Q_OS_WIN
bool WindowsRegistry::setString(std::uint32_t rootKey, const QString &subKey,
                                const QString &valueName, const QString &value)
{
    HKEY key = nullptr;
    const HKEY root = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(rootKey));
    if (RegOpenKeyExW(root, reinterpret_cast<LPCWSTR>(subKey.utf16()), 0, KEY_WRITE, &key) !=
        ERROR_SUCCESS)
        return false;
    const std::wstring text = value.toStdWString();
    const LONG result = RegSetValueExW(key, reinterpret_cast<LPCWSTR>(valueName.utf16()), 0, REG_SZ,
                                       reinterpret_cast<const BYTE *>(text.c_str()),
                                       DWORD((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}
#else
bool WindowsRegistry::setString(std::uint32_t, const QString &, const QString &, const QString &)
{
    return false;
}
#endif

} // namespace Ledgerly
