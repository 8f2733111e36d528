#include "IniSettingsFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSettings>
#include <QStringDecoder>

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

namespace {

bool isPlainNameChar(char16_t u)
{
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') ||
           u == u'_' || u == u'-' || u == u'.';
}

// Names as QSettings writes them: plain characters kept, others %-escaped.
QString escapedName(QStringView name)
{
    QString out;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (isPlainNameChar(u))
            out += c;
        else if (u == u'/')
            out += QLatin1Char('\\');
        else if (u < 0x100)
            out += QLatin1Char('%') + QString::number(int(u), 16).rightJustified(2, u'0').toUpper();
        else
            out += QStringLiteral("%U%1").arg(int(u), 4, 16, QLatin1Char('0')).toUpper();
    }
    return out;
}

bool isHexDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

QString hexEscape(char16_t c)
{
    return QStringLiteral("\\x%1").arg(int(c), 4, 16, QLatin1Char('0'));
}

// Values always quoted, so commas and blanks stay text; "@" starts QSettings'
// own type markers and is doubled.
QString quotedValue(const QVariant &value)
{
    QString text = value.typeId() == QMetaType::Bool
                       ? (value.toBool() ? QStringLiteral("true") : QStringLiteral("false"))
                       : value.toString();
    if (text.startsWith(QLatin1Char('@')))
        text.prepend(QLatin1Char('@'));
    QString out = QStringLiteral("\"");
    // QSettings reads every hex digit after "\x" into the one character, so
    // a digit that follows such an escape is escaped too.
    bool afterHexEscape = false;
    for (const QChar c : std::as_const(text)) {
        if (afterHexEscape && isHexDigit(c.unicode())) {
            out += hexEscape(c.unicode());
            continue;
        }
        afterHexEscape = false;
        switch (c.unicode()) {
        case u'\\':
            out += QLatin1String("\\\\");
            break;
        case u'"':
            out += QLatin1String("\\\"");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        case u'\t':
            out += QLatin1String("\\t");
            break;
        default:
            if (c.unicode() < 0x20) {
                out += hexEscape(c.unicode());
                afterHexEscape = true;
            } else {
                out += c;
            }
        }
    }
    return out + QLatin1Char('"');
}

// A group or key name as render() writes the names we use: plain characters,
// "\\" between the parts of a key. Anything else is for QSettings to read.
bool isPlainName(QStringView name, bool key)
{
    if (name.isEmpty() || name.front() == u'\\' || name.back() == u'\\' || name.contains(u"\\\\"))
        return false;
    for (const QChar c : name) {
        if (!isPlainNameChar(c.unicode()) && !(key && c == u'\\'))
            return false;
    }
    return true;
}

int hexValue(char16_t c)
{
    return c <= u'9' ? c - u'0' : (c | 0x20) - u'a' + 10;
}

// The inside of a quoted value as quotedValue() writes it, unescaped as
// QSettings does; nothing for a form it does not write.
std::optional<QString> unquotedValue(QStringView quoted)
{
    if (quoted.size() < 2 || quoted.front() != u'"' || quoted.back() != u'"')
        return std::nullopt;
    const QStringView inner = quoted.sliced(1, quoted.size() - 2);
    QString out;
    out.reserve(inner.size());
    for (qsizetype i = 0; i < inner.size(); ++i) {
        const char16_t c = inner.at(i).unicode();
        if (c == u'"' || c < 0x20)
            return std::nullopt;
        if (c != u'\\') {
            out += QChar(c);
            continue;
        }
        if (++i == inner.size())
            return std::nullopt;
        switch (inner.at(i).unicode()) {
        case u'\\':
            out += u'\\';
            break;
        case u'"':
            out += u'"';
            break;
        case u'n':
            out += u'\n';
            break;
        case u'r':
            out += u'\r';
            break;
        case u't':
            out += u'\t';
            break;
        case u'x': {
            // Every hex digit that follows belongs to the one character, the
            // way QSettings reads it (wrapping past 16 bits as it does).
            if (i + 1 == inner.size() || !isHexDigit(inner.at(i + 1).unicode()))
                return std::nullopt;
            char16_t code = 0;
            while (i + 1 < inner.size() && isHexDigit(inner.at(i + 1).unicode()))
                code = char16_t((code << 4) + hexValue(inner.at(++i).unicode()));
            out += QChar(code);
            break;
        }
        default:
            return std::nullopt;
        }
    }
    // A leading "@" marks one of QSettings' own types unless it is doubled.
    if (out.startsWith(QLatin1Char('@'))) {
        if (!out.startsWith(QStringLiteral("@@")))
            return std::nullopt;
        out.remove(0, 1);
    }
    return out;
}

} // namespace

