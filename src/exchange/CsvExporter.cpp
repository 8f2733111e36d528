#include "CsvExporter.h"

#include "CsvNaming.h"
#include "database/FieldType.h"
#include "database/PdbLayout.h"
#include "database/PdbRecordStream.h"

#include <QDir>
#include <QVarLengthArray>

namespace Ledgerly {

namespace {
// Bytes of lines handed to the output at a time.
constexpr qsizetype kHandOn = 256 * 1024;
} // namespace

CsvExporter::CsvExporter(SafeFile::Writer &out, const CsvRegionalFormat &format)
    : m_out(out)
    , m_format(format)
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

void CsvExporter::handOn()
{
    const QByteArrayView bytes = m_writer.bytes();
    m_out.append(bytes.data(), bytes.size());
    m_writer.clear();
}

void CsvExporter::finish()
{
    handOn();
}

void CsvExporter::writePicture(const char *data, qsizetype length, const QString &path)
{
    const SafeFile::Result written = SafeFile::write(path, QByteArray(data, length));
    if (written.ok()) {
        ++m_bitmaps;
    } else {
        if (m_bitmapFailures == 0)
            m_firstBitmapError = written.message;
        ++m_bitmapFailures;
    }
    m_writer.addQuoted(QDir::toNativeSeparators(path));
}

void CsvExporter::writeRecords(PdbRecordStream &records, const QStringList &names, int recordLines,
                               const QString &bitmapPrefix, const QString &bitmapTitle,
                               const std::function<void(int)> &progress)
{
    const PdbFieldList &defs = records.fields();
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

    const int count = qBound(0, recordLines, records.recordCount());
    QVarLengthArray<qsizetype, 64> starts(defs.Count());
    PdbRecordStream::Record record;
    for (int i = 0; i < count && records.next(&record); ++i) {
        // Where each stored value starts, in one pass over the record.
        const char *data = record.bytes.data();
        qsizetype at = 0;
        for (int f = 0; f < record.storedFields; ++f) {
            starts[f] = at;
            at = PdbLayout::nextValue(data, at);
        }
        for (qsizetype j = 0; j < names.size(); ++j) {
            const int position = positions.at(j);
            if (position < 0) {
                m_writer.addEmpty();
                continue;
            }
            const int type = types.at(j);
            const char *value = nullptr;
            qsizetype length = 0;
            if (position < record.storedFields) {
                const quint32 stored = PdbLayout::valueLength(data + starts[position]);
                if (stored != quint32(PdbLayout::nullLength)) {
                    value = data + starts[position] + 2;
                    length = stored;
                }
            }
            if (type == FieldPicture) {
                // No picture: a null cell, not the name of a file that is
                // not written (an older export's file of that name would
                // otherwise be read back as this record's picture).
                if (length == 0)
                    m_writer.addStored(FieldPicture, nullptr, 0);
                else
                    writePicture(value, length,
                                 CsvNaming::bitmapPath(bitmapPrefix, bitmapTitle, i + 1,
                                                       laterPicture.at(j)));
                continue;
            }
            m_writer.addStored(type, value, length);
        }
        m_writer.endLine();
        ++m_lines;
        if (m_writer.size() >= kHandOn)
            handOn();
        if (progress && (i + 1) * 100 / count != i * 100 / count)
            progress(int(qint64(i + 1) * 100 / count));
    }
}

} // namespace Ledgerly
