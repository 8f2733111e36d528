#pragma once

#include "CsvRegionalFormat.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace Ledgerly {

// Builds CSV text in memory, one line at a time, with the export's cell rules:
// numbers and yes/no values bare, everything else in double quotes with quotes
// doubled and every CR replaced by "|", a null value as two double quotes.
// Lines end with CR LF.
//
// An export writes millions of characters a few at a time, so the text is
// kept in a buffer written through a pointer rather than grown by QString
// appends, and dates are formatted straight into it.
class CsvWriter
{
public:
    explicit CsvWriter(const CsvRegionalFormat &format);

    void reserve(qsizetype characters);

    void addQuoted(QStringView text);
    void addQuoted(const QString &text) { addQuoted(QStringView(text)); }
    // A cell with nothing between its commas (a field the record lacks).
    void addEmpty();
    // A value of the record component: QString, bool, QDateTime (a time field
    // gives the time alone), numbers, QByteArray of an unknown type (as hex),
    // null. Pictures are the caller's (they name a file).
    void addValue(const QVariant &value, bool timeOnly = false);
    void endLine();

    QString text() const { return QStringView(m_text).first(m_size).toString(); }
    qsizetype size() const { return m_size; }
    // The text in the system's 8-bit code page: UTF-8 on Linux and macOS,
    // the ANSI code page on Windows.
    QByteArray encoded() const;
    // The same, emptying the writer: a long export is encoded a block of
    // whole lines at a time, so the text never has to be held whole.
    QByteArray takeEncoded();

    // The text of one cell as addValue writes it, for tests and callers
    // that need a single cell.
    static QString cellText(const QVariant &value, const CsvRegionalFormat &format,
                            bool timeOnly = false);

private:
    // Room for n more characters; the place to write them.
    char16_t *room(qsizetype n);
    void put(char16_t c)
    {
        *room(1) = c;
        ++m_size;
    }
    void separate();
    void addBare(QStringView text);
    void addDateTime(const QDateTime &value, bool timeOnly);

    const CsvRegionalFormat &m_format;
    QString m_text; // the first m_size characters are written
    qsizetype m_size = 0;
    bool m_lineStarted = false;
};

} // namespace Ledgerly
