#include "CsvReader.h"

#include "common/ByteWords.h"

#include <cstring>

namespace Ledgerly {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

// True when one of the eight bytes at p is a quote or a CR.
bool quoteOrCr(const char *p)
{
    const quint64 word = ByteWords::load(p);
    return ByteWords::has(word, '"') || ByteWords::has(word, '\r');
}

} // namespace

CsvReader::CsvReader(QByteArrayView text, bool complete)
    : m_text(text)
    , m_complete(complete)
{}

void CsvReader::setText(QByteArrayView text, bool complete)
{
    // The old text may be gone already (the caller reuses its buffer): its
    // records' lines were counted as they were read.
    m_base += m_pos;
    m_text = text;
    m_complete = complete;
    m_pos = 0;
    m_recordStart = 0;
}

int CsvReader::lineEnds(QByteArrayView text)
{
    // Every LF, and every CR that is no LF's partner; memchr finds them far
    // faster than a look at each byte.
    if (text.isEmpty())
        return 0; // its data may be null, which memchr must not see
    int ends = 0;
    const char *const begin = text.data();
    const char *const end = begin + text.size();
    for (const char *p = begin;
         (p = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)))) != nullptr; ++p)
        ++ends;
    for (const char *p = begin;
         (p = static_cast<const char *>(std::memchr(p, '\r', size_t(end - p)))) != nullptr; ++p) {
        if (p + 1 == end || p[1] != '\n')
            ++ends;
    }
    return ends;
}

int CsvReader::lineAt(qsizetype fileOffset) const
{
    const qsizetype from = m_recordStart;
    const qsizetype to = qBound(from, fileOffset - m_base, m_text.size());
    return m_recordLine + lineEnds(m_text.sliced(from, to - from));
}

// Reads a quoted cell; false when the text ends before the cell does and
// more text is to come.
bool CsvReader::readQuoted(Cell &cell, qsizetype cellIndex)
{
    cell.quoted = true;
    const char *const text = m_text.data();
    const qsizetype size = m_text.size();
    qsizetype pos = m_pos + 1; // the opening quote
    const qsizetype valueStart = pos;
    // Most cells hold no quote of their own: the value is then a range of
    // the text. Cells with doubled quotes are copied without the doubling.
    qsizetype copiedUpTo = -1; // where the copy into the scratch stopped
    qsizetype scratchStart = 0;
    const auto copyRun = [&](qsizetype from, qsizetype to) {
        if (copiedUpTo < 0) {
            scratchStart = m_scratch.size();
            copiedUpTo = valueStart;
        }
        m_scratch.append(text + from, to - from);
    };
    for (;;) {
        // Eight bytes at a time while none is a quote or a CR, then one by
        // one: both bytes that matter sort below '#'.
        while (size - pos >= 8 && !quoteOrCr(text + pos))
            pos += 8;
        while (pos < size && (uchar(text[pos]) > '"' || (text[pos] != '"' && text[pos] != '\r')))
            ++pos;
        if (pos >= size) {
            if (!m_complete)
                return false;
            cell.closed = false;
            break;
        }
        if (text[pos] == '\r') {
            cell.closed = false; // a CR ends the record even inside quotes
            break;
        }
        // A quote: doubled, closing, or part of the value.
        if (pos + 1 >= size && !m_complete)
            return false;
        if (pos + 1 < size && text[pos + 1] == '"') {
            copyRun(copiedUpTo < 0 ? valueStart : copiedUpTo, pos + 1);
            pos += 2;
            copiedUpTo = pos;
            continue;
        }
        const char next = pos + 1 < size ? text[pos + 1] : ',';
        if (next == ',' || next == '\r' || next == '\n') {
            m_pos = pos + 1;
            if (copiedUpTo < 0) {
                cell.bytes = QByteArrayView(text + valueStart, pos - valueStart);
            } else {
                copyRun(copiedUpTo, pos);
                m_unescaped.append({cellIndex, scratchStart, m_scratch.size() - scratchStart});
            }
            return true;
        }
        ++pos; // a lone inner quote of an undoubled file
    }
    m_pos = pos;
    if (copiedUpTo < 0) {
        cell.bytes = QByteArrayView(text + valueStart, pos - valueStart);
    } else {
        copyRun(copiedUpTo, pos);
        m_unescaped.append({cellIndex, scratchStart, m_scratch.size() - scratchStart});
    }
    return true;
}

bool CsvReader::readBare(Cell &cell)
{
    const char *const text = m_text.data();
    const qsizetype size = m_text.size();
    qsizetype pos = m_pos;
    while (pos < size && text[pos] != ',' && text[pos] != '\r' && text[pos] != '\n')
        ++pos;
    if (pos >= size && !m_complete)
        return false;
    cell.bytes = QByteArrayView(text + m_pos, pos - m_pos);
    m_pos = pos;
    return true;
}

CsvReader::Result CsvReader::readRecord(Record &record)
{
    record.clear();
    m_scratch.clear();
    m_unescaped.clear();
    if (!m_started) {
        // A byte-order mark that spreadsheets sometimes write is no text.
        const qsizetype have = qMin<qsizetype>(m_text.size(), 3);
        if (have == 0)
            return m_complete ? Result::End : Result::NeedMore;
        if (std::memcmp(m_text.data(), kBom, size_t(have)) == 0) {
            if (have < 3 && !m_complete)
                return Result::NeedMore;
            if (have == 3)
                m_pos = 3;
        }
        m_started = true;
    }
    const qsizetype start = m_pos;
    if (m_pos >= m_text.size())
        return m_complete ? Result::End : Result::NeedMore;
    const auto needMore = [&] {
        m_pos = start;
        record.clear();
        return Result::NeedMore;
    };
    for (;;) {
        Cell cell;
        cell.offset = m_base + m_pos;
        const bool read = m_text[m_pos] == '"' ? readQuoted(cell, record.size()) : readBare(cell);
        if (!read)
            return needMore();
        record.append(cell);
        if (m_pos < m_text.size() && m_text[m_pos] == ',') {
            ++m_pos;
            if (m_pos < m_text.size())
                continue;
            if (!m_complete)
                return needMore();
            Cell last; // a trailing comma at the very end
            last.offset = m_base + m_pos;
            record.append(last);
        }
        break;
    }
    if (m_pos < m_text.size()) {
        const char end = m_text[m_pos++];
        if (end == '\r') {
            if (m_pos >= m_text.size() && !m_complete)
                return needMore();
            if (m_pos < m_text.size() && m_text[m_pos] == '\n')
                ++m_pos;
        }
    }
    for (const Unescaped &u : std::as_const(m_unescaped))
        record[u.cell].bytes = QByteArrayView(m_scratch.constData() + u.start, u.size);
    m_recordStart = start;
    m_recordLine = m_line;
    m_line += lineEnds(m_text.sliced(start, m_pos - start));
    return Result::Record;
}

bool CsvReader::isBlank(const Record &record)
{
    return record.size() == 1 && !record.first().quoted && record.first().bytes.isEmpty();
}

} // namespace Ledgerly
