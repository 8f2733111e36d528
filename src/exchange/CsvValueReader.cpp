#include "CsvValueReader.h"

#include "common/SafeFile.h"
#include "common/Windows1252.h"
#include "database/FieldType.h"
#include "database/PdbLayout.h"
#include "database/PdbTime.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace Ledgerly {

namespace {

// Bitmaps larger than this are not read: a cell naming a huge file must not
// exhaust memory.
constexpr qint64 kMaxBitmapBytes = 16 * 1024 * 1024;

void putLength(char *at, quint32 length)
{
    qToBigEndian<quint16>(quint16(length), at);
}

void appendNull(StoredValues &out)
{
    char *at = out.room(2);
    at[0] = at[1] = char(0xFF);
    out.taken(at + 2);
}

void appendValue(StoredValues &out, const char *data, qsizetype size)
{
    char *at = out.room(2 + size);
    putLength(at, quint32(size));
    if (size > 0) // an empty cell's data may be null
        std::memcpy(at + 2, data, size_t(size));
    out.taken(at + 2 + size);
}

// A cell's text for the parsers of yes/no, dates and times: short ASCII is
// widened on the stack, anything else decoded.
class CellText
{
public:
    explicit CellText(QByteArrayView bytes)
    {
        const bool ascii =
            bytes.size() <= qsizetype(std::size(m_small)) &&
            std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
        if (ascii) {
            std::copy(bytes.begin(), bytes.end(), m_small);
            m_view = QStringView(m_small, bytes.size());
        } else {
#ifdef Q_OS_WIN
            m_large = QString::fromLocal8Bit(bytes);
#else
            m_large = QString::fromUtf8(bytes);
#endif
            m_view = m_large;
        }
        // Most cells have no blanks at their ends: Qt is asked only when so.
        if (!m_view.isEmpty() && (m_view.front().isSpace() || m_view.back().isSpace()))
            m_view = m_view.trimmed();
    }
    QStringView view() const
    {
        return m_view;
    }

private:
    char16_t m_small[64];
    QString m_large;
    QStringView m_view;
};

} // namespace

CsvValueReader::CsvValueReader(const CsvRegionalFormat &format, QString csvFolder)
    : m_format(format)
    , m_folder(std::move(csvFolder))
{}

bool CsvValueReader::appendText(const CsvReader::Cell &cell, StoredValues &out,
                                Problem *problem) const
{
    const qsizetype start = out.size();
    const QByteArrayView in = cell.bytes;
#ifdef Q_OS_WIN
    // The ANSI code page decodes through Qt; the file offset of a character
    // without a code is the cell's.
    QStringDecoder decoder(QStringDecoder::System);
    const QString text = decoder.decode(in);
    char *const value = out.room(2 + text.size()) + 2;
    if (!Windows1252::encodeTo(text, value)) {
        for (const QChar c : text) {
            if (Windows1252::byteFor(c.unicode()) < 0) {
                *problem = {Failure::NoCode, cell.offset, 0, c.unicode(), 0};
                break;
            }
        }
        return false;
    }
    char *end = value + text.size();
#else
    char *const value = out.room(2 + in.size()) + 2;
    const Windows1252::FromUtf8 converted = Windows1252::fromUtf8(in, value);
    if (!converted.end) {
        // The offset counts from the cell's first byte, after its quote.
        const qsizetype at = cell.offset + (cell.quoted ? 1 : 0) + converted.at;
        *problem = {converted.character ? Failure::NoCode : Failure::NotText, at,
                    uchar(in[converted.at]), converted.character, 0};
        return false;
    }
    char *end = converted.end;
#endif
    // The export writes a CR as "|" before the line feed that follows it:
    // read back, the pair is CR LF again. A "|" anywhere else stays.
    if (cell.quoted) {
        for (char *p = std::find(value, end, '\n'); p != end; p = std::find(p + 1, end, '\n')) {
            if (p != value && p[-1] == '|')
                p[-1] = '\r';
        }
    }
    const qsizetype length = end - value;
    if (length > PdbLayout::maxValueLength) {
        *problem = {Failure::TooLong, 0, 0, 0, length};
        out.truncate(start);
        return false;
    }
    putLength(value - 2, quint32(length));
    out.taken(end);
    return true;
}

