#pragma once

#include "TextMatcher.h"

#include <QList>

#include <optional>

class QAbstractItemModel;

namespace Ledgerly {

class CellTexts;
class GridModel;
class TableEditor;

// Finding and replacing text in the cells of records, as they are shown:
// a cell's text is what the table shows for it (dates in the regional
// format, yes/no as True or False). Pictures are never searched or touched.
namespace FindReplace {

// Where a search goes: records in the order shown, and columns.
struct Scope
{
    QList<int> viewRows;  // the rows of the view the records are shown in
    QList<int> tableRows; // the same records as rows of the table
    QList<int> columns;   // table columns, in the order searched
};

// One cell found: a record of the scope (by its place in it) and a column.
struct Match
{
    qsizetype position = -1;
    int column = -1;

    bool operator==(const Match &) const = default;
};

struct ReplaceResult
{
    int changed = 0;
    // Cells whose replaced text does not read in the column's kind (a date
    // that is no date); they are left as they were.
    int skipped = 0;
};

// The records a view shows (group rows and the new-record row left out),
// and its shown columns that hold text.
Scope shownScope(const QAbstractItemModel &view);
// Every record in stored order; the given columns, or every searchable
// shown column when none are given.
Scope tableScope(const GridModel &table, const QList<int> &columns = {});

QString cellText(const GridModel &table, int row, int column);

// Every match, in scope order, in the records from `first` on (all when
// `count` is -1, else at most that many records). *gaveUp tells that a
// regular expression ran out of time and the list is not complete. A search
// in parts passes the same `texts` to each part, so the table's kept text
// is read once.
QList<Match> findAll(const GridModel &table, const Scope &scope, const TextMatcher &matcher,
                     bool *gaveUp = nullptr, qsizetype first = 0, qsizetype count = -1,
                     CellTexts *texts = nullptr);
// The next match after (or before) a cell, wrapping round; from a match
// with position -1 the search starts at the top (or the bottom).
std::optional<Match> findNext(const GridModel &table, const Scope &scope,
                              const TextMatcher &matcher, const Match &from, bool backwards,
                              bool *gaveUp = nullptr);
// The same from a list of every match in scope order (a finished count):
// no cell is read.
std::optional<Match> nextOf(const QList<Match> &matches, const Scope &scope, const Match &from,
                            bool backwards);

// Replaces the matches' text in the given cells as one undoable step.
ReplaceResult replace(TableEditor &editor, const Scope &scope, const QList<Match> &cells,
                      const TextMatcher &matcher, const QString &with, const QString &undoText);

} // namespace FindReplace

} // namespace Ledgerly
