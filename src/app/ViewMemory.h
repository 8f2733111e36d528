#pragma once

#include "grid/SortKey.h"

#include <QByteArray>
#include <QHash>
#include <QString>

class QAbstractItemModel;

namespace Ledgerly {

class SettingsStore;

// What the window remembers between runs, in the per-user settings under
// AppName: per database (keyed by its schema section) the column widths a
// person set, its sort keys and whether its filter row was shown (never the
// filter's texts, which would hide records the next time without a word),
// and the window's own place and size.
class ViewMemory
{
public:
    ViewMemory(SettingsStore &settings, QString appName);

    // Twips by column key; empty when nothing was set for the section.
    QHash<QString, double> columnWidths(const QString &section) const;
    void setColumnWidths(const QString &section, const QHash<QString, double> &twipsByKey);

    // Keys by the columns' field keys, so a changed schema costs only the
    // keys of fields that are gone.
    SortKeys sortKeys(const QString &section, const QAbstractItemModel &table) const;
    void setSortKeys(const QString &section, const QAbstractItemModel &table, const SortKeys &keys);
    bool filterRowShown(const QString &section) const;
    void setFilterRowShown(const QString &section, bool shown);

    // The folder the last CSV file was chosen in.
    QString csvFolder() const;
    void setCsvFolder(const QString &folder);

    QByteArray windowGeometry() const;
    void setWindowGeometry(const QByteArray &geometry);

    // The stored form of widths: "key=twips" pairs joined by ';', keys
    // percent-encoded so any field name survives. Unreadable pairs are left out.
    static QString widthsText(const QHash<QString, double> &twipsByKey);
    static QHash<QString, double> readWidths(const QString &text);

private:
    SettingsStore &m_settings;
    QString m_appName;
};

} // namespace Ledgerly
