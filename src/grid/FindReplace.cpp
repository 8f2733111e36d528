#include "FindReplace.h"

#include "CellTextReader.h"
#include "GridModel.h"
#include "GridValue.h"
#include "TableEditor.h"

#include <QDeadlineTimer>

namespace Ledgerly::FindReplace {

namespace {

bool holdsText(ColumnKind kind)
{
    return kind != ColumnKind::Picture && kind != ColumnKind::Other;
}

// A search with a regular expression is given a time limit; plain text
// always finishes quickly.
class Budget
{
public:
    explicit Budget(const TextMatcher &matcher)
        : m_bounded(matcher.options().regex)
        , m_deadline(regexBudgetMs)
    {}

    bool spent() { return m_bounded && (++m_cells & 0xff) == 0 && m_deadline.hasExpired(); }

private:
    bool m_bounded;
    QDeadlineTimer m_deadline;
    qint64 m_cells = 0;
};

} // namespace

Scope shownScope(const QAbstractItemModel &view)
{
    Scope scope;
    for (int c = 1; c < view.columnCount(); ++c)
        if (holdsText(GridRoles::kindOf(view, c)) &&
            !view.headerData(c, Qt::Horizontal, GridRoles::HiddenRole).toBool())
            scope.columns.append(c);
    const int rows = view.rowCount();
    scope.viewRows.reserve(rows);
    scope.tableRows.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        const QModelIndex index = view.index(r, 0);
        if (index.data(GridRoles::RowKindRole).toInt() != int(GridRoles::RowKind::Record))
            continue;
        const QVariant row = index.data(GridRoles::SourceRowRole);
        if (!row.isValid())
            continue;
        scope.viewRows.append(r);
        scope.tableRows.append(row.toInt());
    }
    return scope;
}

Scope tableScope(const GridModel &table, const QList<int> &columns)
{
    Scope scope;
    if (columns.isEmpty()) {
        for (int c = 1; c < table.columnCount(); ++c)
            if (holdsText(table.column(c).kind) && !table.isColumnHidden(c))
                scope.columns.append(c);
    } else {
        for (int c : columns)
            if (c >= 1 && c < table.columnCount() && holdsText(table.column(c).kind))
                scope.columns.append(c);
    }
    for (int r = 0; r < table.rowCount(); ++r) {
        scope.viewRows.append(r);
        scope.tableRows.append(r);
    }
    return scope;
}

QString cellText(const GridModel &table, int row, int column)
{
    return GridValue::displayText(table.cell(row, column));
}

QList<Match> findAll(const GridModel &table, const Scope &scope, const TextMatcher &matcher,
                     bool *gaveUp, qsizetype first, qsizetype count)
{
    QList<Match> found;
    if (gaveUp)
        *gaveUp = false;
    if (matcher.isEmpty() || !matcher.isValid())
        return found;
    Budget budget(matcher);
    GridValue::ShownText shown;
    const qsizetype end =
        count < 0 ? scope.tableRows.size() : qMin(scope.tableRows.size(), first + count);
    for (qsizetype p = qMax<qsizetype>(0, first); p < end; ++p) {
        for (int column : scope.columns) {
            if (budget.spent()) {
                if (gaveUp)
                    *gaveUp = true;
                return found;
            }
            if (matcher.matches(shown(table.cell(scope.tableRows.at(p), column))))
                found.append({p, column});
        }
    }
    return found;
}

std::optional<Match> findNext(const GridModel &table, const Scope &scope,
                              const TextMatcher &matcher, const Match &from, bool backwards,
                              bool *gaveUp)
{
    if (gaveUp)
        *gaveUp = false;
    const qsizetype columns = scope.columns.size();
    const qsizetype cells = scope.tableRows.size() * columns;
    if (cells == 0 || matcher.isEmpty() || !matcher.isValid())
        return std::nullopt;
    // Cells are numbered row by row; the search starts next to the one given.
    qsizetype start = backwards ? cells : -1;
    if (from.position >= 0 && from.position < scope.tableRows.size()) {
        const qsizetype column = qMax<qsizetype>(0, scope.columns.indexOf(from.column));
        start = from.position * columns + column;
    }
    Budget budget(matcher);
    GridValue::ShownText shown;
    for (qsizetype step = 1; step <= cells; ++step) {
        if (budget.spent()) {
            if (gaveUp)
                *gaveUp = true;
            return std::nullopt;
        }
        const qsizetype cell = ((backwards ? start - step : start + step) % cells + cells) % cells;
        const qsizetype position = cell / columns;
        const int column = scope.columns.at(cell % columns);
        if (matcher.matches(shown(table.cell(scope.tableRows.at(position), column))))
            return Match{position, column};
    }
    return std::nullopt;
}

ReplaceResult replace(TableEditor &editor, const Scope &scope, const QList<Match> &cells,
                      const TextMatcher &matcher, const QString &with, const QString &undoText)
{
    ReplaceResult result;
    const GridModel &table = editor.model();
    QList<GridCell> changes;
    changes.reserve(cells.size());
    GridValue::ShownText shown;
    for (const Match &match : cells) {
        if (match.position < 0 || match.position >= scope.tableRows.size() || match.column < 1 ||
            match.column >= table.columnCount())
            continue;
        const int row = scope.tableRows.at(match.position);
        const ColumnKind kind = table.column(match.column).kind;
        if (!holdsText(kind))
            continue;
        const QString before = shown(table.cell(row, match.column));
        const QString after = matcher.replaced(before, with);
        if (after == before)
            continue;
        QVariant value;
        if (!CellTextReader::read(kind, after, &value)) {
            ++result.skipped;
            continue;
        }
        // "True" made "TRUE" is still true: no change of value, no change.
        if (value == table.cell(row, match.column))
            continue;
        changes.append({row, match.column, value});
    }
    result.changed = int(changes.size());
    editor.setCells(std::move(changes), undoText);
    return result;
}

} // namespace Ledgerly::FindReplace
