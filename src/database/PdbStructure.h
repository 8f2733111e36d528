#pragma once

#include "PdbDatabase.h"

#include <QList>

namespace Ledgerly {

// The checks of a database file's structure, on whatever part of the file a
// reader holds: the reader of a whole file and the one that reads a file a
// block at a time apply the very same rules. Each throws
// PdbError(ErrDamaged) saying what is wrong.
namespace PdbStructure {

// The header (headerSize bytes) of a file of fileSize bytes. Returns the
// record count; *fieldBlock is where the field block starts.
int readHeader(const uchar *data, qsizetype fileSize, PdbHeader &header, qsizetype *fieldBlock);

// The record list (count entries at list): offsets that climb from the field
// block to the end of the file, followed by fileSize, so that record i runs
// from offsets[i] to offsets[i + 1]; ids[i] is record i's unique ID.
void readRecordList(const uchar *list, int count, qsizetype fieldBlock, qsizetype fileSize,
                    QList<qsizetype> &offsets, QList<quint32> &ids);

// The field definitions in the size bytes of the field block.
void readFieldBlock(const uchar *block, qsizetype size, PdbFieldList &fields);

// Checks the values of record `index` (from 0; size bytes at data) against
// the field types; returns how many fields it stores.
int checkRecord(const PdbFieldList &fields, int index, const uchar *data, qsizetype size);

} // namespace PdbStructure

} // namespace Ledgerly
