#pragma once

#include "PdbDatabase.h"

#include <QByteArray>
#include <QList>

#include <functional>

namespace Ledgerly {

// What a write produces: the file bytes, and the header and record IDs the
// database takes on once those bytes are safely on disk.
struct PdbWriteResult
{
    QByteArray bytes;
    PdbHeader header;
    QList<quint32> recordIds;
};

// Encodes a database as file bytes. Every value is checked before anything
// leaves memory, so a refused value means nothing was written.
//
// prepare() encodes what is not stored bytes already (values set since the
// load) and works out where every record goes; writeTo() then hands the file
// out front to back, copying the stored records as they are. A save so
// streams a database to its file without ever holding the file's bytes.
class PdbWriter
{
public:
    explicit PdbWriter(const PdbDatabase &db);

    // Throws PdbError(ErrInvalidValue) naming the record (from 1) and field.
    void prepare(const QString &stem);
    const PdbHeader &header() const { return m_header; }
    const QList<quint32> &recordIds() const { return m_ids; }
    qint64 size() const { return m_size; }
    // The file's bytes after prepare(), a piece at a time.
    void writeTo(const std::function<void(const char *, qsizetype)> &out) const;

    // prepare() and writeTo() into memory.
    PdbWriteResult write(const QString &stem);

    // The name stored in the header for a file stem: Windows-1252, at most
    // 31 bytes, characters the code page lacks replaced by '?'.
    static QByteArray headerName(const QString &stem);

private:
    QList<quint32> assignIds(quint32 *seed) const;
    QByteArray fieldBlock() const;
    // Whether a record goes out as its stored bytes (plus nulls for fields
    // added since it was read).
    bool copiesStored(const PdbRecord &record) const;
    void encodeRecord(const PdbRecord &record, int index);
    void writeValue(const QVariant &value, int type, int record, int field);
    void putValueBytes(const char *data, qsizetype size, int record, int field);
    [[noreturn]] void refuse(int record, int field, const QString &why) const;

    const PdbDatabase &m_db;
    PdbHeader m_header;
    QList<quint32> m_ids;
    QByteArray m_block;             // the field block
    QByteArray m_encoded;           // records that are not copied, one after another
    QList<qsizetype> m_encodedEnds; // per record: end in m_encoded, or -1 for a copied one
    QList<quint32> m_offsets;       // per record: where it starts in the file
    qint64 m_size = 0;
    QByteArray m_scratch;
};

} // namespace Ledgerly
