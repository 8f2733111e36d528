#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace Ledgerly {

class IniDocument;

// Windows profile-string rules on a reader of our own: names compared without
// regard to case, the first matching section and key win, values trimmed of
// blanks and one pair of enclosing quotes, ";" comment lines skipped, and the
// 4096-character buffer limits of the platform function. Every call sees the
// file as it is now: the parsed file is kept only while its size and
// modification time stay the same (and a file modified in the last seconds
// is compared byte by byte). A missing file, section or key reads as empty.
QString ReadIniValue(const QString &section, const QString &key, const QString &file);
QStringList ListIniSections(const QString &file);
QStringList ListIniKeys(const QString &file, const QString &section);

// A run of look-ups that belong together (the catalogue's display names)
// checks the file once: the file parsed as it is now, shared until it
// changes, and the same rules applied to it.
std::shared_ptr<const IniDocument> readIniFile(const QString &file);
QString readIniValue(const IniDocument &document, const QString &section, const QString &key);
QStringList listIniSections(const IniDocument &document);
QStringList listIniKeys(const IniDocument &document, const QString &section);
// listIniKeys(document, section).size(), without making the names.
int countIniKeys(const IniDocument &document, const QString &section);
// The same rules on the section at a position of the document, which need
// not be the first of its name (the editor shows every section).
QString readIniValueAt(const IniDocument &document, int section, const QString &key);
QStringList listIniKeysAt(const IniDocument &document, int section);
int countIniKeysAt(const IniDocument &document, int section);

// Files larger than this are not INI files a person or a program wrote for
// us; they are refused rather than read into memory.
inline constexpr qint64 IniMaxFileSize = 16 * 1024 * 1024;
// Why an existing file cannot be read (a folder, a FIFO or device, too large,
// no permission); empty when it can be, or when it does not exist.
QString iniFileProblem(const QString &file);

// The same rules on bytes already in memory (the fuzz target and tests use it).
QString readIniValueFromBytes(const QByteArray &bytes, const QString &section, const QString &key);
QStringList listIniSectionsFromBytes(const QByteArray &bytes);
QStringList listIniKeysFromBytes(const QByteArray &bytes, const QString &section);

// The size of the buffers the platform fills: a value keeps at most
// IniBufferSize - 1 characters; a name list keeps the names, each followed by
// a NUL, that fit before the final two NULs of the buffer.
inline constexpr int IniBufferSize = 4096;
// Passes names through that buffer and splits it again: names come out in
// order, an empty name ends the list, and names beyond the buffer are lost.
// A name the buffer would cut short is left out rather than returned
// truncated: a stem that names no section must not become a database.
QStringList limitIniNameList(const QStringList &names);

} // namespace Ledgerly
