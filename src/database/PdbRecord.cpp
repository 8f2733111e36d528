#include "PdbRecord.h"

#include "FieldType.h"
#include "PdbFieldList.h"
#include "PdbLayout.h"
#include "PdbTime.h"
#include "common/Windows1252.h"

namespace Ledgerly {

PdbRecord::PdbRecord(const PdbFieldList *fields, const QByteArray &file, qsizetype begin,
                     qsizetype end, int storedFields, quint32 uniqueId)
    : m_fields(fields)
    , m_file(file)
    , m_begin(quint32(begin))
    , m_end(quint32(end))
    , m_storedFields(storedFields)
    , m_uniqueId(uniqueId)
{}

QVariant PdbRecord::decode(int type, const char *data, int length)
{
    switch (type) {
    case FieldText:
        return Windows1252::decode(QByteArray::fromRawData(data, length));
    case FieldYesNo:
        return length == 1 && data[0] != 0;
    case FieldDate:
    case FieldTime:
    case FieldDateTime:
        return length == 4 ? QVariant(PdbTime::fromSeconds(qFromBigEndian<quint32>(data)))
                           : QVariant();
    default:
        // Pictures and unknown kinds are kept byte for byte.
        return QByteArray(data, length);
    }
}

qsizetype PdbRecord::storedOffset(int field) const
{
    if (field < 0 || field >= m_storedFields)
        return -1;
    const char *data = m_file.constData();
    qsizetype at = m_begin;
    for (int f = 0; f < field; ++f)
        at = PdbLayout::nextValue(data, at);
    return at;
}

QVariant PdbRecord::storedValue(int field) const
{
    const qsizetype at = storedOffset(field);
    if (at < 0 || !m_fields || field >= m_fields->Count())
        return {};
    const quint32 length = PdbLayout::valueLength(m_file.constData() + at);
    if (length == PdbLayout::nullLength)
        return {};
    return decode(m_fields->Item(field).Type, m_file.constData() + at + 2, int(length));
}

bool PdbRecord::storedText(int field, QByteArrayView *bytes) const
{
    if (isChanged(field) || !m_fields || field < 0 || field >= m_fields->Count() ||
        m_fields->Item(field).Type != FieldText)
        return false;
    *bytes = {};
    const qsizetype at = storedOffset(field);
    if (at < 0)
        return true;
    const quint32 length = PdbLayout::valueLength(m_file.constData() + at);
    if (length != PdbLayout::nullLength)
        *bytes = QByteArrayView(m_file.constData() + at + 2, qsizetype(length));
    return true;
}

QVariant PdbRecord::value(int field) const
{
    return isChanged(field) ? m_changes->values.at(field) : storedValue(field);
}

bool PdbRecord::isEmpty(int field) const
{
    if (isChanged(field)) {
        const QVariant &v = m_changes->values.at(field);
        switch (v.typeId()) {
        case QMetaType::UnknownType:
            return true;
        case QMetaType::QString:
            return v.toString().isEmpty();
        case QMetaType::QByteArray:
            return v.toByteArray().isEmpty();
        default:
            return false;
        }
    }
    const qsizetype at = storedOffset(field);
    if (at < 0)
        return true;
    const quint32 length = PdbLayout::valueLength(m_file.constData() + at);
    return length == 0 || length == PdbLayout::nullLength;
}

void PdbRecord::emptyFields(QList<bool> *empty) const
{
    const int count = m_fields ? m_fields->Count() : 0;
    empty->resize(count);
    const char *data = m_file.constData();
    qsizetype at = m_begin;
    for (int f = 0; f < count; ++f) {
        if (isChanged(f)) {
            (*empty)[f] = isEmpty(f);
        } else if (f >= m_storedFields) {
            (*empty)[f] = true;
        } else {
            const quint32 length = PdbLayout::valueLength(data + at);
            (*empty)[f] = length == 0 || length == PdbLayout::nullLength;
        }
        if (f < m_storedFields)
            at = PdbLayout::nextValue(data, at);
    }
}

void PdbRecord::setValue(int field, const QVariant &value)
{
    if (field < 0)
        return;
    const qsizetype set = m_changes ? m_changes->values.size() : 0;
    // Past the stored fields and the values set, a null is what is there already.
    if (field >= set && field >= m_storedFields && !value.isValid())
        return;
    if (!m_changes)
        m_changes = new Changes;
    if (field >= set) {
        // Room for every field at once: records are mostly filled field by field.
        const qsizetype size =
            qMax(qsizetype(field) + 1, qsizetype(m_fields ? m_fields->Count() : 0));
        m_changes->values.resize(size);
        m_changes->changed.resize(size, false);
    }
    m_changes->values[field] = value;
    m_changes->changed[field] = true;
}

QList<QVariant> PdbRecord::values() const
{
    const int count = qMax(m_storedFields, m_changes ? int(m_changes->values.size()) : 0);
    QList<QVariant> values;
    values.reserve(count);
    // The stored values in one pass, rather than a walk from the start per field.
    const char *data = m_file.constData();
    qsizetype at = m_begin;
    for (int f = 0; f < count; ++f) {
        if (f >= m_storedFields || !m_fields || f >= m_fields->Count()) {
            values.append(isChanged(f) ? m_changes->values.at(f) : QVariant());
            continue;
        }
        const quint32 length = PdbLayout::valueLength(data + at);
        const qsizetype valueAt = at + 2;
        at = PdbLayout::nextValue(data, at);
        if (isChanged(f))
            values.append(m_changes->values.at(f));
        else if (length == PdbLayout::nullLength)
            values.append(QVariant());
        else
            values.append(decode(m_fields->Item(f).Type, data + valueAt, int(length)));
    }
    return values;
}

void PdbRecord::setValues(QList<QVariant> values)
{
    m_file = QByteArray();
    m_begin = m_end = 0;
    m_storedFields = 0;
    m_changes.reset();
    if (values.isEmpty())
        return;
    m_changes = new Changes;
    m_changes->changed = QList<bool>(values.size(), true);
    m_changes->values = std::move(values);
}

QByteArrayView PdbRecord::storedBytes() const
{
    return QByteArrayView(m_file.constData() + m_begin, m_end - m_begin);
}

QVariant PdbRecord::value(const QString &fieldName) const
{
    if (!m_fields)
        return {};
    return value(m_fields->indexOf(fieldName));
}

bool PdbRecord::setValue(const QString &fieldName, const QVariant &value)
{
    const int index = m_fields ? m_fields->indexOf(fieldName) : -1;
    if (index < 0)
        return false;
    setValue(index, value);
    return true;
}

} // namespace Ledgerly
