#include "PdbReader.h"

#include "PdbLayout.h"
#include "PdbStructure.h"

#include <QList>

namespace Ledgerly {

PdbReader::PdbReader(const QByteArray &bytes)
    : m_bytes(bytes)
{}

std::unique_ptr<PdbDatabase> PdbReader::read()
{
    const auto *data = reinterpret_cast<const uchar *>(m_bytes.constData());
    const qsizetype size = m_bytes.size();
    auto db = std::make_unique<PdbDatabase>();
    qsizetype fieldBlock = 0;
    const int count = PdbStructure::readHeader(data, size, db->header(), &fieldBlock);
    QList<qsizetype> offsets;
    QList<quint32> ids;
    PdbStructure::readRecordList(data + PdbLayout::headerSize, count, fieldBlock, size, offsets,
                                 ids);
    PdbTable &table = db->Table();
    PdbStructure::readFieldBlock(data + fieldBlock, offsets.at(0) - fieldBlock, table.FieldDefs());

    // Values stay encoded in the file's bytes until they are asked for.
    const PdbFieldList &fields = table.FieldDefs();
    table.reserveRecords(count);
    for (int i = 0; i < count; ++i) {
        const qsizetype begin = offsets.at(i);
        const qsizetype end = offsets.at(i + 1);
        const int stored = PdbStructure::checkRecord(fields, i, data + begin, end - begin);
        table.appendRecord(PdbRecord(&fields, m_bytes, begin, end, stored, ids.at(i)));
    }
    return db;
}

} // namespace Ledgerly
