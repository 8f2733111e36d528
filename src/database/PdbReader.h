#pragma once

#include "PdbDatabase.h"

#include <QByteArray>

#include <memory>

namespace Ledgerly {

// Decodes the bytes of a database file in one pass. Every read is checked
// against the end of the data, and nothing is reserved beyond what the data's
// size can hold, so hostile files cost no more memory than honest ones.
class PdbReader
{
public:
    explicit PdbReader(const QByteArray &bytes);

    // Throws PdbError(ErrDamaged) saying what is wrong.
    std::unique_ptr<PdbDatabase> read();

private:
    quint16 u16(qsizetype at) const;
    quint32 u32(qsizetype at) const;
    void readHeader(PdbDatabase &db);
    void readFieldBlock(PdbDatabase &db, qsizetype begin, qsizetype end);
    // Checks one record's values against their field types; returns how
    // many fields it stores. Values stay encoded until they are asked for.
    int checkRecord(const PdbFieldList &fields, int index, qsizetype begin, qsizetype end) const;
    [[noreturn]] static void damaged(const QString &why);

    const QByteArray &m_bytes;
    const uchar *m_data;
    qsizetype m_size;
    int m_recordCount = 0;
};

} // namespace Ledgerly
