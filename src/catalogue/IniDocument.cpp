#include "IniDocument.h"

#include "IniEncoding.h"
#include "IniLine.h"

namespace Ledgerly {

namespace {

bool isAscii(QStringView s)
{
    for (const QChar c : s)
        if (c.unicode() >= 0x80)
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

} // namespace

IniDocument IniDocument::parse(const QByteArray &bytes)
{
    return parseText(IniEncoding::decode(bytes));
}

IniDocument IniDocument::parseText(QString text)
{
    IniDocument doc;
    doc.m_text = std::move(text);
    int line = 0;
    IniLine::forEachLine(doc.m_text, [&](qsizetype begin, qsizetype contentEnd, qsizetype,
                                         qsizetype) { doc.parseLine(begin, contentEnd, line++); });
    return doc;
}

void IniDocument::parseLine(qsizetype begin, qsizetype end, int line)
{
    const IniLine parts = IniLine::read(QStringView(m_text).sliced(begin, end - begin));
    if (parts.kind == IniLine::Section) {
        addSection(QStringView(m_text).sliced(begin + parts.nameStart, parts.nameLength), line);
        return;
    }
    if (parts.kind != IniLine::Entry || m_sections.isEmpty())
        return;
    m_entries.append(Entry{begin + parts.nameStart, parts.nameLength, begin + parts.valueStart,
                           parts.valueLength, line});
    ++m_sections.last().entryCount;
}

void IniDocument::addSection(QStringView name, int line)
{
    const int index = int(m_sections.size());
    m_sections.append(Section{m_entries.size(), 0, line});
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
    const int i = findKey(section, key);
    if (i < 0)
        return false;
    *value = keyValue(section, i);
    return true;
}

QStringView IniDocument::keyValue(int section, int i) const
{
    const Entry &e = m_entries.at(m_sections.at(section).firstEntry + i);
    return e.valueLength < 0 ? QStringView() : QStringView(m_text).mid(e.valueStart, e.valueLength);
}

int IniDocument::findKey(int section, QStringView key) const
{
    const Section &s = m_sections.at(section);
    const QStringView text(m_text);
    for (qsizetype i = s.firstEntry; i < s.firstEntry + s.entryCount; ++i) {
        const Entry &e = m_entries.at(i);
        if (text.mid(e.nameStart, e.nameLength).compare(key, Qt::CaseInsensitive) == 0)
            return int(i - s.firstEntry);
    }
    return -1;
}

int IniDocument::keyLine(int section, int i) const
{
    return m_entries.at(m_sections.at(section).firstEntry + i).line;
}

} // namespace Ledgerly
