#include "IniDocument.h"

#include "common/Windows1252.h"

#include <QStringDecoder>

#include <algorithm>

namespace Ledgerly {

namespace {

// The blanks the profile functions trim; a no-break space is text, not blank.
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

bool isAscii(QStringView s)
{
    for (const QChar c : s)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

bool isAscii(QByteArrayView s)
{
    for (const char c : s)
        if (uchar(c) >= 0x80)
            return false;
    return true;
}

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

// A name as written against one asked for, case ignored: ASCII without a
// QString, anything else through Qt's case folding.
bool sameName(QByteArrayView written, QStringView asked)
{
    if (written.size() == asked.size() && isAscii(written)) {
        for (qsizetype i = 0; i < written.size(); ++i) {
            const char16_t a = asked[i].unicode();
            const auto lower = [](char16_t c) {
                return c >= u'A' && c <= u'Z' ? char16_t(c | 0x20) : c;
            };
            if (a >= 0x80 || lower(char16_t(uchar(written[i]))) != lower(a))
                return false;
        }
        return true;
    }
    if (isAscii(written) && isAscii(asked))
        return false; // ASCII names of different lengths
    return QString::fromUtf8(written).compare(asked, Qt::CaseInsensitive) == 0;
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

QByteArray IniDocument::utf8(const QByteArray &bytes)
{
    const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    QByteArrayView body(bytes);
    if (!utf16 && body.startsWith("\xEF\xBB\xBF"))
        body = body.sliced(3);
    if (!utf16 && body.isValidUtf8()) {
        // The file's own bytes, shared rather than copied when nothing is cut.
        return body.size() == bytes.size() ? bytes : body.toByteArray();
    }
    return decode(bytes).toUtf8();
}

IniDocument IniDocument::parse(const QByteArray &bytes)
{
    IniDocument doc;
    doc.m_text = utf8(bytes);
    const char *text = doc.m_text.constData();
    const qsizetype size = doc.m_text.size();
    // Room for an entry per line at once: growing the list through its
    // doublings would hold it twice for a moment.
    doc.m_entries.reserve(std::count(text, text + size, '\n') + 1);
    qsizetype start = 0;
    qsizetype i = 0;
    for (;;) {
        // A NUL cannot stand inside a name or value handed out as a C string;
        // the line's content ends there, the line itself at CR or LF. None of
        // the three bytes occurs inside a UTF-8 character.
        qsizetype contentEnd = -1;
        for (; i < size; ++i) {
            const uchar c = uchar(text[i]);
            if (c > '\r')
                continue;
            if (c == '\n' || c == '\r')
                break;
            if (c == 0 && contentEnd < 0)
                contentEnd = i;
        }
        doc.parseLine(start, contentEnd < 0 ? i : contentEnd);
        if (i >= size)
            break;
        // CR LF is one line end, not two.
        if (text[i] == '\r' && i + 1 < size && text[i + 1] == '\n')
            ++i;
        start = ++i;
    }
    return doc;
}

void IniDocument::parseLine(qsizetype begin, qsizetype end)
{
    const char *text = m_text.constData();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    if (begin == end || text[begin] == ';')
        return;
    if (text[begin] == '[') {
        qsizetype close = begin + 1;
        while (close < end && text[close] != ']')
            ++close;
        qsizetype nameBegin = begin + 1;
        while (nameBegin < close && isBlank(text[nameBegin]))
            ++nameBegin;
        while (close > nameBegin && isBlank(text[close - 1]))
            --close;
        addSection(QByteArrayView(text + nameBegin, close - nameBegin));
        return;
    }
    if (m_sections.isEmpty())
        return;
    qsizetype eq = begin;
    while (eq < end && text[eq] != '=')
        ++eq;
    Entry entry{qint32(begin), qint32(end - begin), 0, -1};
    if (eq < end) {
        qsizetype nameEnd = eq;
        while (nameEnd > begin && isBlank(text[nameEnd - 1]))
            --nameEnd;
        entry.nameLength = qint32(nameEnd - begin);
        qsizetype value = eq + 1;
        while (value < end && isBlank(text[value]))
            ++value;
        // One pair of enclosing quotes, either kind, is not part of the value.
        if (end - value >= 2 && (text[value] == '"' || text[value] == '\'') &&
            text[end - 1] == text[value]) {
            ++value;
            --end;
        }
        entry.valueStart = qint32(value);
        entry.valueLength = qint32(end - value);
    }
    m_entries.append(entry);
    ++m_sections.last().entryCount;
}

void IniDocument::addSection(QByteArrayView name)
{
    const int index = int(m_sections.size());
    m_sections.append(Section{qint32(m_entries.size()), 0});
    m_sectionNames.append(QString::fromUtf8(name));
    const QString &added = m_sectionNames.last();
    if (!isAscii(name))
        m_otherSections.append(index);
    else if (const QString key = asciiLower(added); !m_asciiSections.contains(key))
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

QString IniDocument::keyName(int section, int i) const
{
    const Entry &e = m_entries.at(m_sections.at(section).firstEntry + i);
    return QString::fromUtf8(bytes(e.nameStart, e.nameLength));
}

qsizetype IniDocument::keyNameLength(int section, int i) const
{
    const Entry &e = m_entries.at(m_sections.at(section).firstEntry + i);
    const QByteArrayView name = bytes(e.nameStart, e.nameLength);
    return isAscii(name) ? name.size() : QString::fromUtf8(name).size();
}

QStringList IniDocument::keyNames(int section) const
{
    QStringList names;
    const int count = keyCount(section);
    names.reserve(count);
    for (int i = 0; i < count; ++i)
        names.append(keyName(section, i));
    return names;
}

bool IniDocument::findValue(int section, QStringView key, QString *value) const
{
    const Section &s = m_sections.at(section);
    for (qsizetype i = s.firstEntry; i < s.firstEntry + s.entryCount; ++i) {
        const Entry &e = m_entries.at(i);
        if (!sameName(bytes(e.nameStart, e.nameLength), key))
            continue;
        *value =
            e.valueLength < 0 ? QString() : QString::fromUtf8(bytes(e.valueStart, e.valueLength));
        return true;
    }
    return false;
}

} // namespace Ledgerly
