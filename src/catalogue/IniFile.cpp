#include "IniFile.h"

#include "IniDocument.h"
#include "common/SafeFile.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>

#include <memory>

namespace Ledgerly {

namespace {

// A missing file reads as empty, as on the platform; one that is there but
// cannot be read does too here, and iniFileProblem() says why.
QByteArray readWholeFile(const QString &file, QString *why)
{
    QByteArray bytes;
    if (file.isEmpty() || !QFileInfo::exists(file) ||
        !SafeFile::read(file, IniMaxFileSize, &bytes, why))
        return {};
    return bytes;
}

// The catalogue asks for one key at a time, thousands of times for a large
// schema; parsing the file once per change keeps that linear. A file edited
// while the program runs changes its size or modification time and is read
// afresh. Not thread-safe: only the main thread reads the schema.
struct CachedIni
{
    qint64 size = -1;
    QDateTime modified;
    QByteArray bytes; // kept only while the modification time is recent
    std::shared_ptr<const IniDocument> document;
    QString problem; // why the file could not be read, when it could not
};

QHash<QString, CachedIni> &cache()
{
    static QHash<QString, CachedIni> files;
    return files;
}

// A file rewritten within one tick of the file system's clock keeps its
// modification time; one that recent is compared byte by byte instead.
bool isRecent(const QDateTime &modified)
{
    return !modified.isValid() || modified.msecsTo(QDateTime::currentDateTimeUtc()) < 3000;
}

std::shared_ptr<const IniDocument> parsedFile(const QString &file)
{
    static const auto empty = std::make_shared<const IniDocument>();
    if (file.isEmpty())
        return empty;
    const QFileInfo info(file);
    if (!info.exists() || !info.isFile()) {
        cache().remove(file);
        return empty;
    }
    CachedIni &entry = cache()[file];
    const qint64 size = info.size();
    const QDateTime modified = info.lastModified().toUTC();
    const bool recent = isRecent(modified);
    if (entry.document && entry.size == size && entry.modified == modified && !recent) {
        entry.bytes.clear();
        return entry.document;
    }
    QString why;
    QByteArray bytes = readWholeFile(file, &why);
    entry.problem = why;
    if (!entry.document || bytes != entry.bytes || entry.size != size || entry.modified != modified)
        entry.document = std::make_shared<const IniDocument>(IniDocument::parse(bytes));
    entry.size = size;
    entry.modified = modified;
    entry.bytes = recent ? std::move(bytes) : QByteArray();
    return entry.document;
}

QString valueAt(const IniDocument &doc, int s, const QString &key)
{
    QStringView found;
    if (s < 0 || key.isEmpty() || !doc.findValue(s, key, &found))
        return {};
    if (found.size() >= IniBufferSize) {
        qsizetype keep = IniBufferSize - 1;
        // Never leave half of a surrogate pair behind.
        if (found.at(keep - 1).isHighSurrogate())
            --keep;
        found.truncate(keep);
    }
    return found.toString();
}

QString valueIn(const IniDocument &doc, const QString &section, const QString &key)
{
    // An empty name never matches: the catalogue's look-up of an unselected
    // key must read as empty.
    if (section.isEmpty() || key.isEmpty())
        return {};
    return valueAt(doc, doc.findSection(section), key);
}

QStringList sectionsIn(const IniDocument &doc)
{
    return limitIniNameList(doc.sectionNames());
}

QStringList keysIn(const IniDocument &doc, const QString &section)
{
    if (section.isEmpty())
        return {};
    const int s = doc.findSection(section);
    if (s < 0)
        return {};
    return limitIniNameList(doc.keyNames(s));
}

QStringList keysAt(const IniDocument &doc, int s)
{
    if (s < 0 || s >= doc.sectionCount())
        return {};
    return limitIniNameList(doc.keyNames(s));
}

} // namespace

namespace {

// How many names the name buffer keeps, from their lengths alone.
template<typename Length> qsizetype keptNameCount(qsizetype count, Length length)
{
    // Each name takes its length plus a NUL, and the list ends with one more.
    qsizetype needed = 1;
    for (qsizetype i = 0; i < count; ++i)
        needed += length(i) + 1;
    // When the list does not fit, the platform keeps the first
    // IniBufferSize - 2 characters and closes the buffer with two NULs.
    const bool cut = needed > IniBufferSize;
    const qsizetype room = IniBufferSize - 2;

    qsizetype pos = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype size = length(i);
        if (size == 0)
            return i; // an empty name reads as the list's closing NUL
        if (cut && pos + size > room)
            return i;
        pos += size + 1;
    }
    return count;
}

} // namespace

QStringList limitIniNameList(const QStringList &names)
{
    return names.first(
        keptNameCount(names.size(), [&](qsizetype i) { return names.at(i).size(); }));
}

int countIniKeys(const IniDocument &document, const QString &section)
{
    if (section.isEmpty())
        return 0;
    return countIniKeysAt(document, document.findSection(section));
}

int countIniKeysAt(const IniDocument &document, int s)
{
    if (s < 0 || s >= document.sectionCount())
        return 0;
    return int(keptNameCount(document.keyCount(s),
                             [&](qsizetype i) { return document.keyName(s, int(i)).size(); }));
}

QString readIniValueAt(const IniDocument &document, int section, const QString &key)
{
    if (section >= document.sectionCount())
        return {};
    return valueAt(document, section, key);
}

QStringList listIniKeysAt(const IniDocument &document, int section)
{
    return keysAt(document, section);
}

QString readIniValueFromBytes(const QByteArray &bytes, const QString &section, const QString &key)
{
    return valueIn(IniDocument::parse(bytes), section, key);
}

QStringList listIniSectionsFromBytes(const QByteArray &bytes)
{
    return sectionsIn(IniDocument::parse(bytes));
}

QStringList listIniKeysFromBytes(const QByteArray &bytes, const QString &section)
{
    return keysIn(IniDocument::parse(bytes), section);
}

QString iniFileProblem(const QString &file)
{
    if (file.isEmpty() || !QFileInfo::exists(file))
        return {};
    // A regular file is read through the cache, so the parse that follows
    // does not read it again; anything else says why it cannot be read.
    if (QFileInfo(file).isFile()) {
        parsedFile(file);
        const auto found = cache().constFind(file);
        if (found != cache().constEnd())
            return found->problem;
    }
    QByteArray bytes;
    QString why;
    if (SafeFile::read(file, IniMaxFileSize, &bytes, &why))
        return {};
    return why;
}

std::shared_ptr<const IniDocument> readIniFile(const QString &file)
{
    return parsedFile(file);
}

QString readIniValue(const IniDocument &document, const QString &section, const QString &key)
{
    return valueIn(document, section, key);
}

QStringList listIniSections(const IniDocument &document)
{
    return sectionsIn(document);
}

QStringList listIniKeys(const IniDocument &document, const QString &section)
{
    return keysIn(document, section);
}

QString ReadIniValue(const QString &section, const QString &key, const QString &file)
{
    return valueIn(*parsedFile(file), section, key);
}

QStringList ListIniSections(const QString &file)
{
    return sectionsIn(*parsedFile(file));
}

QStringList ListIniKeys(const QString &file, const QString &section)
{
    return keysIn(*parsedFile(file), section);
}

} // namespace Ledgerly
