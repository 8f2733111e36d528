#pragma once

#include <QString>

namespace Ledgerly {

// The per-user application settings store, addressed by application name,
// section and key; values are text.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual QString value(const QString &application, const QString &section, const QString &key,
                          const QString &defaultValue = {}) const = 0;
    // False when the value could not be stored (the store is unchanged).
    virtual bool setValue(const QString &application, const QString &section, const QString &key,
                          const QString &value) = 0;
};

// QSettings underneath: the registry on Windows (the per-user program settings
// area other programs of the family read too), a file per application under
// the user's config folder elsewhere. A non-empty folder keeps one INI file
// per application there instead (tests point it at a temporary folder).
class QSettingsStore : public SettingsStore
{
public:
    explicit QSettingsStore(QString folder = {});
    QString value(const QString &application, const QString &section, const QString &key,
                  const QString &defaultValue = {}) const override;
    bool setValue(const QString &application, const QString &section, const QString &key,
                  const QString &value) override;

private:
    QString m_folder;
};

} // namespace Ledgerly
