#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace Ledgerly {

// One "name=value" line. A line without "=" is still a key (it is listed) but
// has no value.
struct IniEntry
{
    QString name;
    QString value; // blanks and one pair of enclosing quotes already removed
    bool hasValue = false;
};

struct IniSection
{
    QString name;
    QList<IniEntry> entries; // in file order, duplicates kept
};

// An INI file parsed the way the Windows profile-string functions see it.
// Every section header starts a new section, even when an earlier one has
// the same name; look-ups take the first match, ignoring case. Lines before
// the first section header belong to no section and are never read.
class IniDocument
{
public:
    static IniDocument parse(const QByteArray &bytes);
    // UTF-8 (with or without a byte order mark) when the bytes are valid
    // UTF-8, UTF-16 when they start with its byte order mark, otherwise
    // Windows-1252: files written on Windows read correctly.
    static QString decode(const QByteArray &bytes);

    const QList<IniSection> &sections() const { return m_sections; }
    const IniSection *findSection(const QString &name) const;
    static const IniEntry *findEntry(const IniSection &section, const QString &key);

private:
    void parseLine(QStringView line);

    QList<IniSection> m_sections;
};

} // namespace Ledgerly
