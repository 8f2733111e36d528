#pragma once

#include "SafeFile.h"

#include <QList>
#include <QPair>
#include <QVariant>

namespace Ledgerly {

// Writes settings in the INI form QSettings reads, checked to the last byte.
// QSettings itself finishes its file in a way that can lose the tail on a
// full disk without saying so, so the text is made here and written safely.
class IniSettingsFile
{
public:
    using Values = QList<QPair<QString, QVariant>>; // "group/key" paths, in order

    static SafeFile::Result write(const QString &path, const Values &values);
    // The file's text: one [group] per first path part ("General" for keys
    // without one), values quoted and escaped as QSettings reads them.
    static QByteArray render(const Values &values);
    // Every key and value QSettings reads from the file (empty when missing).
    static Values read(const QString &path);
};

} // namespace Ledgerly
