#include "PdbReader.h"

#include "FieldType.h"
#include "PdbError.h"
#include "PdbLayout.h"
#include "common/Windows1252.h"

#include <QList>

namespace Ledgerly {

using namespace PdbLayout;

PdbReader::PdbReader(const QByteArray &bytes)
    : m_bytes(bytes)
    , m_data(reinterpret_cast<const uchar *>(bytes.constData()))
    , m_size(bytes.size())
{}

void PdbReader::damaged(const QString &why)
{
    throw PdbError(ErrDamaged, why);
}

// Callers check the range first; these only assemble big-endian numbers.
quint16 PdbReader::u16(qsizetype at) const
{
    return quint16((m_data[at] << 8) | m_data[at + 1]);
}

quint32 PdbReader::u32(qsizetype at) const
{
    return (quint32(m_data[at]) << 24) | (quint32(m_data[at + 1]) << 16) |
           (quint32(m_data[at + 2]) << 8) | quint32(m_data[at + 3]);
}

std::unique_ptr<PdbDatabase> PdbReader::read()
{
    if (m_size < headerSize)
        damaged(QStringLiteral("the file is shorter than a database header (%1 of %2 bytes)")
                    .arg(m_size)
                    .arg(headerSize));
    auto db = std::make_unique<PdbDatabase>();
    readHeader(*db);

    const qsizetype listEnd = headerSize + qsizetype(m_recordCount) * recordEntrySize;
    if (listEnd > m_size)
        damaged(QStringLiteral("the record list (%1 records) runs past the end of the file")
                    .arg(m_recordCount));

    const qsizetype fieldBlock = u32(offAppInfo);
    if (fieldBlock == 0)
        damaged(QStringLiteral("the field block is missing"));
    if (fieldBlock < listEnd || fieldBlock >= m_size)
        damaged(QStringLiteral("the field block lies outside the file's data area"));

    // Offsets must climb from the field block to the end of the file; each
    // record then runs to the next one's start.
    QList<qsizetype> offsets;
    offsets.reserve(m_recordCount + 1);
    qsizetype previous = fieldBlock;
    for (int i = 0; i < m_recordCount; ++i) {
        const qsizetype entry = headerSize + qsizetype(i) * recordEntrySize;
        const qsizetype offset = u32(entry);
        if (offset > m_size)
            damaged(QStringLiteral("record %1 lies outside the file").arg(i + 1));
        if (offset < previous)
            damaged(
                i == 0 ? QStringLiteral("record 1 starts before the field block ends")
                       : QStringLiteral("record offsets are not ascending (record %1)").arg(i + 1));
        offsets.append(offset);
        previous = offset;
    }
    offsets.append(m_size);

    readFieldBlock(*db, fieldBlock, m_recordCount > 0 ? offsets.at(0) : m_size);

    PdbTable &table = db->Table();
    const PdbFieldList &fields = table.FieldDefs();
    table.reserveRecords(m_recordCount);
    for (int i = 0; i < m_recordCount; ++i) {
        const qsizetype entry = headerSize + qsizetype(i) * recordEntrySize;
        const quint32 id = (quint32(m_data[entry + 5]) << 16) | (quint32(m_data[entry + 6]) << 8) |
                           quint32(m_data[entry + 7]);
        const qsizetype begin = offsets.at(i);
        const qsizetype end = offsets.at(i + 1);
        const int stored = checkRecord(fields, i, begin, end);
        table.appendRecord(PdbRecord(&fields, m_bytes, begin, end, stored, id));
    }
    return db;
}

void PdbReader::readHeader(PdbDatabase &db)
{
    if (QByteArrayView(m_data + offType, 4) != typeTag() ||
        QByteArrayView(m_data + offCreator, 4) != creatorTag())
        damaged(QStringLiteral("the file is not a database of this kind (type \"%1\", creator "
                               "\"%2\")")
                    .arg(QString::fromLatin1(m_bytes.mid(offType, 4)),
                         QString::fromLatin1(m_bytes.mid(offCreator, 4))));
    PdbHeader &h = db.header();
    const QByteArray rawName = m_bytes.left(nameSize);
    const qsizetype nul = rawName.indexOf('\0');
    h.name = nul < 0 ? rawName : rawName.left(nul);
    h.attributes = u16(offAttributes);
    h.version = u16(offVersion);
    h.creationTime = u32(offCreationTime);
    h.modificationTime = u32(offModificationTime);
    h.backupTime = u32(offBackupTime);
    h.modificationNumber = u32(offModificationNumber);
    h.uniqueIdSeed = u32(offUniqueIdSeed);
    m_recordCount = u16(offRecordCount);
}

void PdbReader::readFieldBlock(PdbDatabase &db, qsizetype begin, qsizetype end)
{
    if (end - begin < 4)
        damaged(QStringLiteral("the field block is empty"));
    // No fields is a well-formed (if bare) database: its records hold nothing.
    const int count = u16(begin + 2);
    // Each definition takes at least four bytes.
    if (qsizetype(count) * 4 > end - begin - 4)
        damaged(QStringLiteral("the field block is too short for %1 fields").arg(count));
    qsizetype at = begin + 4;
    PdbTable &table = db.Table();
    for (int i = 0; i < count; ++i) {
        if (end - at < 3)
            damaged(QStringLiteral("field definition %1 runs past the field block").arg(i + 1));
        const int type = u16(at);
        const int length = m_data[at + 2];
        at += 3;
        if (length == 0)
            damaged(QStringLiteral("field %1 has an empty name").arg(i + 1));
        if (end - at < length)
            damaged(QStringLiteral("the name of field %1 runs past the field block").arg(i + 1));
        table.AddField(
            Windows1252::decode(QByteArray::fromRawData(m_bytes.constData() + at, length)), type);
        at += length;
    }
}

int PdbReader::checkRecord(const PdbFieldList &fields, int index, qsizetype begin,
                           qsizetype end) const
{
    qsizetype at = begin;
    int f = 0;
    for (; f < fields.Count() && at < end; ++f) {
        if (end - at < 2)
            damaged(QStringLiteral("record %1: the length of field %2 runs past the record")
                        .arg(index + 1)
                        .arg(f + 1));
        const int length = u16(at);
        at += 2;
        if (length == nullLength)
            continue;
        if (end - at < length)
            damaged(QStringLiteral("record %1: the value of field %2 runs past the record")
                        .arg(index + 1)
                        .arg(f + 1));
        const int type = fields.Item(f).Type;
        if (type == FieldYesNo && length != 1)
            damaged(QStringLiteral("record %1: the yes/no value of field %2 has %3 bytes, not 1")
                        .arg(index + 1)
                        .arg(f + 1)
                        .arg(length));
        if ((type == FieldDate || type == FieldTime || type == FieldDateTime) && length != 4)
            damaged(QStringLiteral("record %1: the time value of field %2 has %3 bytes, not 4")
                        .arg(index + 1)
                        .arg(f + 1)
                        .arg(length));
        at += length;
    }
    if (at < end)
        damaged(QStringLiteral("record %1: %2 byte(s) remain after the last field")
                    .arg(index + 1)
                    .arg(end - at));
    return f;
}

} // namespace Ledgerly
