#pragma once

#include "PdbDatabase.h"

#include <QByteArray>
#include <QList>

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
class PdbWriter
{
public:
    explicit PdbWriter(const PdbDatabase &db);

    // Throws PdbError(ErrInvalidValue) naming the record (from 1) and field.
    PdbWriteResult write(const QString &stem);

    // The name stored in the header for a file stem: Windows-1252, at most
    // 31 bytes, characters the code page lacks replaced by '?'.
    static QByteArray headerName(const QString &stem);

private:
    QList<quint32> assignIds(quint32 *seed) const;
    void writeFieldBlock();
    qsizetype expectedSize() const;
    void writeStoredRecord(const PdbRecord &record, int index);
    void writeValue(const QVariant &value, int type, int record, int field);
    void putValueBytes(const char *data, qsizetype size, int record, int field);
    [[noreturn]] void refuse(int record, int field, const QString &why) const;

    const PdbDatabase &m_db;
    QByteArray m_out;
    QByteArray m_scratch;
};

} // namespace Ledgerly
