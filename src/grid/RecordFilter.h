#pragma once

#include "FilterExpression.h"

#include <QList>
#include <QMap>

class QAbstractItemModel;

namespace Ledgerly {

// The filter row's boxes: one expression per column and one that any of the
// shown columns may satisfy. A record is shown when every box accepts it.
// A box whose text is invalid is not applied, and says why.
class RecordFilter
{
public:
    // The box of the record-number column matches any column.
    static constexpr int AnyColumn = 0;

    // The text is read as an expression for the column's kind (the
    // any-column box reads it as text).
    void setText(int column, const QString &text, ColumnKind kind);
    QString text(int column) const;
    // Why a box is not applied (its text is invalid, or its regular
    // expression took too long); empty when it is.
    QString error(int column) const;
    // Whether any box filters at all.
    bool isActive() const;
    void clear();

    // The rows (in the order given) every applicable box accepts. A box
    // with a regular expression that runs out of time is marked and left
    // out, so a pattern that backtracks badly never holds the window up.
    QList<int> apply(const QAbstractItemModel &table, const QList<int> &rows,
                     const QList<int> &anyColumns);

private:
    struct Box
    {
        QString text;
        FilterExpression expression;
        QString slow; // set when the last run gave up
    };

    bool applies(const Box &box) const;

    QMap<int, Box> m_boxes;
};

} // namespace Ledgerly
