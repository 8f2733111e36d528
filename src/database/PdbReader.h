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
    const QByteArray &m_bytes;
};

} // namespace Ledgerly
