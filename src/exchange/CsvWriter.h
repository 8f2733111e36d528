#pragma once

#include "CsvRegionalFormat.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace Ledgerly {

// Builds CSV bytes in the system's encoding, one line at a time, with the
// export's cell rules: numbers and yes/no values bare, everything else in
// double quotes with quotes doubled and every CR replaced by "|", a missing
// value as two double quotes (nothing at all for text and for bytes of
// unknown kinds, which can be empty and still be a value). Lines end with
// CR LF.
//
// An export writes millions of cells: stored values go from their bytes
// (Windows-1252 text, seconds since 1904) straight into the output, with
// no QString or QVariant between them.
class CsvWriter
{
public:
    explicit CsvWriter(const CsvRegionalFormat &format);

    void addQuoted(QStringView text);
    void addQuoted(const QString &text) { addQuoted(QStringView(text)); }
    // A cell with nothing between its commas (a field the record lacks).
    void addEmpty();
    // A value as a database file stores it, for a field of `type`: length
    // bytes at data, or none when data is null. Pictures are the caller's
    // (they name a file).
    void addStored(int type, const char *data, qsizetype length);
    // A value of the record component: QString, bool, QDateTime (a time field
    // gives the time alone), numbers, QByteArray of an unknown type (as hex),
    // null.
    void addValue(const QVariant &value, bool timeOnly = false);
    void endLine();

    qsizetype size() const { return m_size; }
    QByteArrayView bytes() const { return QByteArrayView(m_out.constData(), m_size); }
    QByteArray encoded() const { return bytes().toByteArray(); }
    // Empties the writer: a long export hands its bytes on a block of whole
    // lines at a time.
    void clear() { m_size = 0; }
    // The bytes decoded again, for tests.
    QString text() const;

    // The text of one cell as addValue writes it, for tests and callers
    // that need a single cell.
    static QString cellText(const QVariant &value, const CsvRegionalFormat &format,
                            bool timeOnly = false);

private:
    // Room for n more bytes at the end; taken() then keeps what was written.
    char *room(qsizetype n)
    {
        if (m_out.size() - m_size < n)
            m_out.resize(qMax(m_size + n, 2 * m_out.size() + 256));
        return m_out.data() + m_size;
    }
    void taken(const char *end) { m_size = end - m_out.constData(); }
    void separate();
    void addBare(QStringView text);
    void addQuotedUtf16(const char16_t *text, qsizetype size);
    void addStoredText(const char *data, qsizetype length);
    void addDateTime(const QDate &date, const QTime &time, bool timeOnly);

    const CsvRegionalFormat &m_format;
    QList<char16_t> m_dateText; // room for the longest date and time
    QByteArray m_out;           // the first m_size bytes are written
    qsizetype m_size = 0;
    bool m_lineStarted = false;
};

} // namespace Ledgerly
