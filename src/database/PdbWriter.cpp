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

QByteArray PdbWriter::fieldBlock() const
{
    const PdbFieldList &fields = m_db.Fields();
    if (fields.Count() > 0xFFFF)
        throw PdbError(ErrInvalidValue, QStringLiteral("A database holds at most 65535 fields"));
    QByteArray block;
    QByteArray name;
    appendU16(block, fieldBlockVersion);
    appendU16(block, quint32(fields.Count()));
    for (int f = 0; f < fields.Count(); ++f) {
        const PdbField &field = fields.Item(f);
        if (field.Type < 0 || field.Type > 0xFFFF)
            refuse(-1, f, QStringLiteral("the type code %1 cannot be stored").arg(field.Type));
        if (!Windows1252::encode(field.Name, &name))
            refuse(-1, f, QStringLiteral("the name cannot be stored as Windows-1252"));
        if (name.isEmpty() || name.size() > 255)
            refuse(-1, f, QStringLiteral("a field name must be 1 to 255 characters long"));
        appendU16(block, quint32(field.Type));
        block.append(char(name.size()));
        block.append(name);
    }
    return block;
}

void PdbWriter::putValueBytes(const char *data, qsizetype size, int record, int field)
{
    if (size > maxValueLength)
        refuse(record, field,
               QStringLiteral("the value is %1 bytes long; at most %2 bytes can be stored")
                   .arg(size)
                   .arg(maxValueLength));
    appendU16(m_encoded, quint32(size));
    m_encoded.append(data, size);
}

void PdbWriter::writeValue(const QVariant &value, int type, int record, int field)
{
    if (PdbValueEncoder::isNull(value)) {
        appendU16(m_encoded, nullLength);
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
            const qsizetype start = m_encoded.size();
            appendU16(m_encoded, quint32(text.size()));
            m_encoded.resize(start + 2 + text.size());
            if (Windows1252::encodeTo(text, m_encoded.data() + start + 2))
                return;
            m_encoded.truncate(start); // the encoder below says why
        }
    }
    QString why;
    if (!PdbValueEncoder::encode(value, type, &m_scratch, &why))
        refuse(record, field, why);
    putValueBytes(m_scratch.constData(), m_scratch.size(), record, field);
}

bool PdbWriter::copiesStored(const PdbRecord &record) const
{
    return record.fields() == &m_db.Fields() &&
           record.storedFieldCount() <= m_db.Fields().Count() && !record.hasChanges();
}

// A record with values set since it was read (or made in memory): the
// values nobody set go out as they came in, fields added since it was read
// hold no value unless one was set.
void PdbWriter::encodeRecord(const PdbRecord &record, int index)
{
    const PdbFieldList &fields = m_db.Fields();
    if (record.fields() != &fields || record.storedFieldCount() > fields.Count()) {
        for (int f = 0; f < fields.Count(); ++f)
            writeValue(record.value(f), fields.Item(f).Type, index, f);
        return;
    }
    const QByteArrayView stored = record.storedBytes();
    qsizetype at = 0;
    for (int f = 0; f < fields.Count(); ++f) {
        const qsizetype next = f < record.storedFieldCount() ? nextValue(stored.data(), at) : at;
        if (record.isChanged(f))
            writeValue(record.value(f), fields.Item(f).Type, index, f);
        else if (f < record.storedFieldCount())
            m_encoded.append(stored.data() + at, next - at);
        else
            appendU16(m_encoded, nullLength);
        at = next;
    }
}

