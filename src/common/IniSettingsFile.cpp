#include "IniSettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

namespace Ledgerly {

IniSettingsFile::Values IniSettingsFile::read(const QString &path)
{
    Values values;
    if (!QFileInfo(path).isFile())
        return values;
    const QSettings ini(path, QSettings::IniFormat);
    for (const QString &key : ini.allKeys())
        values.append({key, ini.value(key)});
    return values;
}

SafeFile::Result IniSettingsFile::write(const QString &path, const Values &values)
{
    const QString native = QDir::toNativeSeparators(path);
    const QTemporaryDir scratch;
    if (!scratch.isValid())
        return {SafeFile::DeviceIo,
                QStringLiteral("Cannot write \"%1\": no scratch folder can be made").arg(native)};
    const QString rendered = scratch.filePath(QStringLiteral("settings.ini"));
    {
        QSettings ini(rendered, QSettings::IniFormat);
        for (const auto &[key, value] : values)
            ini.setValue(key, value);
        ini.sync();
        if (ini.status() != QSettings::NoError)
            return {SafeFile::DeviceIo,
                    QStringLiteral("Cannot write \"%1\": the settings could not be rendered")
                        .arg(native)};
    }
    // The scratch copy may have lost its tail like any other file: every value
    // must read back before the text is trusted.
    const QSettings check(rendered, QSettings::IniFormat);
    for (const auto &[key, value] : values) {
        if (check.value(key) != value && check.value(key).toString() != value.toString())
            return {SafeFile::DeviceIo,
                    QStringLiteral("Cannot write \"%1\": the settings could not be rendered")
                        .arg(native)};
    }
    QByteArray bytes;
    QString error;
    if (!SafeFile::read(rendered, 64 * 1024 * 1024, &bytes, &error))
        return {SafeFile::DeviceIo, error};
    return SafeFile::write(path, bytes);
}

} // namespace Ledgerly
