#pragma once

#include <QByteArray>
#include <QtEndian>

namespace Ledgerly::PdbLayout {

// Fixed places of the database container. Everything is big-endian.
constexpr int headerSize = 78;
constexpr int nameSize = 32;
constexpr int offAttributes = 32;
constexpr int offVersion = 34;
constexpr int offCreationTime = 36;
constexpr int offModificationTime = 40;
constexpr int offBackupTime = 44;
constexpr int offModificationNumber = 48;
constexpr int offAppInfo = 52;
constexpr int offSortInfo = 56;
constexpr int offType = 60;
constexpr int offCreator = 64;
constexpr int offUniqueIdSeed = 68;
constexpr int offNextRecordList = 72;
constexpr int offRecordCount = 76;
constexpr int recordEntrySize = 8;
constexpr int gapSize = 2; // two zero bytes between the record list and the field block
constexpr int maxRecords = 0xFFFF;
constexpr int maxUniqueId = 0xFFFFFF;
constexpr int nullLength = 0xFFFF;
constexpr int maxValueLength = 0xFFFE;
constexpr int fieldBlockVersion = 1;

inline QByteArray typeTag()
{
    return QByteArrayLiteral("DATA");
}
inline QByteArray creatorTag()
{
    return QByteArrayLiteral("SkDB");
}

// A stored value is a two-byte length (nullLength for none) and its bytes.
// These read values already checked against the record's bounds.
inline quint32 valueLength(const char *value)
{
    return qFromBigEndian<quint16>(value);
}
// Where the value after the one starting at `at` starts.
inline qsizetype nextValue(const char *data, qsizetype at)
{
    const quint32 length = valueLength(data + at);
    return at + 2 + (length == quint32(nullLength) ? 0 : length);
}

} // namespace Ledgerly::PdbLayout
