#pragma once

#include <QString>
#include <QStringList>

namespace Ledgerly {

// Windows profile-string rules on a reader of our own: names compared without
// regard to case, the first matching section and key win, values trimmed of
// blanks and one pair of enclosing quotes, ";" comment lines skipped, and the
// 4096-character buffer limits of the platform function. Nothing is cached:
// every call reads the file afresh. A missing file, section or key reads as
// empty.
QString ReadIniValue(const QString &section, const QString &key, const QString &file);
QStringList ListIniSections(const QString &file);
QStringList ListIniKeys(const QString &file, const QString &section);

// The same rules on bytes already in memory (the fuzz target and tests use it).
QString readIniValueFromBytes(const QByteArray &bytes, const QString &section,
                              const QString &key);
QStringList listIniSectionsFromBytes(const QByteArray &bytes);
QStringList listIniKeysFromBytes(const QByteArray &bytes, const QString &section);

} // namespace Ledgerly
