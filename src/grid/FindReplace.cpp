#include "FindReplace.h"

#include "BoundedRegex.h"
#include "CellTextReader.h"
#include "CellTexts.h"
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
        , m_deadline(BoundedRegex::passBudgetMs)
    {}

    // A regular expression costs more than the clock, so the clock is read
    // often enough to stop close to the limit.
    bool spent() { return m_bounded && (++m_cells & 0xf) == 0 && m_deadline.hasExpired(); }

private:
    bool m_bounded;
    QDeadlineTimer m_deadline;
    qint64 m_cells = 0;
};

bool cellMatches(CellTexts &texts, int row, int column, const TextMatcher &matcher)
{
    if (matcher.findsPlainText())
        return texts.contains(row, column, matcher.options().text, matcher.caseSensitivity());
    return matcher.matches(texts.text(row, column));
}

bool holdsNone(CellTexts &texts, int row, const Scope &scope, const TextMatcher &matcher)
{
    return matcher.findsPlainText() &&
           texts.holdsNone(row, scope.columns, matcher.options().text, matcher.caseSensitivity());
}

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
                     bool *gaveUp, qsizetype first, qsizetype count, CellTexts *texts)
{
    QList<Match> found;
    if (gaveUp)
        *gaveUp = false;
    if (matcher.isEmpty() || !matcher.isValid())
        return found;
    Budget budget(matcher);
    CellTexts own(table);
    CellTexts &cells = texts ? *texts : own;
    const qsizetype end =
        count < 0 ? scope.tableRows.size() : qMin(scope.tableRows.size(), first + count);
    for (qsizetype p = qMax<qsizetype>(0, first); p < end; ++p) {
        if (holdsNone(cells, scope.tableRows.at(p), scope, matcher))
            continue;
        for (int column : scope.columns) {
            if (budget.spent()) {
                if (gaveUp)
                    *gaveUp = true;
                return found;
            }
            if (cellMatches(cells, scope.tableRows.at(p), column, matcher))
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
    CellTexts texts(table);
    for (qsizetype step = 1; step <= cells; ++step) {
        if (budget.spent()) {
            if (gaveUp)
                *gaveUp = true;
            return std::nullopt;
        }
        const qsizetype cell = ((backwards ? start - step : start + step) % cells + cells) % cells;
        const qsizetype position = cell / columns;
        const qsizetype place = cell % columns;
        if (holdsNone(texts, scope.tableRows.at(position), scope, matcher)) {
            // On past the rest of the record's cells, the way the search goes.
            step += backwards ? place : columns - 1 - place;
            continue;
        }
        const int column = scope.columns.at(place);
        if (cellMatches(texts, scope.tableRows.at(position), column, matcher))
            return Match{position, column};
    }
    return std::nullopt;
}

std::optional<Match> nextOf(const QList<Match> &matches, const Scope &scope, const Match &from,
                            bool backwards)
{
    if (matches.isEmpty())
        return std::nullopt;
    if (from.position < 0 || from.position >= scope.tableRows.size())
        return backwards ? matches.last() : matches.first();
    // Matches are in scope order: by record, then by the place of the column.
    const qsizetype place = qMax<qsizetype>(0, scope.columns.indexOf(from.column));
    auto before = [&scope](const Match &match, std::pair<qsizetype, qsizetype> cell) {
        return std::pair{match.position, scope.columns.indexOf(match.column)} < cell;
    };
    const auto at =
        std::lower_bound(matches.cbegin(), matches.cend(), std::pair{from.position, place}, before);
    if (backwards)
        return at == matches.cbegin() ? matches.last() : *(at - 1);
    const auto after = (at != matches.cend() && at->position == from.position &&
                        scope.columns.indexOf(at->column) == place)
                           ? at + 1
                           : at;
    return after == matches.cend() ? matches.first() : *after;
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
