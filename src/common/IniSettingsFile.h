#pragma once

#include "SafeFile.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QVariant>

#include <optional>

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
    // The same as text by key, for a file whose bytes the caller has read
    // already. A file in the form render() writes is read from those bytes,
    // many times faster than QSettings over a large file; anything else (a
    // file edited by hand) is left to QSettings, and a value it reads as a
    // list (a comma typed by hand) is joined again with ", ". False when
    // QSettings finds the file damaged.
    using Texts = QHash<QString, QString>;
    static bool readTexts(const QString &path, const QByteArray &bytes, Texts *texts);
    // The values of bytes in exactly the form render() writes, as QSettings
    // would read them; nothing for any other bytes.
    static std::optional<Texts> parseRendered(const QByteArray &bytes);
};

} // namespace Ledgerly
