#include "PdbStructure.h"

#include "FieldType.h"
#include "PdbError.h"
#include "PdbLayout.h"
#include "common/Windows1252.h"

namespace Ledgerly::PdbStructure {

using namespace PdbLayout;

namespace {

[[noreturn]] void damaged(const QString &why)
{
    throw PdbError(ErrDamaged, why);
}

// Callers check the range first; these only assemble big-endian numbers.
quint16 u16(const uchar *at)
{
    return quint16((at[0] << 8) | at[1]);
}

quint32 u32(const uchar *at)
{
    return (quint32(at[0]) << 24) | (quint32(at[1]) << 16) | (quint32(at[2]) << 8) | quint32(at[3]);
}

} // namespace

int readHeader(const uchar *data, qsizetype fileSize, PdbHeader &header, qsizetype *fieldBlock)
{
    if (fileSize < headerSize)
        damaged(QStringLiteral("the file is shorter than a database header (%1 of %2 bytes)")
                    .arg(fileSize)
                    .arg(headerSize));
    const auto chars = [data](int at) {
        return QByteArrayView(reinterpret_cast<const char *>(data) + at, 4);
    };
    if (chars(offType) != typeTag() || chars(offCreator) != creatorTag())
        damaged(
            QStringLiteral("the file is not a database of this kind (type \"%1\", creator "
                           "\"%2\")")
                .arg(QString::fromLatin1(chars(offType)), QString::fromLatin1(chars(offCreator))));
    const QByteArrayView rawName(reinterpret_cast<const char *>(data), nameSize);
    const qsizetype nul = rawName.indexOf('\0');
    header.name = (nul < 0 ? rawName : rawName.first(nul)).toByteArray();
    header.attributes = u16(data + offAttributes);
    header.version = u16(data + offVersion);
    header.creationTime = u32(data + offCreationTime);
    header.modificationTime = u32(data + offModificationTime);
    header.backupTime = u32(data + offBackupTime);
    header.modificationNumber = u32(data + offModificationNumber);
    header.uniqueIdSeed = u32(data + offUniqueIdSeed);
    const int count = u16(data + offRecordCount);

    const qsizetype listEnd = headerSize + qsizetype(count) * recordEntrySize;
    if (listEnd > fileSize)
        damaged(QStringLiteral("the record list (%1 records) runs past the end of the file")
                    .arg(count));
    const qsizetype block = u32(data + offAppInfo);
    if (block == 0)
        damaged(QStringLiteral("the field block is missing"));
    if (block < listEnd || block >= fileSize)
        damaged(QStringLiteral("the field block lies outside the file's data area"));
    *fieldBlock = block;
    return count;
}

void readRecordList(const uchar *list, int count, qsizetype fieldBlock, qsizetype fileSize,
                    QList<qsizetype> &offsets, QList<quint32> &ids)
{
    // Offsets must climb from the field block to the end of the file; each
    // record then runs to the next one's start.
    offsets.clear();
    ids.clear();
    offsets.reserve(count + 1);
    ids.reserve(count);
    qsizetype previous = fieldBlock;
    for (int i = 0; i < count; ++i) {
        const uchar *entry = list + qsizetype(i) * recordEntrySize;
        const qsizetype offset = u32(entry);
        if (offset > fileSize)
            damaged(QStringLiteral("record %1 lies outside the file").arg(i + 1));
        if (offset < previous)
            damaged(
                i == 0 ? QStringLiteral("record 1 starts before the field block ends")
                       : QStringLiteral("record offsets are not ascending (record %1)").arg(i + 1));
        offsets.append(offset);
        ids.append((quint32(entry[5]) << 16) | (quint32(entry[6]) << 8) | quint32(entry[7]));
        previous = offset;
    }
    offsets.append(fileSize);
}

void readFieldBlock(const uchar *block, qsizetype size, PdbFieldList &fields)
{
    if (size < 4)
        damaged(QStringLiteral("the field block is empty"));
    // No fields is a well-formed (if bare) database: its records hold nothing.
    const int count = u16(block + 2);
    // Each definition takes at least four bytes.
    if (qsizetype(count) * 4 > size - 4)
        damaged(QStringLiteral("the field block is too short for %1 fields").arg(count));
    qsizetype at = 4;
    for (int i = 0; i < count; ++i) {
        if (size - at < 3)
            damaged(QStringLiteral("field definition %1 runs past the field block").arg(i + 1));
        const int type = u16(block + at);
        const int length = block[at + 2];
        at += 3;
        if (length == 0)
            damaged(QStringLiteral("field %1 has an empty name").arg(i + 1));
        if (size - at < length)
            damaged(QStringLiteral("the name of field %1 runs past the field block").arg(i + 1));
        fields.append(PdbField{Windows1252::decode(QByteArray::fromRawData(
                                   reinterpret_cast<const char *>(block) + at, length)),
                               type});
        at += length;
    }
}

int checkRecord(const PdbFieldList &fields, int index, const uchar *data, qsizetype size)
{
    qsizetype at = 0;
    int f = 0;
    for (; f < fields.Count() && at < size; ++f) {
        if (size - at < 2)
            damaged(QStringLiteral("record %1: the length of field %2 runs past the record")
                        .arg(index + 1)
                        .arg(f + 1));
        const int length = u16(data + at);
        at += 2;
        if (length == nullLength)
            continue;
        if (size - at < length)
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
    if (at < size)
        damaged(QStringLiteral("record %1: %2 byte(s) remain after the last field")
                    .arg(index + 1)
                    .arg(size - at));
    return f;
}

} // namespace Ledgerly::PdbStructure
