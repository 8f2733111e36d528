#pragma once

#include "SafeFile.h"

#include <QList>
#include <QPair>
#include <QVariant>

namespace Ledgerly {

// Writes settings in the INI form QSettings reads, checked to the last byte.
// QSettings itself finishes its file in a way that can lose the tail on a
// full disk without saying so, so it only renders the text here, into a
// scratch file whose content is checked before it replaces the real file.
class IniSettingsFile
{
public:
    using Values = QList<QPair<QString, QVariant>>; // "group/key" paths, in order

    static SafeFile::Result write(const QString &path, const Values &values);
    // Every key and value QSettings reads from the file (empty when missing).
    static Values read(const QString &path);
};

} // namespace Ledgerly
