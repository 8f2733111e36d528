#include "IniText.h"

#include "IniDocument.h"
#include "IniLine.h"

namespace Ledgerly {

namespace {

// What the reader sees of a line: its text up to the first NUL.
QStringView contentOf(const QString &line)
{
    const qsizetype nul = line.indexOf(QChar(u'\0'));
    return nul < 0 ? QStringView(line) : QStringView(line).first(nul);
}

bool holdsLineBreak(const QString &text)
{
    return text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar(u'\0'));
}

bool hasOuterBlank(const QString &text)
{
    return !text.isEmpty() &&
           (IniLine::isBlank(text.front().unicode()) || IniLine::isBlank(text.back().unicode()));
}

} // namespace

bool IniText::fromBytes(const QByteArray &bytes, IniText *text, QString *problem)
{
    IniText result;
    result.m_encoding = IniEncoding::of(bytes);
    const QString whole = result.m_encoding.toText(bytes);
    QByteArray again;
    if (!result.m_encoding.toBytes(whole, &again) || again != bytes) {
        *problem = QStringLiteral("its text is not valid %1, so it could not be written back "
                                  "unchanged")
                       .arg(result.m_encoding.name());
        return false;
    }
    IniLine::forEachLine(whole, [&](qsizetype begin, qsizetype, qsizetype end, qsizetype next) {
        if (begin == whole.size())
            return; // no line after a final line end
        result.m_lines.append(
            Line{whole.sliced(begin, end - begin), whole.sliced(end, next - end)});
    });
    for (const Line &line : std::as_const(result.m_lines)) {
        if (!line.end.isEmpty()) {
            result.m_newLineEnd = line.end;
            break;
        }
    }
    *text = std::move(result);
    return true;
}

bool IniText::toBytes(QByteArray *bytes, QString *problem) const
{
    const QString whole = text();
    if (!m_encoding.toBytes(whole, bytes)) {
        *problem = encodingProblem(whole);
        return false;
    }
    // The reader decides the encoding from the bytes alone; new Windows-1252
    // text that happens to be valid UTF-8 would read back as other text.
    if (IniEncoding::decode(*bytes) != whole) {
        *problem = QStringLiteral("its new text would be read back as UTF-8, which changes it");
        return false;
    }
    return true;
}

QString IniText::text() const
{
    qsizetype size = 0;
    for (const Line &line : m_lines)
        size += line.text.size() + line.end.size();
    QString whole;
    whole.reserve(size);
    for (const Line &line : m_lines)
        whole.append(line.text).append(line.end);
    return whole;
}

IniLine IniText::parts(int line) const
{
    return IniLine::read(contentOf(m_lines.at(line).text));
}

const IniDocument &IniText::document() const
{
    if (!m_document)
        m_document = std::make_shared<const IniDocument>(IniDocument::parseText(text()));
    return *m_document;
}

bool IniText::operator==(const IniText &other) const
{
    if (m_lines.size() != other.m_lines.size() || m_encoding.kind != other.m_encoding.kind ||
        m_encoding.mark != other.m_encoding.mark)
        return false;
    for (qsizetype i = 0; i < m_lines.size(); ++i)
        if (m_lines.at(i).text != other.m_lines.at(i).text ||
            m_lines.at(i).end != other.m_lines.at(i).end)
            return false;
    return true;
}

void IniText::replaceLine(int line, const QString &text)
{
    m_lines[line].text = text;
    changed();
}

void IniText::insertLines(int at, const QStringList &texts)
{
    if (texts.isEmpty())
        return;
    const bool atEnd = at == lineCount();
    const bool openEnded = atEnd && !m_lines.isEmpty() && m_lines.last().end.isEmpty();
    if (openEnded)
        m_lines.last().end = m_newLineEnd;
    QList<Line> added;
    added.reserve(texts.size());
    for (const QString &text : texts)
        added.append(Line{text, m_newLineEnd});
    if (openEnded)
        added.last().end.clear();
    m_lines.insert(at, added.size(), Line{});
    for (qsizetype i = 0; i < added.size(); ++i)
        m_lines[at + i] = added.at(i);
    changed();
}

