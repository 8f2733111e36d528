#pragma once

#include <QByteArray>
#include <QList>
#include <QSharedData>
#include <QVariant>

namespace Ledgerly {

class PdbFieldList;

// One record: a value per field definition, by position (from 0).
//
// Value types by field type code: text QString, yes/no bool, date/time kinds
// QDateTime (see PdbTime), picture QByteArray (the bitmap file's bytes),
// unknown codes QByteArray (kept as stored). No value is a null QVariant.
//
// A record read from a file keeps its values encoded in the file's bytes
// (shared by every record of that file) and decodes one when it is asked
// for; values set later are kept beside them. A large database costs little
// more than its file, and a save copies every value nobody changed byte for
// byte.
class PdbRecord
{
public:
    PdbRecord() = default;
    explicit PdbRecord(const PdbFieldList *fields, quint32 uniqueId = 0)
        : m_fields(fields)
        , m_uniqueId(uniqueId)
    {}
    // A record as read: bytes [begin, end) of file hold `storedFields`
    // length-prefixed values, already checked against their field types.
    PdbRecord(const PdbFieldList *fields, const QByteArray &file, qsizetype begin, qsizetype end,
              int storedFields, quint32 uniqueId);

    QVariant value(int field) const;
    void setValue(int field, const QVariant &value);
    // By field name; an unknown name reads as null and writes nothing (returns false).
    QVariant value(const QString &fieldName) const;
    bool setValue(const QString &fieldName, const QVariant &value);
    // True when the field holds no value or an empty one, without decoding it.
    bool isEmpty(int field) const;
    // isEmpty() of every field at once, in one pass over the stored bytes:
    // (*empty)[f] for f below the field count.
    void emptyFields(QList<bool> *empty) const;

    // All values by position; the list may be shorter than the field list.
    QList<QVariant> values() const;
    // Replaces every value, the stored ones included.
    void setValues(QList<QVariant> values);

    // The bytes the record was read from (empty for a record made in
    // memory), how many fields they hold, and which values were set since.
    QByteArrayView storedBytes() const;
    int storedFieldCount() const { return m_storedFields; }
    bool hasChanges() const { return m_changes.constData() != nullptr; }
    bool isChanged(int field) const
    {
        return m_changes && field >= 0 && field < m_changes->changed.size() &&
               m_changes->changed.at(field);
    }
    const PdbFieldList *fields() const { return m_fields; }

    quint32 uniqueId() const { return m_uniqueId; }
    void setUniqueId(quint32 id) { m_uniqueId = id; }

    // The stored bytes of a text field, in the code page, when its value is
    // read straight from them (it was not set since): the text value()
    // decodes, without decoding it. false for any other field.
    bool storedText(int field, QByteArrayView *bytes) const;

    // The value the stored bytes of one field stand for.
    static QVariant decode(int type, const char *data, int length);

private:
    // Where the field's length prefix starts in m_file; -1 past the stored fields.
    qsizetype storedOffset(int field) const;
    QVariant storedValue(int field) const;

    // Values set since the record was read, by field; most records have
    // none, so a record without them holds one null pointer for them.
    struct Changes : QSharedData
    {
        QList<QVariant> values;
        QList<bool> changed; // which entries of values hold one
    };

    const PdbFieldList *m_fields = nullptr;
    QByteArray m_file;
    // A database file is far below 4 GiB (the format's offsets are 32 bits).
    quint32 m_begin = 0;
    quint32 m_end = 0;
    int m_storedFields = 0;
    quint32 m_uniqueId = 0;
    QSharedDataPointer<Changes> m_changes;
};

} // namespace Ledgerly
