#pragma once

#include "PdbTable.h"

#include <QDateTime>
#include <QString>

namespace Ledgerly {

// Header facts kept across a rewrite so that a saved file stays the same
// database to HotSync (creation time, backup time, record IDs).
struct PdbHeader
{
    QByteArray name; // as stored, without the NUL padding
    quint16 attributes = 0;
    quint16 version = 1;
    quint32 creationTime = 0; // seconds since 1904, local wall clock
    quint32 modificationTime = 0;
    quint32 backupTime = 0;
    quint32 modificationNumber = 0;
    quint32 uniqueIdSeed = 0;
};

// An open database: the object model handed out by RecordServer.
class PdbDatabase
{
public:
    PdbDatabase() = default;

    PdbTable &Table() { return m_table; }
    const PdbTable &Table() const { return m_table; }
    // The same definitions as Table().FieldDefs().
    PdbFieldList &Fields() { return m_table.FieldDefs(); }
    const PdbFieldList &Fields() const { return m_table.FieldDefs(); }

    PdbHeader &header() { return m_header; }
    const PdbHeader &header() const { return m_header; }

    // Writes the whole database to path: a temporary file beside it, flushed,
    // then renamed over it. Throws PdbError; on failure the old file is untouched.
    void SaveAs(const QString &path);

    // Encodes the database as file bytes (what SaveAs writes). Throws
    // PdbError(ErrInvalidValue) naming record and field for a value the format
    // cannot hold. stem names the database inside the file.
    QByteArray toBytes(const QString &stem) const;
    // Decodes file bytes; throws PdbError(ErrDamaged) for anything malformed.
    static std::unique_ptr<PdbDatabase> fromBytes(const QByteArray &bytes);

private:
    PdbHeader m_header;
    PdbTable m_table;
};

} // namespace Ledgerly
