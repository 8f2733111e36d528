#include "CsvImporter.h"

#include "database/FieldType.h"
#include "database/PdbFieldList.h"
#include "database/PdbLayout.h"

#include <QIODevice>

#include <cstring>

namespace Ledgerly {

namespace {

// Bytes read from the file at a time.
constexpr qsizetype kBlock = 1024 * 1024;

// The field named name: one spelt exactly alike first, so fields whose
// names differ only in case each get their own file column.
int fieldNamed(const PdbFieldList &fields, const QString &name)
{
    for (int f = 0; f < fields.Count(); ++f)
        if (fields.Item(f).Name == name)
            return f;
    return fields.indexOf(name);
}

QString shown(QByteArrayView bytes)
{
    // A cell swallowed by an open quote can be long; a message shows its start.
    constexpr qsizetype kShown = 80;
#ifdef Q_OS_WIN
    QString text = QString::fromLocal8Bit(bytes.first(qMin(bytes.size(), kShown * 3)));
#else
    QString text = QString::fromUtf8(bytes.first(qMin(bytes.size(), kShown * 3)));
#endif
    if (text.size() > kShown || bytes.size() > kShown * 3)
        text = text.left(kShown) + QChar(0x2026);
    return text;
}

QString kindName(int type)
{
    switch (type) {
    case FieldPicture:
        return QStringLiteral("a bitmap file");
    case FieldYesNo:
        return QStringLiteral("yes or no");
    case FieldDate:
    case FieldTime:
    case FieldDateTime:
        return QStringLiteral("a date or time");
    default:
        return QStringLiteral("hexadecimal bytes");
    }
}

} // namespace

CsvImporter::CsvImporter(const PdbFieldList &fields, const CsvRegionalFormat &format,
                         QString csvFolder)
    : m_fields(fields)
    , m_format(format)
    , m_values(m_format, std::move(csvFolder))
{}

void CsvImporter::mapColumns(const CsvReader::Record &names)
{
    m_columnOfField = QList<int>(m_fields.Count(), -1);
    m_names.clear();
    m_matched = 0;
    for (qsizetype c = 0; c < names.size(); ++c) {
        // Spreadsheets sometimes pad header cells; a field name never has
        // blanks at its ends.
#ifdef Q_OS_WIN
        const QString name = QString::fromLocal8Bit(names.at(c).bytes).trimmed();
#else
        const QString name = QString::fromUtf8(names.at(c).bytes).trimmed();
#endif
        m_names.append(name);
        const int field = name.isEmpty() ? -1 : fieldNamed(m_fields, name);
        // A field named twice in the file takes its first column only.
        if (field < 0 || m_columnOfField.at(field) >= 0)
            continue;
        m_columnOfField[field] = int(c);
        ++m_matched;
    }
}

QString CsvImporter::columnName(int column) const
{
    const QString name = m_names.value(column);
    return name.isEmpty() ? QStringLiteral("%1").arg(column + 1) : name;
}

bool CsvImporter::checkClosed(const CsvReader::Record &record)
{
    for (qsizetype c = 0; c < record.size(); ++c) {
        const CsvReader::Cell &cell = record.at(c);
        if (cell.closed)
            continue;
        const int line = m_reader.lineAt(cell.offset);
        m_problem = m_headerLines < 2
                        ? QStringLiteral("The quote that opens cell %1 on line %2 is not closed.")
                              .arg(c + 1)
                              .arg(line)
                        : QStringLiteral("The quote that opens field \"%1\" on line %2 is not "
                                         "closed.")
                              .arg(columnName(int(c)))
                              .arg(line);
        return false;
    }
    return true;
}

void CsvImporter::describe(const CsvReader::Cell &cell, int column,
                           const CsvValueReader::Problem &problem)
{
    const int type = m_fields.Item(m_columnOfField.indexOf(column)).Type;
    const QString where =
        QStringLiteral("Line %1, field \"%2\": ")
            .arg(m_reader.lineAt(problem.failure == CsvValueReader::Failure::NotText ||
                                         problem.failure == CsvValueReader::Failure::NoCode
                                     ? problem.byteAt
                                     : cell.offset))
            .arg(columnName(column));
    const QString text = shown(cell.bytes);
    using Failure = CsvValueReader::Failure;
    switch (problem.failure) {
    case Failure::NotText:
        m_problem =
            where + QStringLiteral("byte %1 of the file (0x%2) is not part of UTF-8 text, "
                                   "the encoding this system reads files in.")
                        .arg(problem.byteAt + 1)
                        .arg(QString::number(problem.byte, 16).toUpper().rightJustified(2, u'0'));
        break;
    case Failure::NoCode:
        m_problem =
            where + QStringLiteral("\"%1\" (U+%2, at byte %3 of the file) has no Windows-1252 "
                                   "code, so a database cannot hold it.")
                        .arg(QString::fromUcs4(&problem.character, 1),
                             QString::number(quint32(problem.character), 16)
                                 .toUpper()
                                 .rightJustified(4, u'0'))
                        .arg(problem.byteAt + 1);
        break;
    case Failure::TooLong:
        m_problem = where + QStringLiteral("the value takes %1 bytes; a field holds at most %2.")
                                .arg(problem.size)
                                .arg(PdbLayout::maxValueLength);
        break;
    case Failure::OutOfRange:
        m_problem = where + QStringLiteral("\"%1\" lies outside 1904-01-01 00:00:00 .. "
                                           "2040-02-06 06:28:15, the times a database holds.")
                                .arg(text);
        break;
    case Failure::BitmapTooLarge:
        m_problem =
            where + QStringLiteral("the bitmap \"%1\" has %2 bytes; a picture field holds at "
                                   "most %3.")
                        .arg(text)
                        .arg(problem.size)
                        .arg(PdbLayout::maxValueLength);
        break;
    case Failure::Unreadable:
    case Failure::NoBitmap:
    case Failure::None:
        m_problem =
            where + QStringLiteral("\"%1\" cannot be read as %2.").arg(text, kindName(type));
        break;
    }
}

CsvImporter::Step CsvImporter::takeRecord(const CsvReader::Record &record, Status *status)
{
    if (!checkClosed(record)) {
        *status = Status::UnclosedQuote;
        return Step::Stop;
    }
    if (m_headerLines < 2) {
        if (++m_headerLines == 2) {
            mapColumns(record);
            if (m_matched == 0) {
                *status = Status::NotExportLayout;
                return Step::Stop;
            }
        }
        return Step::Continue;
    }
    if (CsvReader::isBlank(record))
        return Step::Continue;
    if (m_ends.size() >= PdbLayout::maxRecords) {
        *status = Status::TooManyRecords;
        return Step::Stop;
    }
    for (int f = 0; f < m_fields.Count(); ++f) {
        const int column = m_columnOfField.at(f);
        const int type = m_fields.Item(f).Type;
        const qsizetype start = m_bytes.size();
        if (column < 0 || column >= record.size()) {
            char *none = m_bytes.room(2);
            none[0] = none[1] = char(0xFF);
            m_bytes.taken(none + 2);
        } else {
            // A cell that cannot be read stops the import before the table
            // changes: emptying it would lose the value without a word.
            CsvValueReader::Problem problem;
            if (!m_values.append(record.at(column), type, m_bytes, &problem)) {
                describe(record.at(column), column, problem);
                *status = Status::UnreadableCell;
                return Step::Stop;
            }
        }
        if ((type == FieldDate || type == FieldTime) &&
            PdbLayout::valueLength(m_bytes.data() + start) == PdbLayout::nullLength)
            ++m_emptyDatesAndTimes;
    }
    m_ends.append(m_bytes.size());
    return Step::Continue;
}

CsvImporter::Status CsvImporter::read(QByteArrayView text)
{
    m_bytes.reserve(text.size() + text.size() / 8 + 4096);
    m_reader = CsvReader(text, true);
    CsvReader::Record record;
    Status status = Status::Ok;
    while (m_reader.readRecord(record) == CsvReader::Result::Record) {
        if (takeRecord(record, &status) == Step::Stop)
            return status;
    }
    return m_headerLines < 2 ? Status::NotExportLayout : Status::Ok;
}

CsvImporter::Status CsvImporter::read(QIODevice &device, qint64 size,
                                      const std::function<void(int)> &progress)
{
    if (size > 0)
        m_bytes.reserve(qsizetype(qMin<qint64>(size + size / 8, 512 * 1024 * 1024)));
    QByteArray buffer;
    qint64 taken = 0;
    bool complete = false;
    m_reader = CsvReader(QByteArrayView(), false);
    CsvReader::Record record;
    Status status = Status::Ok;
    for (;;) {
        const CsvReader::Result result = m_reader.readRecord(record);
        if (result == CsvReader::Result::End)
            break;
        if (result == CsvReader::Result::Record) {
            if (takeRecord(record, &status) == Step::Stop)
                return status;
            continue;
        }
        // The rest of the block starts a record that goes on in the next.
        const qsizetype kept = buffer.size() - m_reader.position();
        if (kept > kMaxRecordBytes) {
            m_problem = QStringLiteral("Line %1 is longer than %2 bytes.")
                            .arg(m_reader.nextLine())
                            .arg(kMaxRecordBytes);
            return Status::RecordTooLong;
        }
        if (complete)
            break; // nothing more to read; the reader has said all it can
        // The rest moves to the front of the one buffer. (Removing it from
        // the front only moves the start of a QByteArray on, and the buffer
        // then grew to the size of the whole file.)
        std::memmove(buffer.data(), buffer.constData() + m_reader.position(), size_t(kept));
        buffer.resize(kept + kBlock);
        const qint64 got = device.read(buffer.data() + kept, kBlock);
        if (got < 0) {
            m_problem = device.errorString();
            return Status::ReadFailed;
        }
        buffer.resize(kept + got);
        complete = got == 0;
        taken += got;
        m_reader.setText(buffer, complete);
        if (progress && size > 0)
            progress(int(qMin<qint64>(100, taken * 100 / size)));
    }
    return m_headerLines < 2 ? Status::NotExportLayout : Status::Ok;
}

QList<PdbRecord> CsvImporter::takeRecords()
{
    const QByteArray bytes = m_bytes.take();
    QList<PdbRecord> records;
    records.reserve(m_ends.size());
    qsizetype begin = 0;
    for (const qsizetype end : std::as_const(m_ends)) {
        records.append(PdbRecord(&m_fields, bytes, begin, end, m_fields.Count(), 0));
        begin = end;
    }
    m_ends.clear();
    return records;
}

QStringList CsvImporter::missingFields() const
{
    QStringList missing;
    for (int f = 0; f < m_fields.Count(); ++f)
        if (m_columnOfField.value(f, -1) < 0)
            missing.append(m_fields.Item(f).Name);
    return missing;
}

} // namespace Ledgerly
