#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace Ledgerly {

// Completing a cell's text from the cells above it while it is typed.
namespace AutoFill {

struct Completion
{
    QString text;        // the stored value that matched, unchanged
    int selectionStart;  // the typed part stays, the rest is selected
    int selectionLength; // so that the next key typed replaces it
};

// Is key (a Qt::Key code) one whose release completes? Only the letters A to Z,
// whatever the shift state.
bool completesOn(int key);

// Searches the rows 0 .. rowsAbove - 1 from the top for the first value whose
// start equals typed (case ignored). valueAt(row) gives a row's text.
std::optional<Completion> complete(const QString &typed, int rowsAbove,
                                   const std::function<QString(int row)> &valueAt);

} // namespace AutoFill

} // namespace Ledgerly
