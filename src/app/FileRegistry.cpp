#include "FileRegistry.h"

#include "Registry.h"
#include "common/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>

namespace Ledgerly {

namespace {
// Anything larger is not a file we wrote; treat it as holding no keys.
constexpr qint64 maxFileSize = 4 * 1024 * 1024;

QString fullName(std::uint32_t rootKey, const QString &subKey)
{
    const QString root = Registry::nameOfRootKey(rootKey);
    if (root.isEmpty())
        return {};
    return subKey.isEmpty() ? root : root + QLatin1Char('\\') + subKey;
}
} // namespace

FileRegistry::FileRegistry(QString filePath)
    : m_filePath(filePath.isEmpty() ? defaultFilePath() : std::move(filePath))
{}

QString FileRegistry::defaultFilePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("Ledgerly/registry.json"));
}

QJsonObject FileRegistry::read() const
{
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxFileSize)
        return {};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    return document.isObject() ? document.object() : QJsonObject{};
}

bool FileRegistry::write(const QJsonObject &keys) const
{
    if (!QDir().mkpath(QFileInfo(m_filePath).absolutePath()))
        return false;
    return SafeFile::write(m_filePath, QJsonDocument(keys).toJson()).ok();
}

QString FileRegistry::storedName(const QJsonObject &keys, std::uint32_t rootKey,
                                 const QString &subKey)
{
    const QString wanted = fullName(rootKey, subKey);
    if (wanted.isEmpty())
        return {};
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        if (it.value().isObject() && it.key().compare(wanted, Qt::CaseInsensitive) == 0)
            return it.key();
    }
    return {};
}

bool FileRegistry::createKey(std::uint32_t rootKey, const QString &subKey)
{
    QJsonObject keys = read();
    if (!storedName(keys, rootKey, subKey).isEmpty())
        return true;
    const QString name = fullName(rootKey, subKey);
    if (name.isEmpty())
        return false;
    keys.insert(name, QJsonObject{});
    return write(keys);
}

bool FileRegistry::keyExists(std::uint32_t rootKey, const QString &subKey) const
{
    return !storedName(read(), rootKey, subKey).isEmpty();
}

QString FileRegistry::value(std::uint32_t rootKey, const QString &subKey,
                            const QString &valueName) const
{
    const QJsonObject keys = read();
    const QString name = storedName(keys, rootKey, subKey);
    if (name.isEmpty())
        return {};
    const QJsonObject values = keys.value(name).toObject();
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (it.key().compare(valueName, Qt::CaseInsensitive) == 0)
            return it.value().toString();
    }
    return {};
}

bool FileRegistry::setString(std::uint32_t rootKey, const QString &subKey, const QString &valueName,
                             const QString &value)
{
    QJsonObject keys = read();
    const QString name = storedName(keys, rootKey, subKey);
    if (name.isEmpty())
        return false;
    QJsonObject values = keys.value(name).toObject();
    QString existing = valueName;
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (it.key().compare(valueName, Qt::CaseInsensitive) == 0)
            existing = it.key();
    }
    values.insert(existing, value);
    keys.insert(name, values);
    return write(keys);
}

} // namespace Ledgerly
