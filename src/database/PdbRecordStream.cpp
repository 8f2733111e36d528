#include "PdbRecordStream.h"

#include "PdbError.h"
#include "PdbLayout.h"
#include "PdbStructure.h"

#include <QIODevice>

#include <cstring>

namespace Ledgerly {

namespace {
// Bytes read at a time: large enough that a read costs nothing per record,
// small beside any database worth streaming.
constexpr qsizetype kBlock = 1024 * 1024;
} // namespace

PdbRecordStream::PdbRecordStream(QIODevice &device, qint64 size)
    : m_device(device)
    , m_size(qsizetype(size))
{}

PdbRecordStream::PdbRecordStream(std::unique_ptr<QIODevice> device, qint64 size)
    : m_owned(std::move(device))
    , m_device(*m_owned)
    , m_size(qsizetype(size))
{}

PdbRecordStream::~PdbRecordStream() = default;

const uchar *PdbRecordStream::bytes(qsizetype begin, qsizetype end)
{
    const qsizetype blockEnd = m_blockStart + m_block.size();
    if (begin < m_blockStart || begin > blockEnd) {
        // Behind the block (a second pass) or ahead of it: start afresh there.
        if (!m_device.seek(begin))
            throw PdbError(ErrDamaged, QStringLiteral("the file cannot be read at byte %1: %2")
                                           .arg(begin)
                                           .arg(m_device.errorString()));
        m_block.clear();
        m_blockStart = begin;
    } else if (end > blockEnd) {
        // The bytes before begin are done with.
        m_block.remove(0, begin - m_blockStart);
        m_blockStart = begin;
    }
    while (m_blockStart + m_block.size() < end) {
        const qsizetype have = m_block.size();
        const qsizetype want = qMax(end - m_blockStart - have, kBlock);
        m_block.resize(have + want);
        const qint64 got = m_device.read(m_block.data() + have, want);
        m_block.resize(have + qMax<qint64>(got, 0));
        if (got <= 0)
            throw PdbError(ErrDamaged,
                           QStringLiteral("the file ends at byte %1, before its %2 bytes")
                               .arg(m_blockStart + m_block.size())
                               .arg(m_size));
    }
    return reinterpret_cast<const uchar *>(m_block.constData()) + (begin - m_blockStart);
}

void PdbRecordStream::readHead()
{
    m_fields.clear();
    qsizetype fieldBlock = 0;
    const int count = PdbStructure::readHeader(
        m_size < PdbLayout::headerSize ? nullptr : bytes(0, PdbLayout::headerSize), m_size,
        m_header, &fieldBlock);
    const qsizetype listEnd = PdbLayout::headerSize + qsizetype(count) * PdbLayout::recordEntrySize;
    PdbStructure::readRecordList(bytes(PdbLayout::headerSize, listEnd), count, fieldBlock, m_size,
                                 m_offsets, m_ids);
    const qsizetype blockEnd = m_offsets.at(0);
    PdbStructure::readFieldBlock(bytes(fieldBlock, blockEnd), blockEnd - fieldBlock, m_fields);
    m_next = 0;
}

bool PdbRecordStream::next(Record *record)
{
    if (m_next >= m_ids.size())
        return false;
    const qsizetype begin = m_offsets.at(m_next);
    const qsizetype end = m_offsets.at(m_next + 1);
    const uchar *data = bytes(begin, end);
    record->storedFields = PdbStructure::checkRecord(m_fields, m_next, data, end - begin);
    record->bytes = QByteArrayView(reinterpret_cast<const char *>(data), end - begin);
    record->uniqueId = m_ids.at(m_next);
    ++m_next;
    return true;
}

void PdbRecordStream::checkAll()
{
    Record record;
    while (next(&record)) {
    }
    rewind();
}

} // namespace Ledgerly
