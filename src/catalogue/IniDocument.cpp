#include "IniDocument.h"

#include "common/Windows1252.h"

#include <QStringDecoder>

namespace Ledgerly {

namespace {

// The blanks the profile functions trim; a no-break space is text, not blank.
bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\r';
}

bool isAscii(QStringView s)
{
    for (const QChar c : s)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

// Where the next c at or after a position is (the text's size when there is
// none), remembered until a position past it is asked for.
struct NextOf
{
    QStringView text;
    char16_t c;
    qsizetype found = -1;

    qsizetype from(qsizetype position)
    {
        if (found < position) {
            found = text.indexOf(QChar(c), position);
            if (found < 0)
                found = text.size();
        }
        return found;
    }
};

QString asciiLower(QStringView s)
{
    QString out(s.size(), Qt::Uninitialized);
    char16_t *to = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s.at(i).unicode();
        to[i] = c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
    }
    return out;
}

} // namespace

QString IniDocument::decode(const QByteArray &bytes)
{
    const bool utf16le = bytes.startsWith("\xFF\xFE");
    const bool utf16be = bytes.startsWith("\xFE\xFF");
    if (utf16le || utf16be) {
        QStringDecoder decoder(utf16le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return decoder(QByteArrayView(bytes).sliced(2));
    }
    QByteArrayView body(bytes);
    if (body.startsWith("\xEF\xBB\xBF"))
        body = body.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(body);
    if (!utf8.hasError())
        return text;
    return Windows1252::decode(body.toByteArray());
}

IniDocument IniDocument::parse(const QByteArray &bytes)
{
    IniDocument doc;
    doc.m_text = decode(bytes);
    const QStringView text(doc.m_text);
    // Qt's searches find line ends and NULs; each is searched for again only
    // once a line has passed it, so the text is read once for each.
    NextOf lf{text, u'\n'};
    NextOf cr{text, u'\r'};
    NextOf nul{text, u'\0'};
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = qMin(lf.from(start), cr.from(start));
        // A NUL cannot stand inside a name or value handed out as a C string;
        // the line's content ends there, the line itself at CR or LF.
        doc.parseLine(start, qMin(end, nul.from(start)));
        if (end >= text.size())
            break;
        // CR LF is one line end, not two.
        start =
            end + (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1);
    }
    return doc;
}

void IniDocument::parseLine(qsizetype begin, qsizetype end)
{
    const char16_t *text = reinterpret_cast<const char16_t *>(m_text.constData());
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    if (begin == end || text[begin] == u';')
        return;
    if (text[begin] == u'[') {
        qsizetype close = QStringView(text + begin + 1, end - begin - 1).indexOf(u']');
        close = close < 0 ? end : begin + 1 + close;
        qsizetype nameBegin = begin + 1;
        while (nameBegin < close && isBlank(text[nameBegin]))
            ++nameBegin;
        while (close > nameBegin && isBlank(text[close - 1]))
            --close;
        addSection(QStringView(text + nameBegin, close - nameBegin));
        return;
    }
    if (m_sections.isEmpty())
        return;
    qsizetype eq = QStringView(text + begin, end - begin).indexOf(u'=');
    eq = eq < 0 ? end : begin + eq;
    Entry entry{begin, end - begin, 0, -1};
    if (eq < end) {
        qsizetype nameEnd = eq;
        while (nameEnd > begin && isBlank(text[nameEnd - 1]))
            --nameEnd;
        entry.nameLength = nameEnd - begin;
        qsizetype value = eq + 1;
        while (value < end && isBlank(text[value]))
            ++value;
        // One pair of enclosing quotes, either kind, is not part of the value.
        if (end - value >= 2 && (text[value] == u'"' || text[value] == u'\'') &&
            text[end - 1] == text[value]) {
            ++value;
            --end;
        }
        entry.valueStart = value;
        entry.valueLength = end - value;
    }
    m_entries.append(entry);
    ++m_sections.last().entryCount;
}

void IniDocument::addSection(QStringView name)
{
    const int index = int(m_sections.size());
    m_sections.append(Section{m_entries.size(), 0});
    m_sectionNames.append(name.toString());
    if (!isAscii(name))
        m_otherSections.append(index);
    else if (const QString key = asciiLower(name); !m_asciiSections.contains(key))
        m_asciiSections.insert(key, index);
}

int IniDocument::findSection(const QString &name) const
{
    const auto matches = [&](int index) {
        return m_sectionNames.at(index).compare(name, Qt::CaseInsensitive) == 0;
    };
    if (!isAscii(name)) {
        for (int i = 0; i < m_sectionNames.size(); ++i)
            if (matches(i))
                return i;
        return -1;
    }
    const int ascii = m_asciiSections.value(asciiLower(name), -1);
    for (const int other : m_otherSections) {
        if (ascii >= 0 && other > ascii)
            break;
        if (matches(other))
            return other;
    }
    return ascii;
}

QStringView IniDocument::keyName(int section, int i) const
{
    const Entry &e = m_entries.at(m_sections.at(section).firstEntry + i);
    return QStringView(m_text).mid(e.nameStart, e.nameLength);
}

QStringList IniDocument::keyNames(int section) const
{
    QStringList names;
    const int count = keyCount(section);
    names.reserve(count);
    for (int i = 0; i < count; ++i)
        names.append(keyName(section, i).toString());
    return names;
}

bool IniDocument::findValue(int section, QStringView key, QStringView *value) const
{
    const Section &s = m_sections.at(section);
    const QStringView text(m_text);
    for (qsizetype i = s.firstEntry; i < s.firstEntry + s.entryCount; ++i) {
        const Entry &e = m_entries.at(i);
        if (text.mid(e.nameStart, e.nameLength).compare(key, Qt::CaseInsensitive) != 0)
            continue;
        *value = e.valueLength < 0 ? QStringView() : text.mid(e.valueStart, e.valueLength);
        return true;
    }
    return false;
}

} // namespace Ledgerly
