#pragma once

#include "CsvReader.h"
#include "CsvRegionalFormat.h"

#include <QByteArray>
#include <QString>

namespace Ledgerly {

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
    bool append(const CsvReader::Cell &cell, int type, QByteArray &out, Problem *problem) const;

    // A picture cell names a bitmap file; its exact bytes become the value.
    // A file missing at its path is looked for by its name in csvFolder (an
    // export moved with its bitmaps). Anything that is not a readable bitmap
    // file gives empty bytes.
    static QByteArray readBitmap(const QString &path, const QString &csvFolder = {});

private:
    bool appendText(const CsvReader::Cell &cell, QByteArray &out, Problem *problem) const;
    bool appendTimeValue(QByteArrayView text, int type, QByteArray &out, Problem *problem) const;
    static bool appendHex(QByteArrayView bytes, QByteArray &out, Problem *problem);

    const CsvRegionalFormat &m_format;
    QString m_folder;
};

} // namespace Ledgerly
