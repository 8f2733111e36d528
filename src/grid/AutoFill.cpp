#include "AutoFill.h"

#include <Qt>

namespace Ledgerly::AutoFill {

bool completesOn(int key)
{
    return key >= Qt::Key_A && key <= Qt::Key_Z;
}

std::optional<Completion> complete(const QString &typed, int rowsAbove,
                                   const std::function<QString(int row)> &valueAt)
{
    // Nothing typed would match every row; the first would overwrite the cell.
    if (typed.isEmpty())
        return std::nullopt;
    for (int row = 0; row < rowsAbove; ++row) {
        const QString value = valueAt(row);
        if (value.size() < typed.size())
            continue;
        if (QStringView(value).left(typed.size()).compare(typed, Qt::CaseInsensitive) != 0)
            continue;
        return Completion{value, int(typed.size()), int(value.size() - typed.size())};
    }
    return std::nullopt;
}

} // namespace Ledgerly::AutoFill
