#pragma once

#include <QString>
#include <QStringList>

namespace Ledgerly {

class IniText;

// Changes to the sections and keys of an INI file, each touching only the
// lines it must. Sections and keys are addressed by their positions in the
// file as the reader sees it (IniText::document()). Each returns why it was
// refused (the text is then unchanged), or an empty string.
namespace IniEdit {

QString setValue(IniText &text, int section, int key, const QString &value);
QString renameKey(IniText &text, int section, int key, const QString &name);
// Appends the key after the section's last key.
QString addKey(IniText &text, int section, const QString &name, const QString &value);
QString removeKey(IniText &text, int section, int key);

// Appends the section at the end of the file, after a blank line; *section
// is then its position.
QString addSection(IniText &text, const QString &name, const QStringList &lines,
                   int *section = nullptr);
QString renameSection(IniText &text, int section, const QString &name);
// Removes the header and every line up to the section's last key; comments
// after that belong to what follows.
QString removeSection(IniText &text, int section);

// The line after the section's last key (after its header when it has none).
int endOfSection(const IniText &text, int section);
bool isBlankLine(const IniText &text, int line);

} // namespace IniEdit

} // namespace Ledgerly
