#include "SettingsStore.h"

#include "common/IniSettingsFile.h"

#include <QDir>
#include <QFileInfo>
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
    auto settings = open(m_folder, application);
#ifdef Q_OS_WIN
    if (m_folder.isEmpty())
        return settings->value(path(section, key), defaultValue).toString();
#endif
    // Read with the same reader setValue writes with: QSettings keeps what it
    // read per file and may miss a rewrite of the same size within a second.
    const QString file = settings->fileName();
    settings.reset();
    const QString wanted = path(section, key);
    for (const auto &[name, stored] : IniSettingsFile::read(file)) {
        if (name == wanted)
            return stored.toString();
    }
    return defaultValue;
}

bool QSettingsStore::setValue(const QString &application, const QString &section,
                              const QString &key, const QString &value)
{
    auto settings = open(m_folder, application);
#ifdef Q_OS_WIN
    if (m_folder.isEmpty()) {
        settings->setValue(path(section, key), value);
        settings->sync();
        return settings->status() == QSettings::NoError;
    }
#endif
    // Elsewhere the store is an INI file, written so that a full disk is
    // reported and the old values survive.
    const QString file = settings->fileName();
    settings.reset();
    IniSettingsFile::Values values = IniSettingsFile::read(file);
    const QString wanted = path(section, key);
    bool replaced = false;
    for (auto &[name, stored] : values) {
        if (name == wanted) {
            stored = value;
            replaced = true;
        }
    }
    if (!replaced)
        values.append({wanted, value});
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return false;
    return IniSettingsFile::write(file, values).ok();
}

} // namespace Ledgerly
