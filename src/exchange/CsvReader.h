#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace Ledgerly {

// Reads the records of CSV text one at a time.
//
// A record ends at CR LF, LF or CR outside a quoted cell, or at the end of
// the text: files pass through editors that mix line ends. Cells are
// separated by ",". A cell
// that begins with a double quote is quoted: "" inside it is one quote, a
// quote followed by a comma or the end of the record closes it, and any other
// quote is part of the value (files written without doubling have those); an
// LF inside a quoted cell is kept. Unquoted cells are taken as they are.
class CsvReader
{
public:
    struct Cell
    {
        QString text;
        bool quoted = false;
    };
    using Record = QList<Cell>;

    explicit CsvReader(QStringView text);

    bool atEnd() const { return m_pos >= m_text.size(); }
    // Reads the next record; false at the end of the text.
    bool readRecord(Record &record);
    // The line (from 1) the record last read starts on.
    int recordLine() const { return m_recordLine; }

    // Decodes file bytes in the system's 8-bit code page, dropping a leading
    // byte-order mark that spreadsheets sometimes write.
    static QString decode(const QByteArray &bytes);
    // A record holding one empty unquoted cell: a blank line.
    static bool isBlank(const Record &record);

private:
    void readQuoted(Cell &cell);
    void readBare(Cell &cell);
    bool atRecordEnd() const;

    bool isRecordEnd(QChar c) const { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }

    QStringView m_text;
    qsizetype m_pos = 0;
    qsizetype m_countedTo = 0; // line ends before this position are counted
    int m_line = 1;
    int m_recordLine = 0;
};

} // namespace Ledgerly
