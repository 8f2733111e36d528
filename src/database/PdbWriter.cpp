#include "PdbWriter.h"

#include "PdbError.h"
#include "PdbLayout.h"
#include "PdbTime.h"
#include "PdbValueEncoder.h"
#include "common/Windows1252.h"

#include <QSet>
#include <QtEndian>

namespace Ledgerly {

using namespace PdbLayout;

namespace {

void appendU16(QByteArray &out, quint32 v)
{
    const char b[2] = {char(v >> 8), char(v)};
    out.append(b, 2);
}

void appendU32(QByteArray &out, quint32 v)
{
    const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(b, 4);
}

quint32 nowSeconds()
{
    quint32 seconds = 0;
    if (!PdbTime::toSeconds(PdbTime::now(), &seconds))
        seconds = 0xFFFFFFFF;
    return seconds;
}

} // namespace

PdbWriter::PdbWriter(const PdbDatabase &db)
    : m_db(db)
{}

QByteArray PdbWriter::headerName(const QString &stem)
{
    QByteArray name;
    name.reserve(nameSize - 1);
    QByteArray one;
    for (const QChar ch : stem) {
        if (name.size() >= nameSize - 1)
            break;
        name.append(Windows1252::encode(QString(ch), &one) ? one : QByteArrayLiteral("?"));
    }
    return name;
}

void PdbWriter::refuse(int record, int field, const QString &why) const
{
    const QString fieldName =
        field >= 0 && field < m_db.Fields().Count() ? m_db.Fields().Item(field).Name : QString();
    QString where;
    if (record >= 0)
        where = QStringLiteral("Record %1, field \"%2\": ").arg(record + 1).arg(fieldName);
    else if (field >= 0)
        where = QStringLiteral("Field %1 (\"%2\"): ").arg(field + 1).arg(fieldName);
    throw PdbError(ErrInvalidValue, where + why);
}

// Records keep the IDs they were read with; new and duplicated ones get the
// next free ID from the seed, so HotSync still sees them as distinct records.
QList<quint32> PdbWriter::assignIds(quint32 *seed) const
{
    const PdbTable &table = m_db.Table();
    const int count = table.RecordCount();
    QList<quint32> ids(count, 0);
    QSet<quint32> used;
    used.reserve(count);
    quint32 next = qMax<quint32>(m_db.header().uniqueIdSeed, 1);
    for (int i = 0; i < count; ++i) {
        const quint32 id = table.Record(i).uniqueId();
        if (id == 0 || id > quint32(maxUniqueId) || used.contains(id))
            continue;
        used.insert(id);
        ids[i] = id;
        next = qMax(next, id + 1);
    }
    quint32 probe = 1; // used once the seed has run out of 24-bit IDs
    for (int i = 0; i < count; ++i) {
        if (ids.at(i) != 0)
            continue;
        if (next <= quint32(maxUniqueId)) {
            ids[i] = next++;
        } else {
            while (used.contains(probe))
                ++probe;
            ids[i] = probe;
        }
        used.insert(ids.at(i));
    }
    *seed = next;
    return ids;
}

void PdbWriter::writeFieldBlock()
{
    const PdbFieldList &fields = m_db.Fields();
    if (fields.Count() > 0xFFFF)
        throw PdbError(ErrInvalidValue, QStringLiteral("A database holds at most 65535 fields"));
    appendU16(m_out, fieldBlockVersion);
    appendU16(m_out, quint32(fields.Count()));
    for (int f = 0; f < fields.Count(); ++f) {
        const PdbField &field = fields.Item(f);
        if (field.Type < 0 || field.Type > 0xFFFF)
            refuse(-1, f, QStringLiteral("the type code %1 cannot be stored").arg(field.Type));
        if (!Windows1252::encode(field.Name, &m_scratch))
            refuse(-1, f, QStringLiteral("the name cannot be stored as Windows-1252"));
        if (m_scratch.isEmpty() || m_scratch.size() > 255)
            refuse(-1, f, QStringLiteral("a field name must be 1 to 255 characters long"));
        appendU16(m_out, quint32(field.Type));
        m_out.append(char(m_scratch.size()));
        m_out.append(m_scratch);
    }
}

void PdbWriter::putValueBytes(const char *data, qsizetype size, int record, int field)
{
    if (size > maxValueLength)
        refuse(record, field,
               QStringLiteral("the value is %1 bytes long; at most %2 bytes can be stored")
                   .arg(size)
                   .arg(maxValueLength));
    appendU16(m_out, quint32(size));
    m_out.append(data, size);
}

void PdbWriter::writeValue(const QVariant &value, int type, int record, int field)
{
    if (PdbValueEncoder::isNull(value)) {
        appendU16(m_out, nullLength);
        return;
    }
    // Bytes already held in memory go out without an intermediate copy.
    if (value.typeId() == QMetaType::QByteArray && type != FieldText && type != FieldYesNo &&
        type != FieldDate && type != FieldTime && type != FieldDateTime) {
        const QByteArray &bytes = *static_cast<const QByteArray *>(value.constData());
        putValueBytes(bytes.constData(), bytes.size(), record, field);
        return;
    }
    // Text, most of any database, is encoded straight into the output.
    if (type == FieldText && value.typeId() == QMetaType::QString) {
        const QString &text = *static_cast<const QString *>(value.constData());
        if (text.size() <= maxValueLength) {
            const qsizetype start = m_out.size();
            appendU16(m_out, quint32(text.size()));
            m_out.resize(start + 2 + text.size());
            if (Windows1252::encodeTo(text, m_out.data() + start + 2))
                return;
            m_out.truncate(start); // the encoder below says why
        }
    }
    QString why;
    if (!PdbValueEncoder::encode(value, type, &m_scratch, &why))
        refuse(record, field, why);
    putValueBytes(m_scratch.constData(), m_scratch.size(), record, field);
}

// A record read from a file: the values nobody set go out as they came in,
// and fields added since it was read hold no value unless one was set.
void PdbWriter::writeStoredRecord(const PdbRecord &record, int index)
{
    const PdbFieldList &fields = m_db.Fields();
    const QByteArrayView stored = record.storedBytes();
    if (!record.hasChanges()) {
        m_out.append(stored.data(), stored.size());
        for (int f = record.storedFieldCount(); f < fields.Count(); ++f)
            appendU16(m_out, nullLength);
        return;
    }
    qsizetype at = 0;
    for (int f = 0; f < fields.Count(); ++f) {
        const qsizetype next = f < record.storedFieldCount() ? nextValue(stored.data(), at) : at;
        if (record.isChanged(f))
            writeValue(record.value(f), fields.Item(f).Type, index, f);
        else if (f < record.storedFieldCount())
            m_out.append(stored.data() + at, next - at);
        else
            appendU16(m_out, nullLength);
        at = next;
    }
}

// Room for the whole file up front: growing a buffer of many megabytes
// copies it and, for a moment, holds it twice.
qsizetype PdbWriter::expectedSize() const
{
    const PdbTable &table = m_db.Table();
    const int fieldCount = m_db.Fields().Count();
    qsizetype size = headerSize + gapSize + 4 + qsizetype(fieldCount) * (3 + 255);
    for (int r = 0; r < table.RecordCount(); ++r) {
        const PdbRecord &record = table.Record(r);
        size += recordEntrySize + record.storedBytes().size() +
                qsizetype(fieldCount - record.storedFieldCount()) * 2;
        if (record.hasChanges())
            size += qsizetype(fieldCount) * 8; // a guess; the buffer grows if it is short
    }
    return size;
}

PdbWriteResult PdbWriter::write(const QString &stem)
{
    const PdbTable &table = m_db.Table();
    const int count = table.RecordCount();
    if (count > maxRecords)
        throw PdbError(ErrInvalidValue,
                       QStringLiteral("%1 records cannot be stored; a database holds at most %2")
                           .arg(count)
                           .arg(maxRecords));
    PdbWriteResult result;
    quint32 seed = 0;
    result.recordIds = assignIds(&seed);

    const quint32 now = nowSeconds();
    PdbHeader &h = result.header;
    h = m_db.header();
    h.name = headerName(stem);
    h.attributes = 0;
    h.version = 1;
    if (h.creationTime == 0)
        h.creationTime = now;
    h.modificationTime = now;
    h.modificationNumber += 1;
    h.uniqueIdSeed = seed;

    const int fieldCount = m_db.Fields().Count();
    m_out.clear();
    m_out.reserve(expectedSize());
    m_out.append(h.name);
    m_out.append(nameSize - h.name.size(), '\0');
    appendU16(m_out, h.attributes);
    appendU16(m_out, h.version);
    appendU32(m_out, h.creationTime);
    appendU32(m_out, h.modificationTime);
    appendU32(m_out, h.backupTime);
    appendU32(m_out, h.modificationNumber);
    appendU32(m_out, quint32(headerSize + count * recordEntrySize + gapSize)); // field block
    appendU32(m_out, 0);                                                       // no sort block
    m_out.append(typeTag());
    m_out.append(creatorTag());
    appendU32(m_out, h.uniqueIdSeed);
    appendU32(m_out, 0); // no further record list
    appendU16(m_out, quint32(count));
    // The list is filled in as the records are written and their offsets known.
    m_out.append(qsizetype(count) * recordEntrySize + gapSize, '\0');

    writeFieldBlock();

    for (int r = 0; r < count; ++r) {
        const qsizetype entry = headerSize + qsizetype(r) * recordEntrySize;
        qToBigEndian<quint32>(quint32(m_out.size()), m_out.data() + entry);
        // The id's top byte is the attributes byte, which stays 0.
        qToBigEndian<quint32>(result.recordIds.at(r), m_out.data() + entry + 4);
        const PdbRecord &record = table.Record(r);
        if (record.fields() == &m_db.Fields() && record.storedFieldCount() <= fieldCount)
            writeStoredRecord(record, r);
        else
            for (int f = 0; f < fieldCount; ++f)
                writeValue(record.value(f), m_db.Fields().Item(f).Type, r, f);
    }
    if (m_out.size() > qsizetype(0xFFFFFFFFLL))
        throw PdbError(ErrInvalidValue, QStringLiteral("The database is too large for one file"));
    result.bytes = std::move(m_out);
    m_out = QByteArray();
    return result;
}

} // namespace Ledgerly
