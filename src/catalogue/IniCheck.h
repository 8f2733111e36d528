#pragma once

#include <QList>
#include <QString>

namespace Ledgerly {

class IniText;

// Something in an INI file the program reads other than it looks: the line
// (from 0) it stands on and what is wrong, in words for the person who
// edits the file.
struct IniProblem
{
    int line = 0;
    QString text;
    bool operator==(const IniProblem &other) const = default;
};

// What any INI file can get wrong for the reader: keys before the first
// section, sections and keys that repeat (case ignored), names and values
// past the reader's buffers. Sorted by line.
QList<IniProblem> checkIniFile(const IniText &text);

// Sorts problems by line, keeping the order of those on one line.
void sortProblems(QList<IniProblem> &problems);

} // namespace Ledgerly