std::optional<IniSettingsFile::Texts> IniSettingsFile::parseRendered(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (utf8.hasError())
        return std::nullopt;
    Texts values;
    values.reserve(bytes.count('\n'));
    QSet<QString> groups;
    QString group;
    bool inGroup = false;
    for (const QStringView line : QStringView(text).tokenize(u'\n')) {
        if (line.isEmpty())
            continue;
        if (line.front() == u'[') {
            const QStringView name = line.sliced(1).chopped(line.back() == u']' ? 1 : 0);
            // A group written twice is merged by QSettings; left to it.
            if (line.back() != u']' || !isPlainName(name, false) ||
                groups.contains(name.toString()))
                return std::nullopt;
            groups.insert(name.toString());
            group = name.compare(u"General", Qt::CaseInsensitive) == 0
                        ? QString()
                        : name.toString() + QLatin1Char('/');
            inGroup = true;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inGroup || equals < 0 || !isPlainName(line.first(equals), true))
            return std::nullopt;
        std::optional<QString> value = unquotedValue(line.sliced(equals + 1));
        if (!value)
            return std::nullopt;
        QString key = group;
        key.append(line.first(equals));
        key.replace(QLatin1Char('\\'), QLatin1Char('/'));
        const qsizetype before = values.size();
        values.insert(key, std::move(*value));
        if (values.size() == before)
            return std::nullopt; // a key written twice
    }
    return values;
}

bool IniSettingsFile::readTexts(const QString &path, const QByteArray &bytes, Texts *texts)
{
    if (std::optional<Texts> rendered = parseRendered(bytes)) {
        *texts = std::move(*rendered);
        return true;
    }
    const QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        return false;
    texts->clear();
    for (const QString &key : ini.allKeys()) {
        const QVariant value = ini.value(key);
        texts->insert(key, value.typeId() == QMetaType::QStringList
                               ? value.toStringList().join(QStringLiteral(", "))
                               : value.toString());
    }
    return true;
}

QByteArray IniSettingsFile::render(const Values &values)
{
    // Keys grouped by their first part, groups and keys in first-seen order.
    QStringList groups;
    QHash<QString, QStringList> lines;
    for (const auto &[path, value] : values) {
        const qsizetype slash = path.indexOf(QLatin1Char('/'));
        // A real group called "General" is written "%General": the plain
        // name holds the keys without a group.
        const QString group = slash < 0 ? QString() : path.left(slash);
        const QString key = slash < 0 ? path : path.mid(slash + 1);
        if (!lines.contains(group))
            groups.append(group);
        lines[group].append(escapedName(key) + QLatin1Char('=') + quotedValue(value));
    }
    QString text;
    for (const QString &group : std::as_const(groups)) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        const QString name = group.isEmpty()                     ? QStringLiteral("General")
                             : group == QLatin1String("General") ? QStringLiteral("%General")
                                                                 : escapedName(group);
        text += QLatin1Char('[') + name + QStringLiteral("]\n");
        for (const QString &line : std::as_const(lines[group]))
            text += line + QLatin1Char('\n');
    }
    return text.toUtf8();
}

SafeFile::Result IniSettingsFile::write(const QString &path, const Values &values)
{
    const QDateTime before = QFileInfo(path).lastModified();
    const SafeFile::Result result = SafeFile::write(path, render(values));
    // QSettings keeps the files it read and knows them again by size and
    // modification time. Two writes within the file system's clock step can
    // leave both the same, and a value just stored would read as the old
    // one; the time is moved on so every write is seen.
    if (result.ok() && before.isValid()) {
        QFile file(path);
        if (QFileInfo(path).lastModified() <= before && file.open(QIODevice::ReadWrite))
            file.setFileTime(before.addMSecs(1), QFileDevice::FileModificationTime);
    }
    return result;
}

} // namespace Ledgerly
