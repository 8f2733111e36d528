#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace Ledgerly {

// An INI file parsed the way the Windows profile-string functions see it.
// Every section header starts a new section, even when an earlier one has
// the same name; look-ups take the first match, ignoring case. Lines before
// the first section header belong to no section and are never read.
//
// A schema file holds about a hundred thousand keys of which a listing reads
// only a few, so the document keeps the decoded text once and each key as
// positions in it; a name or value becomes a QString only when asked for.
class IniDocument
{
public:
    // The bytes decoded as IniEncoding says.
    static IniDocument parse(const QByteArray &bytes);
    static IniDocument parseText(QString text);

    int sectionCount() const { return int(m_sections.size()); }
    const QStringList &sectionNames() const { return m_sectionNames; }
    // The first section of that name, case ignored; -1 when none.
    int findSection(const QString &name) const;
    // The line (from 0) of the section's header.
    int sectionLine(int section) const { return m_sections.at(section).line; }

    int keyCount(int section) const { return int(m_sections.at(section).entryCount); }
    // The key at position i of the section (0 <= i < keyCount), as written.
    QStringView keyName(int section, int i) const;
    QStringList keyNames(int section) const;
    // The value of the section's first key of that name (case ignored),
    // blanks and one pair of enclosing quotes removed. False when the section
    // has no such key; a key written without "=" has an empty value.
    bool findValue(int section, QStringView key, QStringView *value) const;
    // The position of the section's first key of that name (case ignored);
    // -1 when none.
    int findKey(int section, QStringView key) const;
    // The line (from 0) the key at position i of the section stands on.
    int keyLine(int section, int i) const;
    // The value of the key at position i, as findValue() gives it.
    QStringView keyValue(int section, int i) const;

private:
    // Positions in m_text; a value length of -1 marks a key without "=".
    struct Entry
    {
        qsizetype nameStart;
        qsizetype nameLength;
        qsizetype valueStart;
        qsizetype valueLength;
        int line;
    };
    struct Section
    {
        qsizetype firstEntry;
        qsizetype entryCount;
        int line;
    };

    void parseLine(qsizetype begin, qsizetype end, int line);
    void addSection(QStringView name, int line);

    QString m_text;
    QStringList m_sectionNames;
    QList<Section> m_sections;
    QList<Entry> m_entries;
    // Sections whose name is plain ASCII, by that name in lower case: the
    // first of each. Other names can match an ASCII one under Unicode case
    // folding (the Kelvin sign folds to "k"), so they are searched in turn.
    QHash<QString, int> m_asciiSections;
    QList<int> m_otherSections;
};

} // namespace Ledgerly
