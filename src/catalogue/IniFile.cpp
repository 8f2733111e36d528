#include "IniFile.h"

#include "IniDocument.h"
#include "common/SafeFile.h"

#include <QFileInfo>

namespace Ledgerly {

namespace {

// A missing file reads as empty, as on the platform; one that is there but
// cannot be read does too here, and iniFileProblem() says why.
QByteArray readWholeFile(const QString &file)
{
    QByteArray bytes;
    if (file.isEmpty() || !QFileInfo::exists(file) ||
        !SafeFile::read(file, IniMaxFileSize, &bytes, nullptr))
        return {};
    return bytes;
}

} // namespace

QStringList limitIniNameList(const QStringList &names)
{
    // Each name takes its length plus a NUL, and the list ends with one more.
    qsizetype needed = 1;
    for (const QString &n : names)
        needed += n.size() + 1;
    // When the list does not fit, the platform keeps the first
    // IniBufferSize - 2 characters and closes the buffer with two NULs.
    const bool cut = needed > IniBufferSize;
    const qsizetype room = IniBufferSize - 2;

    QStringList out;
    qsizetype pos = 0;
    for (const QString &n : names) {
        if (n.isEmpty())
            break; // an empty name reads as the list's closing NUL
        if (cut && pos + n.size() > room)
            break;
        out.append(n);
        pos += n.size() + 1;
    }
    return out;
}

QString readIniValueFromBytes(const QByteArray &bytes, const QString &section, const QString &key)
{
    // An empty name never matches: the catalogue's look-up of an unselected
    // key must read as empty.
    if (section.isEmpty() || key.isEmpty())
        return {};
    const IniDocument doc = IniDocument::parse(bytes);
    const IniSection *s = doc.findSection(section);
    if (!s)
        return {};
    const IniEntry *e = IniDocument::findEntry(*s, key);
    if (!e)
        return {};
    QString value = e->value;
    if (value.size() >= IniBufferSize) {
        qsizetype keep = IniBufferSize - 1;
        // Never leave half of a surrogate pair behind.
        if (value.at(keep - 1).isHighSurrogate())
            --keep;
        value.truncate(keep);
    }
    return value;
}

QStringList listIniSectionsFromBytes(const QByteArray &bytes)
{
    const IniDocument doc = IniDocument::parse(bytes);
    QStringList names;
    names.reserve(doc.sections().size());
    for (const IniSection &s : doc.sections())
        names.append(s.name);
    return limitIniNameList(names);
}

QStringList listIniKeysFromBytes(const QByteArray &bytes, const QString &section)
{
    if (section.isEmpty())
        return {};
    const IniDocument doc = IniDocument::parse(bytes);
    const IniSection *s = doc.findSection(section);
    if (!s)
        return {};
    QStringList names;
    names.reserve(s->entries.size());
    for (const IniEntry &e : s->entries)
        names.append(e.name);
    return limitIniNameList(names);
}

QString iniFileProblem(const QString &file)
{
    QByteArray bytes;
    QString why;
    if (file.isEmpty() || !QFileInfo::exists(file) ||
        SafeFile::read(file, IniMaxFileSize, &bytes, &why))
        return {};
    return why;
}

QString ReadIniValue(const QString &section, const QString &key, const QString &file)
{
    return readIniValueFromBytes(readWholeFile(file), section, key);
}

QStringList ListIniSections(const QString &file)
{
    return listIniSectionsFromBytes(readWholeFile(file));
}

QStringList ListIniKeys(const QString &file, const QString &section)
{
    return listIniKeysFromBytes(readWholeFile(file), section);
}

} // namespace Ledgerly
