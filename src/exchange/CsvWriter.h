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
class CsvWriter
{
public:
    explicit CsvWriter(const CsvRegionalFormat &format);

    void reserve(qsizetype characters) { m_text.reserve(characters); }

    void addQuoted(const QString &text);
    // A cell with nothing between its commas (a field the record lacks).
    void addEmpty();
    // A value of the record component: QString, bool, QDateTime (a time field
    // gives the time alone), numbers, QByteArray of an unknown type (as hex),
    // null. Pictures are the caller's (they name a file).
    void addValue(const QVariant &value, bool timeOnly = false);
    void endLine();

    const QString &text() const { return m_text; }
    // The text in the system's 8-bit code page: UTF-8 on Linux and macOS,
    // the ANSI code page on Windows.
    QByteArray encoded() const;

    // The text of one cell as addValue writes it, for tests and callers
    // that need a single cell.
    static QString cellText(const QVariant &value, const CsvRegionalFormat &format,
                            bool timeOnly = false);

private:
    void separate();
    void addBare(const QString &text);

    const CsvRegionalFormat &m_format;
    QString m_text;
    bool m_lineStarted = false;
};

} // namespace Ledgerly
