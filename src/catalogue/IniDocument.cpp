#include "IniDocument.h"

#include "common/Windows1252.h"

#include <QStringDecoder>

namespace Ledgerly {

namespace {

// The blanks the profile functions trim; a no-break space is text, not blank.
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\r';
}

QStringView trimmed(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isBlank(s.at(begin)))
        ++begin;
    while (end > begin && isBlank(s.at(end - 1)))
        --end;
    return s.mid(begin, end - begin);
}

QStringView withoutEnclosingQuotes(QStringView s)
{
    if (s.size() >= 2) {
        const QChar first = s.front();
        if ((first == u'"' || first == u'\'') && s.back() == first)
            return s.mid(1, s.size() - 2);
    }
    return s;
}

} // namespace

QString IniDocument::decode(const QByteArray &bytes)
{
    const bool utf16le = bytes.startsWith("\xFF\xFE");
    const bool utf16be = bytes.startsWith("\xFE\xFF");
    if (utf16le || utf16be) {
        QStringDecoder decoder(utf16le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return decoder(bytes.mid(2));
    }
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(body);
    if (!utf8.hasError())
        return text;
    return Windows1252::decode(body);
}

IniDocument IniDocument::parse(const QByteArray &bytes)
{
    IniDocument doc;
    const QString text = decode(bytes);
    const QStringView all(text);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= all.size(); ++i) {
        if (i < all.size() && all.at(i) != u'\n' && all.at(i) != u'\r')
            continue;
        doc.parseLine(all.mid(start, i - start));
        // CR LF is one line end, not two.
        if (i + 1 < all.size() && all.at(i) == u'\r' && all.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    return doc;
}

void IniDocument::parseLine(QStringView line)
{
    // A NUL cannot stand inside a name or value handed out as a C string;
    // the line ends there.
    const qsizetype nul = line.indexOf(QChar(0));
    if (nul >= 0)
        line = line.left(nul);
    line = trimmed(line);
    if (line.isEmpty() || line.front() == u';')
        return;
    if (line.front() == u'[') {
        const qsizetype close = line.indexOf(u']');
        const QStringView name = close < 0 ? line.mid(1) : line.mid(1, close - 1);
        m_sections.append(IniSection{trimmed(name).toString(), {}});
        return;
    }
    if (m_sections.isEmpty())
        return;
    IniEntry entry;
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) {
        entry.name = line.toString();
    } else {
        entry.name = trimmed(line.left(eq)).toString();
        entry.value = withoutEnclosingQuotes(trimmed(line.mid(eq + 1))).toString();
        entry.hasValue = true;
    }
    m_sections.last().entries.append(entry);
}

const IniSection *IniDocument::findSection(const QString &name) const
{
    for (const IniSection &s : m_sections)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

const IniEntry *IniDocument::findEntry(const IniSection &section, const QString &key)
{
    for (const IniEntry &e : section.entries)
        if (e.name.compare(key, Qt::CaseInsensitive) == 0)
            return &e;
    return nullptr;
}

} // namespace Ledgerly
