#include "IniSettingsFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSettings>

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

// Names as QSettings writes them: plain characters kept, others %-escaped.
QString escapedName(QStringView name)
{
    QString out;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') ||
            u == u'_' || u == u'-' || u == u'.')
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
    for (const QChar c : std::as_const(text)) {
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
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\x%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + QLatin1Char('"');
}

} // namespace

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
