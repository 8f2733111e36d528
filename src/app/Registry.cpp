#include "Registry.h"

#include "common/Prompter.h"

namespace Ledgerly {

namespace {
constexpr const char16_t *rootNames[] = {
    u"HKEY_CLASSES_ROOT",     u"HKEY_CURRENT_USER",   u"HKEY_LOCAL_MACHINE", u"HKEY_USERS",
    u"HKEY_PERFORMANCE_DATA", u"HKEY_CURRENT_CONFIG", u"HKEY_DYN_DATA",
};
} // namespace

Registry::Registry(RegistryBackend &backend, Prompter &prompter)
    : m_backend(backend)
    , m_prompter(prompter)
{}

std::uint32_t Registry::RootKeyFromName(const QString &name)
{
    std::uint32_t key = ClassesRoot;
    for (const char16_t *rootName : rootNames) {
        if (name == QString::fromUtf16(rootName))
            return key;
        ++key;
    }
    return 0;
}

QString Registry::nameOfRootKey(std::uint32_t rootKey)
{
    if (rootKey < ClassesRoot || rootKey > DynData)
        return {};
    return QString::fromUtf16(rootNames[rootKey - ClassesRoot]);
}

bool Registry::SplitRegistryPath(QString &path, std::uint32_t &rootKey)
{
    if (!path.startsWith(QStringLiteral("HKEY_")) || path.endsWith(QLatin1Char('\\'))) {
        m_prompter.message(QStringLiteral("Incorrect Format:\n\n") + path, Prompter::Buttons::Ok,
                           Prompter::Icon::None);
        return false;
    }
    const qsizetype slash = path.indexOf(QLatin1Char('\\'));
    if (slash >= 0) {
        rootKey = RootKeyFromName(path.left(slash));
        path = path.mid(slash + 1);
    } else {
        rootKey = RootKeyFromName(path);
        path.clear();
    }
    return true;
}

void Registry::WriteRegistryString(const QString &path, const QString &valueName,
                                   const QString &valueText)
{
    QString subKey = path;
    std::uint32_t rootKey = 0;
    if (!SplitRegistryPath(subKey, rootKey) || rootKey == 0)
        return;
    m_backend.setString(rootKey, subKey, valueName, valueText);
}

} // namespace Ledgerly
