#pragma once

#include "CsvReader.h"
#include "CsvRegionalFormat.h"

#include <QByteArray>
#include <QString>

#include <utility>

namespace Ledgerly {

// Stored values one after another, as a database file holds a record's:
// written through a pointer, since an import writes hundreds of thousands.
class StoredValues
{
public:
    void reserve(qsizetype bytes) { m_bytes.resize(qMax(bytes, m_bytes.size())); }
    // Room for n more bytes; taken() then keeps what was written there.
    char *room(qsizetype n)
    {
        if (m_bytes.size() - m_size < n)
            m_bytes.resize(qMax(m_size + n, 2 * m_bytes.size() + 4096));
        return m_bytes.data() + m_size;
    }
    void taken(const char *end) { m_size = end - m_bytes.constData(); }
    void truncate(qsizetype size) { m_size = size; }
    qsizetype size() const { return m_size; }
    const char *data() const { return m_bytes.constData(); }
    // The bytes written, emptying this.
    QByteArray take()
    {
        m_bytes.truncate(m_size);
        m_size = 0;
        return std::exchange(m_bytes, QByteArray());
    }

private:
    QByteArray m_bytes; // the first m_size bytes are written
    qsizetype m_size = 0;
};

// Turns a cell of an import straight into the stored form of its field: the
// two-byte length (or the mark of no value) and the bytes a database file
// holds. Text goes from the file's encoding to Windows-1252 without a
// QString; anything a database cannot hold is refused here, where the line
// and the cell are still known, not at the next save.
class CsvValueReader
{
public:
    enum class Failure {
        None,
        NotText,    // bytes that are not text in the file's encoding
        NoCode,     // a character Windows-1252 has no code for
        TooLong,    // more bytes than a stored value holds
        Unreadable, // no value of the field's kind
        OutOfRange, // a date or time before 1904 or after early 2040
        NoBitmap,   // a picture cell naming no readable bitmap file
        BitmapTooLarge,
    };
    struct Problem
    {
        Failure failure = Failure::None;
        qsizetype byteAt = 0;   // NotText, NoCode: the byte's offset in the file
        uchar byte = 0;         // NotText: the byte
        char32_t character = 0; // NoCode
        qsizetype size = 0;     // TooLong, BitmapTooLarge: the bytes it would take
    };

    // csvFolder resolves relative bitmap paths.
    CsvValueReader(const CsvRegionalFormat &format, QString csvFolder);

    // Appends the stored value of cell, read as a field of type, to out.
    bool append(const CsvReader::Cell &cell, int type, StoredValues &out, Problem *problem) const;

    // A picture cell names a bitmap file; its exact bytes become the value.
    // A file missing at its path is looked for by its name in csvFolder (an
    // export moved with its bitmaps). Anything that is not a readable bitmap
    // file gives empty bytes.
    static QByteArray readBitmap(const QString &path, const QString &csvFolder = {});

private:
    bool appendText(const CsvReader::Cell &cell, StoredValues &out, Problem *problem) const;
    bool appendTimeValue(QStringView text, int type, StoredValues &out, Problem *problem) const;
    static bool appendHex(QByteArrayView bytes, StoredValues &out, Problem *problem);

    const CsvRegionalFormat &m_format;
    QString m_folder;
};

} // namespace Ledgerly
