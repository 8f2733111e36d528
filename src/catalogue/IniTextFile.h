#pragma once

#include "IniText.h"
#include "common/SafeFile.h"

namespace Ledgerly {

// An INI file on disk as an IniText: read whole, never past the reader's
// size limit, and written back atomically and checked to the last byte.
namespace IniTextFile {

enum class ReadResult { Read, Missing, Refused };
// Missing: no file there (the text is an empty new file). Refused: the file
// cannot be read, is larger than the reader takes (refused before reading),
// or could not be written back unchanged; *problem names the file and says
// why.
ReadResult read(const QString &path, IniText *text, QString *problem);
// Replaces the file; on failure the old file is untouched.
SafeFile::Result write(const QString &path, const IniText &text);

} // namespace IniTextFile

} // namespace Ledgerly
