#pragma once

#include <QStringList>

namespace Ledgerly {

// Makes folders and remembers which of them are new, so that a step that
// fails afterwards can take them away again and leave the disk as it was.
class CreatedFolders
{
public:
    // Makes path and every missing folder above it. False when one cannot be
    // made (undo() then takes away those that were).
    bool make(const QString &path);
    // Removes the folders make() created, deepest first, each only while it
    // is empty: whatever something else put there meanwhile stays.
    void undo();

private:
    QStringList m_made; // outermost first
};

} // namespace Ledgerly
