#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace Ledgerly {

// Reads the records of CSV bytes one at a time, each cell as a range of the
// bytes themselves: nothing is decoded here, so the import can turn a cell
// straight into the form its field is stored in.
//
// A record ends at CR LF, LF or CR outside a quoted cell, or at the end of
// the text: files pass through editors that mix line ends. Cells are
// separated by ",". A cell that begins with a double quote is quoted: ""
// inside it is one quote, a quote followed by a comma or the end of the
// record closes it, and any other quote is part of the value (files written
// without doubling have those); an LF inside a quoted cell is kept. A CR or
// the end of the text inside a quoted cell ends it unclosed: the export
// never writes a CR inside a cell. Unquoted cells are taken as they are.
//
// The bytes may come a block at a time: a reader of an incomplete text
// answers NeedMore for a record that runs past its end, and continues on the
// text the caller hands over next (the unread rest followed by more bytes).
class CsvReader
{
public:
    struct Cell
    {
        QByteArrayView bytes; // valid until the next record is read
        qsizetype offset = 0; // where the cell starts in the whole file
        bool quoted = false;
        bool closed = true; // false: a quoted cell whose closing quote never came
    };
    using Record = QList<Cell>;
    enum class Result { Record, End, NeedMore };

    explicit CsvReader(QByteArrayView text = {}, bool complete = true);

    // Continues on text, which starts with the bytes not read yet.
    void setText(QByteArrayView text, bool complete);
    Result readRecord(Record &record);
    // Bytes of the current text taken by the records read so far.
    qsizetype position() const { return m_pos; }
    // The line (from 1) the record last read starts on, and the line a byte
    // of that record (by its offset in the file) stands on.
    int recordLine() const { return m_recordLine; }
    // The line the next record starts on.
    int nextLine() const { return m_line; }
    int lineAt(qsizetype fileOffset) const;

    // A record holding one empty unquoted cell: a blank line.
    static bool isBlank(const Record &record);

private:
    bool readQuoted(Cell &cell, qsizetype cellIndex);
    bool readBare(Cell &cell);
    static int lineEnds(QByteArrayView text);

    QByteArrayView m_text;
    bool m_complete = true;
    qsizetype m_pos = 0;
    qsizetype m_base = 0; // file offset of m_text's first byte
    qsizetype m_recordStart = 0;
    int m_line = 1;
    int m_recordLine = 0;
    bool m_started = false;
    // Cells that held doubled quotes, unescaped; the cells point here once
    // the record is complete.
    QByteArray m_scratch;
    struct Unescaped
    {
        qsizetype cell;
        qsizetype start;
        qsizetype size;
    };
    QList<Unescaped> m_unescaped;
};

} // namespace Ledgerly
