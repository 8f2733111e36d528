#pragma once

#include "PdbDatabase.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <memory>

class QIODevice;

namespace Ledgerly {

// Reads a database file front to back a block at a time, for the commands
// that only look at its records (dump, export): the header and the field
// definitions, then each record's stored bytes in file order, checked by the
// rules the whole-file reader applies. Memory stays about one block, whatever
// the file's size. Throws PdbError(ErrDamaged) for anything malformed.
class PdbRecordStream
{
public:
    struct Record
    {
        QByteArrayView bytes; // valid until the next record is read
        int storedFields = 0;
        quint32 uniqueId = 0;
    };

    // device is open for reading and holds size bytes; the stream owns it
    // when given ownership.
    PdbRecordStream(QIODevice &device, qint64 size);
    PdbRecordStream(std::unique_ptr<QIODevice> device, qint64 size);
    ~PdbRecordStream();
    PdbRecordStream(const PdbRecordStream &) = delete;
    PdbRecordStream &operator=(const PdbRecordStream &) = delete;

    // The header, the record list and the field block.
    void readHead();
    const PdbHeader &header() const { return m_header; }
    const PdbFieldList &fields() const { return m_fields; }
    int recordCount() const { return int(m_ids.size()); }

    // The next record; false after the last.
    bool next(Record *record);
    // Back before the first record.
    void rewind() { m_next = 0; }
    // Reads every record once, then rewinds: a damaged record is found
    // before anything is made of the ones before it.
    void checkAll();

private:
    // Makes bytes [begin, end) of the file available; where they start.
    const uchar *bytes(qsizetype begin, qsizetype end);

    std::unique_ptr<QIODevice> m_owned;
    QIODevice &m_device;
    qsizetype m_size;
    QByteArray m_block;
    qsizetype m_blockStart = 0; // file offset of m_block's first byte
    PdbHeader m_header;
    PdbFieldList m_fields;
    QList<qsizetype> m_offsets;
    QList<quint32> m_ids;
    int m_next = 0;
};

} // namespace Ledgerly
