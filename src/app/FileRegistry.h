#pragma once

#include "RegistryBackend.h"

#include <QJsonObject>
#include <QString>

namespace Ledgerly {

// A registry of our own for systems without one: a JSON file holding keys
// (full paths, compared without regard to case, as the registry does) and their
// string values. As with the real registry, writing needs the key to exist;
// set-up tools and tests create keys with createKey().
class FileRegistry : public RegistryBackend
{
public:
    // An empty path means registry.json in the user's config folder.
    explicit FileRegistry(QString filePath = {});

    static QString defaultFilePath();
    QString filePath() const { return m_filePath; }

    bool createKey(std::uint32_t rootKey, const QString &subKey);
    bool keyExists(std::uint32_t rootKey, const QString &subKey) const;
    QString value(std::uint32_t rootKey, const QString &subKey, const QString &valueName) const;

    bool setString(std::uint32_t rootKey, const QString &subKey, const QString &valueName,
                   const QString &value) override;

private:
    QJsonObject read() const;
    bool write(const QJsonObject &keys) const;
    static QString storedName(const QJsonObject &keys, std::uint32_t rootKey,
                              const QString &subKey);

    QString m_filePath;
};

} // namespace Ledgerly
