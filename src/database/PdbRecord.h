#pragma once

#include <QList>
#include <QVariant>

namespace Ledgerly {

class PdbFieldList;

// One record: a value per field definition, by position (from 0).
//
// Value types by field type code: text QString, yes/no bool, date/time kinds
// QDateTime (see PdbTime), picture QByteArray (the bitmap file's bytes),
// unknown codes QByteArray (kept as stored). No value is a null QVariant.
class PdbRecord
{
public:
    PdbRecord() = default;
    explicit PdbRecord(const PdbFieldList *fields, quint32 uniqueId = 0)
        : m_fields(fields)
        , m_uniqueId(uniqueId)
    {}

    QVariant value(int field) const
    {
        return field >= 0 && field < m_values.size() ? m_values.at(field) : QVariant();
    }
    void setValue(int field, const QVariant &value);
    // By field name; an unknown name reads as null and writes nothing (returns false).
    QVariant value(const QString &fieldName) const;
    bool setValue(const QString &fieldName, const QVariant &value);

    // All values by position; the list may be shorter than the field list.
    const QList<QVariant> &values() const { return m_values; }
    void setValues(QList<QVariant> values) { m_values = std::move(values); }

    quint32 uniqueId() const { return m_uniqueId; }
    void setUniqueId(quint32 id) { m_uniqueId = id; }

private:
    const PdbFieldList *m_fields = nullptr;
    QList<QVariant> m_values;
    quint32 m_uniqueId = 0;
};

} // namespace Ledgerly
