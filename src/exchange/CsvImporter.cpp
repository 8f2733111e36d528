#include "CsvImporter.h"

#include "database/FieldType.h"
#include "database/PdbFieldList.h"
#include "database/PdbLayout.h"
#include "database/PdbTime.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Ledgerly {

namespace {

// Bitmaps larger than this are not read: no stored picture comes near it, and
// a cell naming a huge file must not exhaust memory.
constexpr qint64 kMaxBitmapBytes = 16 * 1024 * 1024;

// The table column keyed by name: one spelt exactly alike first, so fields
// whose names differ only in case each get their own file column.
int columnNamed(const GridModel &grid, const QString &name)
{
    for (int c = 1; c < grid.columnCount(); ++c)
        if (grid.column(c).key == name)
            return c;
    return grid.columnByKey(name);
}

} // namespace

CsvImporter::CsvImporter(const GridModel &grid, const PdbFieldList &fields,
                         const CsvRegionalFormat &format, QString csvFolder)
    : m_grid(grid)
    , m_fields(fields)
    , m_format(format)
    , m_folder(std::move(csvFolder))
{}

void CsvImporter::mapColumns(const CsvReader::Record &names)
{
    m_columnOf.clear();
    m_typeOf.clear();
    m_names.clear();
    m_matched = 0;
    QList<bool> taken(m_grid.columnCount(), false);
    for (const CsvReader::Cell &cell : names) {
        // Spreadsheets sometimes pad header cells; a field name never has
        // blanks at its ends.
        const QString name = cell.text.trimmed();
        int column = name.isEmpty() ? -1 : columnNamed(m_grid, name);
        // Column 0 holds record numbers, and a column named twice in the file
        // takes its first cell only.
        if (column <= 0 || taken.value(column, true))
            column = -1;
        int type = FieldText;
        if (column > 0) {
            taken[column] = true;
            ++m_matched;
            // Column c shows field c - 1; a column past the stored fields
            // holds a text field the schema added.
            if (column - 1 < m_fields.Count())
                type = m_fields.Item(column - 1).Type;
        }
        m_columnOf.append(column);
        m_typeOf.append(type);
        m_names.append(name);
    }
}

CsvImporter::Status CsvImporter::read(QStringView text)
{
    m_rows.clear();
    m_problem.clear();
    CsvReader reader(text);
    CsvReader::Record record;
    if (!reader.readRecord(record) || !reader.readRecord(record))
        return Status::NotExportLayout;
    mapColumns(record);
    if (m_matched == 0)
        return Status::NotExportLayout;

    QList<GridRow> rows;
    const int columns = m_grid.columnCount();
    while (reader.readRecord(record)) {
        if (CsvReader::isBlank(record))
            continue;
        if (rows.size() >= PdbLayout::maxRecords)
            return Status::TooManyRecords;
        GridRow row;
        row.cells.resize(columns);
        const qsizetype cells = qMin(record.size(), m_columnOf.size());
        for (qsizetype c = 0; c < cells; ++c) {
            const int column = m_columnOf.at(c);
            if (column <= 0)
                continue;
            // A cell that cannot be read stops the import before the table
            // changes: emptying it would lose the value without a word.
            if (!cellValue(record.at(c), m_typeOf.at(c), &row.cells[column])) {
                m_problem =
                    QStringLiteral("Line %1, field \"%2\": \"%3\" cannot be read as %4.")
                        .arg(reader.recordLine())
                        .arg(m_names.at(c), record.at(c).text,
                             m_typeOf.at(c) == FieldPicture ? QStringLiteral("a bitmap file")
                             : m_typeOf.at(c) == FieldYesNo ? QStringLiteral("yes or no")
                                                            : QStringLiteral("a date or time"));
                return Status::UnreadableCell;
            }
        }
        rows.append(std::move(row));
    }
    m_rows = std::move(rows);
    return Status::Ok;
}

QStringList CsvImporter::missingFields() const
{
    QStringList missing;
    for (int f = 0; f < m_fields.Count(); ++f) {
        const int column = f + 1;
        const bool shown = column < m_grid.columnCount() && !m_grid.column(column).key.isEmpty();
        if (!shown || !m_columnOf.contains(column))
            missing.append(m_fields.Item(f).Name);
    }
    return missing;
}

bool CsvImporter::cellValue(const CsvReader::Cell &cell, int fieldType, QVariant *out) const
{
    const QString &text = cell.text;
    if (fieldType == FieldText || text.trimmed().isEmpty()) {
        // A quoted empty cell is empty text; nothing between the commas is no
        // value at all.
        if (fieldType == FieldText && (cell.quoted || !text.isEmpty()))
            *out = text;
        else
            *out = QVariant();
        return true;
    }
    switch (fieldType) {
    case FieldYesNo:
        *out = CsvRegionalFormat::parseBool(text);
        return !out->isNull();
    case FieldDate:
    case FieldDateTime: {
        const QDateTime value = m_format.parseDateTime(text);
        *out = value;
        return value.isValid();
    }
    case FieldTime: {
        // A time of day is stored on the format's first day.
        const QTime value = m_format.parseTime(text);
        *out = PdbTime::timeOfDay(value);
        return value.isValid();
    }
    case FieldPicture:
        *out = readBitmap(text, m_folder);
        return !out->isNull();
    default: {
        // Values of other kinds travel as hex text, the form the export
        // writes them in, so their bytes come back exactly.
        const QByteArray hex = text.trimmed().toLatin1();
        const QByteArray bytes = QByteArray::fromHex(hex);
        if (hex.size() % 2 != 0 || bytes.toHex() != hex.toLower())
            return false;
        *out = bytes;
        return true;
    }
    }
}

QVariant CsvImporter::readBitmap(const QString &path, const QString &csvFolder)
{
    QString file = QDir::fromNativeSeparators(path.trimmed());
    if (file.isEmpty())
        return {};
    if (QFileInfo(file).isRelative() && !csvFolder.isEmpty())
        file = QDir(csvFolder).filePath(file);
    if (!QFileInfo::exists(file) && !csvFolder.isEmpty())
        file = QDir(csvFolder).filePath(QFileInfo(file).fileName());
    const QFileInfo info(file);
    // Only regular files: a device or pipe named in a cell could block or
    // never end.
    if (!info.isFile() || info.size() > kMaxBitmapBytes || info.size() < 2)
        return {};
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = in.read(kMaxBitmapBytes + 1);
    if (bytes.size() > kMaxBitmapBytes || !bytes.startsWith("BM"))
        return {};
    return bytes;
}

} // namespace Ledgerly
