#include "SettingsStore.h"

#include <QDir>
#include <QSettings>

#include <memory>

namespace Ledgerly {

namespace {
std::unique_ptr<QSettings> open(const QString &folder, const QString &application)
{
    if (folder.isEmpty()) {
#ifdef Q_OS_WIN
        // The report tools read their user from the per-user program settings
        // area of the registry, so on Windows the values must live there.
        return std::make_unique<QSettings>(
            QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") +
                application,
            QSettings::NativeFormat);
#else
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           QStringLiteral("Ledgerly"), application);
#endif
    }
    return std::make_unique<QSettings>(QDir(folder).filePath(application + QStringLiteral(".ini")),
                                       QSettings::IniFormat);
}

QString path(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}
} // namespace

QSettingsStore::QSettingsStore(QString folder)
    : m_folder(std::move(folder))
{}

QString QSettingsStore::value(const QString &application, const QString &section,
                              const QString &key, const QString &defaultValue) const
{
    return open(m_folder, application)->value(path(section, key), defaultValue).toString();
}

void QSettingsStore::setValue(const QString &application, const QString &section,
                              const QString &key, const QString &value)
{
    auto settings = open(m_folder, application);
    settings->setValue(path(section, key), value);
    settings->sync();
}

} // namespace Ledgerly
