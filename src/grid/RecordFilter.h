#pragma once

#include "CellTexts.h"
#include "FilterExpression.h"

#include <QDeadlineTimer>
#include <QList>
#include <QMap>

#include <memory>
#include <optional>

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

    // The same, able to stop when its time is up and go on later, so that
    // applying the boxes never holds the window up for long. A box whose
    // regular expression spends more than regexBudgetMs in all is marked
    // and left out. The filter and the table must stay as they are while
    // the pass goes on.
    class Pass
    {
    public:
        Pass(RecordFilter &filter, const QAbstractItemModel &table, QList<int> rows,
             QList<int> anyColumns, int regexBudgetMs);
        ~Pass();
        // Goes on until every box is applied (true) or the deadline passes.
        bool run(QDeadlineTimer deadline);
        // The rows that passed, once run() returned true.
        const QList<int> &rows() const { return m_kept; }

    private:
        struct Current;
        bool startNextBox();
        void finishBox(bool gaveUp);

        RecordFilter &m_filter;
        const QAbstractItemModel &m_table;
        const GridModel *m_grid; // the table, when it is one: its text can be kept
        QList<int> m_anyColumns;
        int m_regexBudgetMs;
        QList<int> m_boxKeys; // the boxes to apply, in order
        qsizetype m_nextBox = 0;
        QList<int> m_kept;
        std::optional<CellTexts> m_texts;   // when the table is a GridModel
        std::unique_ptr<Current> m_current; // the box being applied
    };

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