void PdbWriter::prepare(const QString &stem)
{
    const PdbTable &table = m_db.Table();
    const int count = table.RecordCount();
    if (count > maxRecords)
        throw PdbError(ErrInvalidValue,
                       QStringLiteral("%1 records cannot be stored; a database holds at most %2")
                           .arg(count)
                           .arg(maxRecords));
    quint32 seed = 0;
    m_ids = assignIds(&seed);

    const quint32 now = nowSeconds();
    m_header = m_db.header();
    m_header.name = headerName(stem);
    m_header.attributes = 0;
    m_header.version = 1;
    if (m_header.creationTime == 0)
        m_header.creationTime = now;
    m_header.modificationTime = now;
    m_header.modificationNumber += 1;
    m_header.uniqueIdSeed = seed;

    m_block = fieldBlock();
    const int fieldCount = m_db.Fields().Count();
    m_encoded.clear();
    m_encodedEnds = QList<qsizetype>(count, -1);
    m_offsets = QList<quint32>(count, 0);
    qint64 at = headerSize + qint64(count) * recordEntrySize + gapSize + m_block.size();
    for (int r = 0; r < count; ++r) {
        const PdbRecord &record = table.Record(r);
        if (at > qint64(0xFFFFFFFFLL))
            throw PdbError(ErrInvalidValue,
                           QStringLiteral("The database is too large for one file"));
        m_offsets[r] = quint32(at);
        if (copiesStored(record)) {
            at += record.storedBytes().size() + 2 * (fieldCount - record.storedFieldCount());
            continue;
        }
        const qsizetype start = m_encoded.size();
        encodeRecord(record, r);
        m_encodedEnds[r] = m_encoded.size();
        at += m_encoded.size() - start;
    }
    if (at > qint64(0xFFFFFFFFLL))
        throw PdbError(ErrInvalidValue, QStringLiteral("The database is too large for one file"));
    m_size = at;
}

void PdbWriter::writeTo(const std::function<void(const char *, qsizetype)> &out) const
{
    const PdbTable &table = m_db.Table();
    const int count = table.RecordCount();
    QByteArray head;
    head.reserve(headerSize + qsizetype(count) * recordEntrySize + gapSize);
    head.append(m_header.name);
    head.append(nameSize - m_header.name.size(), '\0');
    appendU16(head, m_header.attributes);
    appendU16(head, m_header.version);
    appendU32(head, m_header.creationTime);
    appendU32(head, m_header.modificationTime);
    appendU32(head, m_header.backupTime);
    appendU32(head, m_header.modificationNumber);
    appendU32(head, quint32(headerSize + count * recordEntrySize + gapSize)); // field block
    appendU32(head, 0);                                                       // no sort block
    head.append(typeTag());
    head.append(creatorTag());
    appendU32(head, m_header.uniqueIdSeed);
    appendU32(head, 0); // no further record list
    appendU16(head, quint32(count));
    for (int r = 0; r < count; ++r) {
        appendU32(head, m_offsets.at(r));
        // The id's top byte is the attributes byte, which stays 0.
        appendU32(head, m_ids.at(r));
    }
    head.append(gapSize, '\0');
    out(head.constData(), head.size());
    out(m_block.constData(), m_block.size());

    // Fields added since a record was read hold no value.
    static const QByteArray nulls(64, char(0xFF));
    const int fieldCount = m_db.Fields().Count();
    qsizetype encodedStart = 0;
    for (int r = 0; r < count; ++r) {
        const qsizetype end = m_encodedEnds.at(r);
        if (end >= 0) {
            out(m_encoded.constData() + encodedStart, end - encodedStart);
            encodedStart = end;
            continue;
        }
        const PdbRecord &record = table.Record(r);
        const QByteArrayView stored = record.storedBytes();
        out(stored.data(), stored.size());
        for (qsizetype missing = 2 * qsizetype(fieldCount - record.storedFieldCount()); missing > 0;
             missing -= nulls.size())
            out(nulls.constData(), qMin(missing, nulls.size()));
    }
}

PdbWriteResult PdbWriter::write(const QString &stem)
{
    prepare(stem);
    PdbWriteResult result;
    result.bytes.reserve(qsizetype(m_size));
    writeTo([&result](const char *data, qsizetype size) { result.bytes.append(data, size); });
    result.header = m_header;
    result.recordIds = m_ids;
    return result;
}

} // namespace Ledgerly
