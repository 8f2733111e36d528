#pragma once

#include "grid/SortKey.h"

#include <QString>

class QAbstractItemModel;

namespace Ledgerly {

class SettingsStore;

// What the window remembers of how each database was looked at: its sort
// keys and whether the filter row was shown (never the filter's texts, which
// would hide records the next time without a word). Kept in the per-user
// settings under the database's schema section.
class ViewMemory
{
public:
    ViewMemory(SettingsStore &settings, const QString &application);

    SortKeys sortKeys(const QString &section, const QAbstractItemModel &table) const;
    void setSortKeys(const QString &section, const QAbstractItemModel &table, const SortKeys &keys);
    bool filterRowShown(const QString &section) const;
    void setFilterRowShown(const QString &section, bool shown);

private:
    SettingsStore &m_settings;
    QString m_application;
};

} // namespace Ledgerly
