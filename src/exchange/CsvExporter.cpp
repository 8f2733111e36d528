#include "CsvExporter.h"

#include "CsvNaming.h"
#include "common/SafeFile.h"
#include "database/FieldType.h"
#include "database/PdbTable.h"

#include <QDir>

namespace Ledgerly {

namespace {
// Characters of text encoded at a time: large enough that the encoder's
// set-up does not count, small enough to stay in the processor's cache.
constexpr qsizetype kEncodeBlock = 64 * 1024;
} // namespace

CsvExporter::CsvExporter(const CsvRegionalFormat &format)
    : m_format(format)
    , m_writer(m_format)
{}

void CsvExporter::writeHeaders(const QStringList &captions, const QStringList &names)
{
    for (const QString &caption : captions)
        m_writer.addQuoted(caption);
    m_writer.endLine();
    for (const QString &name : names)
        m_writer.addQuoted(name);
    m_writer.endLine();
}

void CsvExporter::writeRecords(const PdbTable &table, const QStringList &names, int recordLines,
                               const QString &bitmapPrefix, const QString &bitmapTitle,
                               const std::function<void(int)> &progress)
{
    const PdbFieldList &defs = table.FieldDefs();
    // Field positions and types are looked up once by name, not per cell: the
    // type that decides a cell's form is the type of the field it shows.
    QList<int> positions;
    QList<int> types;
    QList<int> laterPicture; // 0 for the first picture field, else its position from 1
    bool pictureSeen = false;
    for (qsizetype j = 0; j < names.size(); ++j) {
        const int position = defs.indexOf(names.at(j));
        positions.append(position);
        const int type = position >= 0 ? defs.Item(position).Type : FieldText;
        types.append(type);
        if (position >= 0 && type == FieldPicture) {
            laterPicture.append(pictureSeen ? int(j + 1) : 0);
            pictureSeen = true;
        } else {
            laterPicture.append(0);
        }
    }

    const int count = qBound(0, recordLines, table.RecordCount());
    m_bytes.reserve(m_bytes.size() + qsizetype(count) * (names.size() * 12 + 2));
    for (int i = 0; i < count; ++i) {
        // Every value of the record in one pass over its stored bytes.
        const QList<QVariant> values = table.Record(i).values();
        for (qsizetype j = 0; j < names.size(); ++j) {
            const int position = positions.at(j);
            if (position < 0) {
                m_writer.addEmpty();
                continue;
            }
            const QVariant value = values.value(position);
            // Text and bytes of unknown kinds can be empty and still be a
            // value: no value at all is nothing between the commas, as the
            // import reads it.
            const int type = types.at(j);
            if (value.isNull() && type != FieldYesNo && type != FieldDate && type != FieldTime &&
                type != FieldDateTime && type != FieldPicture) {
                m_writer.addEmpty();
                continue;
            }
            if (types.at(j) == FieldPicture) {
                const QByteArray bytes = value.toByteArray();
                if (value.isNull() || bytes.isEmpty()) {
                    // No picture: a null cell, not the name of a file that
                    // is not written (an older export's file of that name
                    // would otherwise be read back as this record's picture).
                    m_writer.addValue(QVariant());
                    continue;
                }
                const QString path =
                    CsvNaming::bitmapPath(bitmapPrefix, bitmapTitle, i + 1, laterPicture.at(j));
                const SafeFile::Result written = SafeFile::write(path, bytes);
                if (written.ok()) {
                    ++m_bitmaps;
                } else {
                    if (m_bitmapFailures == 0)
                        m_firstBitmapError = written.message;
                    ++m_bitmapFailures;
                }
                m_writer.addQuoted(QDir::toNativeSeparators(path));
                continue;
            }
            m_writer.addValue(value, types.at(j) == FieldTime);
        }
        m_writer.endLine();
        ++m_lines;
        // Whole lines only: a block never ends inside a character the
        // encoder needs whole.
        if (m_writer.size() >= kEncodeBlock)
            m_bytes += m_writer.takeEncoded();
        if (progress && (i + 1) * 100 / count != i * 100 / count)
            progress(int(qint64(i + 1) * 100 / count));
    }
}

bool CsvExporter::writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    return SafeFile::write(path, bytes).ok();
}

} // namespace Ledgerly
