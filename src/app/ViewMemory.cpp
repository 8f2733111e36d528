#include "ViewMemory.h"

#include "SettingsStore.h"

namespace Ledgerly {

namespace {
const QString sortKeysKey = QStringLiteral("SortKeys");
const QString filterRowKey = QStringLiteral("FilterRow");
} // namespace

ViewMemory::ViewMemory(SettingsStore &settings, const QString &application)
    : m_settings(settings)
    , m_application(application)
{}

SortKeys ViewMemory::sortKeys(const QString &section, const QAbstractItemModel &table) const
{
    if (section.isEmpty())
        return {};
    return SortKeyList::read(table, m_settings.value(m_application, section, sortKeysKey));
}

void ViewMemory::setSortKeys(const QString &section, const QAbstractItemModel &table,
                             const SortKeys &keys)
{
    if (!section.isEmpty())
        m_settings.setValue(m_application, section, sortKeysKey, SortKeyList::write(table, keys));
}

bool ViewMemory::filterRowShown(const QString &section) const
{
    return !section.isEmpty() &&
           m_settings.value(m_application, section, filterRowKey) == QLatin1String("True");
}

void ViewMemory::setFilterRowShown(const QString &section, bool shown)
{
    if (!section.isEmpty())
        m_settings.setValue(m_application, section, filterRowKey,
                            shown ? QStringLiteral("True") : QStringLiteral("False"));
}

} // namespace Ledgerly
