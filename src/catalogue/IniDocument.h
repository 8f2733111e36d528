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
// only a few, so the document keeps the text once, as UTF-8 (half of what
// UTF-16 takes for the mostly ASCII text of a schema), and each key as
// positions in it; a name or value becomes a QString only when asked for.
class IniDocument
{
public:
    static IniDocument parse(const QByteArray &bytes);
    // UTF-8 (with or without a byte order mark) when the bytes are valid
    // UTF-8, UTF-16 when they start with its byte order mark, otherwise
    // Windows-1252: files written on Windows read correctly.
    static QString decode(const QByteArray &bytes);
    // The same text as UTF-8; valid UTF-8 comes back as it is.
    static QByteArray utf8(const QByteArray &bytes);

    int sectionCount() const { return int(m_sections.size()); }
    const QStringList &sectionNames() const { return m_sectionNames; }
    // The first section of that name, case ignored; -1 when none.
    int findSection(const QString &name) const;

    int keyCount(int section) const { return int(m_sections.at(section).entryCount); }
    // The key at position i of the section (0 <= i < keyCount), as written,
    // and its length in UTF-16 characters.
    QString keyName(int section, int i) const;
    qsizetype keyNameLength(int section, int i) const;
    QStringList keyNames(int section) const;
    // The value of the section's first key of that name (case ignored),
    // blanks and one pair of enclosing quotes removed. False when the section
    // has no such key; a key written without "=" has an empty value.
    bool findValue(int section, QStringView key, QString *value) const;

private:
    // Positions in m_text; a value length of -1 marks a key without "=".
    // A schema of a hundred thousand keys holds as many entries: 32 bits
    // each are enough for the largest file read (IniMaxFileSize).
    struct Entry
    {
        qint32 nameStart;
        qint32 nameLength;
        qint32 valueStart;
        qint32 valueLength;
    };
    struct Section
    {
        qint32 firstEntry;
        qint32 entryCount;
    };

    void parseLine(qsizetype begin, qsizetype end);
    void addSection(QByteArrayView name);
    QByteArrayView bytes(qint32 start, qint32 length) const
    {
        return QByteArrayView(m_text.constData() + start, length);
    }

    QByteArray m_text; // UTF-8
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
