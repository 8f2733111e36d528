#include "CsvReader.h"

#include <QStringDecoder>

namespace Ledgerly {

namespace {
constexpr QChar kQuote = QLatin1Char('"');
constexpr QChar kComma = QLatin1Char(',');
constexpr QChar kCr = QLatin1Char('\r');
constexpr QChar kLf = QLatin1Char('\n');
} // namespace

CsvReader::CsvReader(QStringView text)
    : m_text(text)
{}

bool CsvReader::atRecordEnd() const
{
    return m_pos >= m_text.size() || isRecordEnd(m_text[m_pos]);
}

void CsvReader::readQuoted(Cell &cell)
{
    cell.quoted = true;
    ++m_pos; // the opening quote
    const qsizetype size = m_text.size();
    const char16_t *text = m_text.utf16();
    // Most cells hold no quote of their own: the text between the quotes
    // then becomes the value in one piece. Runs between quotes are copied
    // whole otherwise.
    qsizetype run = m_pos;
    const auto take = [&](qsizetype end) {
        // Nothing taken leaves the text null, as an empty quoted cell has
        // always read.
        if (end == run)
            return;
        const QStringView piece = m_text.mid(run, end - run);
        if (cell.text.isNull())
            cell.text = piece.toString();
        else
            cell.text += piece;
    };
    while (m_pos < size) {
        // Both characters that matter sort below '#': most characters are
        // passed with one comparison.
        const char16_t c = text[m_pos];
        if (c > u'"' || (c != u'"' && c != u'\r')) {
            ++m_pos;
            continue;
        }
        if (c == u'\r')
            break; // a CR ends the record even inside quotes
        if (m_pos + 1 < size && text[m_pos + 1] == u'"') {
            take(m_pos + 1); // one of the doubled quotes stays
            m_pos += 2;
            run = m_pos;
            continue;
        }
        ++m_pos;
        if (m_pos >= size || text[m_pos] == u',' || isRecordEnd(m_text[m_pos])) {
            take(m_pos - 1); // the closing quote
            return;
        }
        // A lone inner quote of an undoubled file is part of the value.
    }
    take(m_pos);
}

void CsvReader::readBare(Cell &cell)
{
    const qsizetype start = m_pos;
    while (m_pos < m_text.size() && m_text[m_pos] != kComma && !atRecordEnd())
        ++m_pos;
    cell.text = m_text.mid(start, m_pos - start).toString();
}

bool CsvReader::readRecord(Record &record)
{
    record.clear();
    if (atEnd())
        return false;
    const char16_t *text = m_text.utf16();
    for (; m_countedTo < m_pos; ++m_countedTo) {
        const char16_t c = text[m_countedTo];
        if (c > u'\r')
            continue; // most characters: one comparison
        if (c == u'\n' ||
            (c == u'\r' && (m_countedTo + 1 >= m_text.size() || text[m_countedTo + 1] != u'\n')))
            ++m_line;
    }
    m_recordLine = m_line;
    for (;;) {
        Cell cell;
        if (m_text[m_pos] == kQuote)
            readQuoted(cell);
        else
            readBare(cell);
        record.append(std::move(cell));
        if (m_pos < m_text.size() && m_text[m_pos] == kComma) {
            ++m_pos;
            if (m_pos < m_text.size())
                continue;
            record.append(Cell{}); // a trailing comma at the very end
            return true;
        }
        break;
    }
    if (m_pos < m_text.size()) {
        const QChar end = m_text[m_pos++];
        if (end == kCr && m_pos < m_text.size() && m_text[m_pos] == kLf)
            ++m_pos;
    }
    return true;
}

QString CsvReader::decode(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::System);
    QString text = decoder.decode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

bool CsvReader::isBlank(const Record &record)
{
    return record.size() == 1 && !record.first().quoted && record.first().text.isEmpty();
}

} // namespace Ledgerly