void IniText::removeLines(int first, int count)
{
    if (count <= 0)
        return;
    const bool removesOpenEnd = first + count == lineCount() && m_lines.last().end.isEmpty();
    m_lines.remove(first, count);
    if (removesOpenEnd && !m_lines.isEmpty())
        m_lines.last().end.clear();
    changed();
}

void IniText::swapLines(int a, int b)
{
    std::swap(m_lines[a].text, m_lines[b].text);
    changed();
}

void IniText::setValue(int line, const QString &value)
{
    QString &text = m_lines[line].text;
    const IniLine parts = IniLine::read(contentOf(text));
    Q_ASSERT(parts.kind == IniLine::Entry);
    if (parts.valueLength < 0) {
        text.insert(parts.nameStart + parts.nameLength, QLatin1Char('=') + writtenValue(value));
    } else {
        const bool quoted =
            parts.valueStart > 0 && parts.valueStart + parts.valueLength < text.size() &&
            (text.at(parts.valueStart - 1) == u'"' || text.at(parts.valueStart - 1) == u'\'') &&
            text.at(parts.valueStart + parts.valueLength) == text.at(parts.valueStart - 1);
        // Inside its quotes a value reads back whatever it holds.
        text.replace(parts.valueStart, parts.valueLength, quoted ? value : writtenValue(value));
    }
    changed();
}

void IniText::renameKey(int line, const QString &name)
{
    QString &text = m_lines[line].text;
    const IniLine parts = IniLine::read(contentOf(text));
    Q_ASSERT(parts.kind == IniLine::Entry);
    text.replace(parts.nameStart, parts.nameLength, name);
    changed();
}

void IniText::renameSection(int line, const QString &name)
{
    QString &text = m_lines[line].text;
    const IniLine parts = IniLine::read(contentOf(text));
    Q_ASSERT(parts.kind == IniLine::Section);
    const bool closed = contentOf(text).indexOf(u']', parts.nameStart + parts.nameLength) >= 0;
    text.replace(parts.nameStart, parts.nameLength, name);
    // A header whose "]" was missing gets one: the name now ends where it says.
    if (!closed)
        text.insert(parts.nameStart + name.size(), QLatin1Char(']'));
    changed();
}

QString IniText::entryLine(const QString &key, const QString &value)
{
    return key + QLatin1Char('=') + writtenValue(value);
}

QString IniText::sectionLine(const QString &name)
{
    return QLatin1Char('[') + name + QLatin1Char(']');
}

QString IniText::writtenValue(const QString &value)
{
    const bool ownQuotes = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                           value.back() == value.front();
    if (ownQuotes || hasOuterBlank(value))
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

QString IniText::encodingProblem(const QString &text) const
{
    for (const QChar c : text) {
        if (!m_encoding.canHold(QString(c)))
            return QStringLiteral("\"%1\" cannot be stored in this file's %2 text")
                .arg(QString(c), m_encoding.name());
    }
    return QStringLiteral("the text cannot be stored in this file's %1 text")
        .arg(m_encoding.name());
}

QString IniText::keyNameProblem(const QString &name) const
{
    if (name.isEmpty())
        return QStringLiteral("a key needs a name");
    if (holdsLineBreak(name))
        return QStringLiteral("a name cannot hold a line break");
    if (hasOuterBlank(name))
        return QStringLiteral("a name cannot start or end with a blank");
    if (name.contains(u'='))
        return QStringLiteral("a key's name cannot hold \"=\"");
    if (name.front() == u';' || name.front() == u'[')
        return QStringLiteral("a key's name cannot start with \";\" or \"[\"");
    return m_encoding.canHold(name) ? QString() : encodingProblem(name);
}

QString IniText::sectionNameProblem(const QString &name) const
{
    if (name.isEmpty())
        return QStringLiteral("a section needs a name");
    if (holdsLineBreak(name))
        return QStringLiteral("a name cannot hold a line break");
    if (hasOuterBlank(name))
        return QStringLiteral("a name cannot start or end with a blank");
    if (name.contains(u']'))
        return QStringLiteral("a section's name cannot hold \"]\"");
    return m_encoding.canHold(name) ? QString() : encodingProblem(name);
}

QString IniText::valueProblem(const QString &value) const
{
    if (holdsLineBreak(value))
        return QStringLiteral("a value cannot hold a line break");
    return m_encoding.canHold(value) ? QString() : encodingProblem(value);
}

} // namespace Ledgerly
