#include "SchemaSection.h"

#include "IniFile.h"
#include "SchemaRules.h"

namespace Ledgerly {

SchemaSection::SchemaSection(QString schemaFile, QString name)
    : m_schemaFile(std::move(schemaFile))
    , m_name(std::move(name))
    , m_document(readIniFile(m_schemaFile))
    , m_keyCount(countIniKeys(*m_document, m_name))
{}

const QStringList &SchemaSection::keys() const
{
    if (!m_keysNamed && m_document) {
        m_keys = listIniKeys(*m_document, m_name);
        m_keysNamed = true;
    }
    return m_keys;
}

int SchemaSection::fieldCount() const
{
    return schemaFieldCount(keyCount());
}

QStringList SchemaSection::fieldNames() const
{
    const int count = qMin(fieldCount(), keyCount() - 1);
    return count > 0 ? keys().mid(1, count) : QStringList();
}

int SchemaSection::keyIndex(const QString &name) const
{
    const QStringList &names = keys();
    for (int i = 0; i < names.size(); ++i)
        if (names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString SchemaSection::value(const QString &key) const
{
    if (key.isEmpty())
        return {};
    return ReadIniValue(m_name, key, m_schemaFile);
}

QString SchemaSection::valueAt(int i) const
{
    return value(key(i));
}

QString SchemaSection::caption(const QString &field) const
{
    // A key the listing lacks (past the name buffer, or absent) has no caption,
    // even when the file holds one further down.
    return keyIndex(field) >= 0 ? value(field) : QString();
}

QString SchemaSection::role(const QString &field) const
{
    return value(field + QStringLiteral("Hide"));
}

} // namespace Ledgerly
