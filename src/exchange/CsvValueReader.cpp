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

namespace Ledgerly {

namespace {

// Bitmaps larger than this are not read: a cell naming a huge file must not
// exhaust memory.
constexpr qint64 kMaxBitmapBytes = 16 * 1024 * 1024;

void putLength(char *at, quint32 length)
{
    qToBigEndian<quint16>(quint16(length), at);
}

void appendNull(QByteArray &out)
{
    const char none[2] = {char(0xFF), char(0xFF)};
    out.append(none, 2);
}

void appendValue(QByteArray &out, const char *data, qsizetype size)
{
    char prefix[2];
    putLength(prefix, quint32(size));
    out.append(prefix, 2);
    out.append(data, size);
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

bool CsvValueReader::appendText(const CsvReader::Cell &cell, QByteArray &out,
                                Problem *problem) const
{
    const qsizetype start = out.size();
    const QByteArrayView in = cell.bytes;
#ifdef Q_OS_WIN
    // The ANSI code page decodes through Qt; the file offset of a character
    // without a code is the cell's.
    QStringDecoder decoder(QStringDecoder::System);
    const QString text = decoder.decode(in);
    out.resize(start + 2 + text.size());
    char *const value = out.data() + start + 2;
    if (!Windows1252::encodeTo(text, value)) {
        for (const QChar c : text) {
            if (Windows1252::byteFor(c.unicode()) < 0) {
                *problem = {Failure::NoCode, cell.offset, 0, c.unicode(), 0};
                break;
            }
        }
        out.truncate(start);
        return false;
    }
    char *end = value + text.size();
#else
    out.resize(start + 2 + in.size());
    char *const value = out.data() + start + 2;
    const Windows1252::FromUtf8 converted = Windows1252::fromUtf8(in, value);
    if (!converted.end) {
        // The offset counts from the cell's first byte, after its quote.
        const qsizetype at = cell.offset + (cell.quoted ? 1 : 0) + converted.at;
        *problem = {converted.character ? Failure::NoCode : Failure::NotText, at,
                    uchar(in[converted.at]), converted.character, 0};
        out.truncate(start);
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
    putLength(out.data() + start, quint32(length));
    out.truncate(start + 2 + length);
    return true;
}

bool CsvValueReader::appendTimeValue(QByteArrayView bytes, int type, QByteArray &out,
                                     Problem *problem) const
{
    const CellText text(bytes);
    QDateTime value;
    if (type == FieldTime) {
        // A time of day is stored on the first day the handheld counts from.
        const QTime time = m_format.parseTime(text.view());
        if (time.isValid())
            value = PdbTime::timeOfDay(time);
    } else {
        value = m_format.parseDateTime(text.view());
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

bool CsvValueReader::append(const CsvReader::Cell &cell, int type, QByteArray &out,
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
    if (bytes.isEmpty() || CellText(bytes).view().isEmpty()) {
        appendNull(out);
        return true;
    }
    switch (type) {
    case FieldYesNo: {
        const QVariant yes = CsvRegionalFormat::parseBool(CellText(bytes).view());
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
        return appendTimeValue(bytes, type, out, problem);
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

bool CsvValueReader::appendHex(QByteArrayView bytes, QByteArray &out, Problem *problem)
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