bool CsvValueReader::appendTimeValue(QStringView text, int type, StoredValues &out,
                                     Problem *problem) const
{
    QDateTime value;
    if (type == FieldTime) {
        // A time of day is stored on the first day the handheld counts from.
        const QTime time = m_format.parseTime(text);
        if (time.isValid())
            value = PdbTime::timeOfDay(time);
    } else {
        value = m_format.parseDateTime(text);
    }
    if (!value.isValid()) {
        problem->failure = Failure::Unreadable;
        return false;
    }
    quint32 seconds = 0;
    if (!PdbTime::toSeconds(value, &seconds)) {
        problem->failure = Failure::OutOfRange;
        return false;
    }
    char stored[4];
    qToBigEndian<quint32>(seconds, stored);
    appendValue(out, stored, 4);
    return true;
}

bool CsvValueReader::append(const CsvReader::Cell &cell, int type, StoredValues &out,
                            Problem *problem) const
{
    // A quoted empty cell is empty text (or empty bytes of a kind this
    // program does not know); nothing between the commas is no value at all.
    const bool known = type == FieldYesNo || type == FieldDate || type == FieldTime ||
                       type == FieldDateTime || type == FieldPicture;
    if (type == FieldText || !known) {
        if (!cell.quoted && cell.bytes.isEmpty()) {
            appendNull(out);
            return true;
        }
        if (type == FieldText)
            return appendText(cell, out, problem);
        return appendHex(cell.bytes.trimmed(), out, problem);
    }
    const QByteArrayView bytes = cell.bytes.trimmed();
    const CellText text(bytes);
    if (text.view().isEmpty()) {
        appendNull(out);
        return true;
    }
    switch (type) {
    case FieldYesNo: {
        const QVariant yes = CsvRegionalFormat::parseBool(text.view());
        if (yes.isNull()) {
            problem->failure = Failure::Unreadable;
            return false;
        }
        const char stored = yes.toBool() ? 1 : 0;
        appendValue(out, &stored, 1);
        return true;
    }
    case FieldDate:
    case FieldTime:
    case FieldDateTime:
        return appendTimeValue(text.view(), type, out, problem);
    case FieldPicture: {
#ifdef Q_OS_WIN
        const QString path = QString::fromLocal8Bit(bytes);
#else
        const QString path = QString::fromUtf8(bytes);
#endif
        const QByteArray bitmap = readBitmap(path, m_folder);
        if (bitmap.isEmpty()) {
            problem->failure = Failure::NoBitmap;
            return false;
        }
        if (bitmap.size() > PdbLayout::maxValueLength) {
            *problem = {Failure::BitmapTooLarge, 0, 0, 0, bitmap.size()};
            return false;
        }
        appendValue(out, bitmap.constData(), bitmap.size());
        return true;
    }
    default:
        return appendHex(bytes, out, problem);
    }
}

bool CsvValueReader::appendHex(QByteArrayView bytes, StoredValues &out, Problem *problem)
{
    // Values of other kinds travel as hex text, the form the export writes
    // them in, so their bytes come back exactly.
    const auto isHex = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    };
    if (bytes.size() % 2 != 0 || !std::all_of(bytes.begin(), bytes.end(), isHex)) {
        problem->failure = Failure::Unreadable;
        return false;
    }
    const QByteArray value = QByteArray::fromHex(bytes.toByteArray());
    if (value.size() > PdbLayout::maxValueLength) {
        *problem = {Failure::TooLong, 0, 0, 0, value.size()};
        return false;
    }
    appendValue(out, value.constData(), value.size());
    return true;
}

QByteArray CsvValueReader::readBitmap(const QString &path, const QString &csvFolder)
{
    QString file = QDir::fromNativeSeparators(path.trimmed());
    if (file.isEmpty())
        return {};
    if (QFileInfo(file).isRelative() && !csvFolder.isEmpty())
        file = QDir(csvFolder).filePath(file);
    if (!QFileInfo::exists(file) && !csvFolder.isEmpty())
        file = QDir(csvFolder).filePath(QFileInfo(file).fileName());
    // Only regular files, opened without waiting: a device or pipe named in
    // a cell could block or never end.
    QByteArray bytes;
    if (!SafeFile::read(file, kMaxBitmapBytes, &bytes, nullptr))
        return {};
    if (bytes.size() < 2 || !bytes.startsWith("BM"))
        return {};
    return bytes;
}

} // namespace Ledgerly
