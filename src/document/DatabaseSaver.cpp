#include "DatabaseSaver.h"

#include "FieldColumns.h"
#include "common/YesNoText.h"
#include "database/FieldType.h"
#include "database/PdbDatabase.h"
#include "database/PdbTime.h"
#include "grid/GridModel.h"
#include "grid/GridValue.h"

#include <QFile>

namespace Ledgerly {

namespace {

// What one column writes, worked out once per save instead of once per cell.
struct ColumnPlan
{
    int column;
    int field; // position in the database's fields
    int type;
};

bool isEmptyCell(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return true;
    case QMetaType::QString:
        return value.toString().isEmpty();
    case QMetaType::QByteArray:
        return value.toByteArray().isEmpty();
    case QMetaType::QDateTime:
        return !value.toDateTime().isValid();
    default:
        return false;
    }
}

// The yes/no rule: "True" and "False" in any case, empty as False; any other
// text writes nothing (null result), so the stored value stays.
QVariant yesNoValue(const QVariant &cell)
{
    if (cell.typeId() == QMetaType::Bool)
        return cell.toBool();
    if (cell.typeId() != QMetaType::QString && cell.isValid())
        return {};
    const QString text = cell.toString();
    if (text.isEmpty())
        return false;
    return YesNoText::value(text, YesNoText::TrueFalse);
}

// A date or time cell as a wall-clock reading; invalid when it reads as none.
QDateTime dateTimeValue(const QVariant &cell)
{
    if (cell.typeId() == QMetaType::QDateTime)
        return cell.toDateTime();
    QDateTime parsed;
    if (cell.typeId() == QMetaType::QString && GridValue::parseDateTime(cell.toString(), &parsed))
        return parsed;
    return {};
}

QList<ColumnPlan> planColumns(const GridModel &grid, const PdbDatabase &database)
{
    QList<ColumnPlan> plan;
    const PdbFieldList &defs = database.Table().FieldDefs();
    for (int c = 1; c < grid.columnCount() && c <= defs.Count(); ++c) {
        // Column c shows field c - 1, as the table was built. Names only tie
        // schema keys to columns: two fields whose names differ only in case
        // must each keep their own values.
        const int type = defs.Item(c - 1).Type;
        if (grid.column(c).key.isEmpty() || !FieldColumns::isWritten(type))
            continue;
        plan.append({c, c - 1, type});
    }
    return plan;
}

} // namespace

DatabaseSaver::DatabaseSaver(QString blankPicturePath)
    : m_blankPicturePath(std::move(blankPicturePath))
{}

const QByteArray *DatabaseSaver::blankPicture()
{
    if (!m_blankRead) {
        m_blankRead = true;
        QFile file(m_blankPicturePath);
        if (file.open(QIODevice::ReadOnly))
            m_blankPicture = file.readAll();
    }
    return m_blankPicture.isEmpty() ? nullptr : &m_blankPicture;
}

void DatabaseSaver::writeTable(GridModel &grid, PdbDatabase &database,
                               const std::function<void(int)> &progress)
{
    PdbTable &table = database.Table();
    const QList<ColumnPlan> plan = planColumns(grid, database);

    const QDateTime clock = PdbTime::now();
    // Whole seconds: that is all the file keeps, and the table shows the same.
    const QDateTime now = GridValue::wallClock(
        clock.date(), QTime(clock.time().hour(), clock.time().minute(), clock.time().second()));
    const int rows = grid.rowCount();
    // The stored records stay in place until every row is written: rows that
    // have not changed read their values from them.
    QList<PdbRecord> records;
    records.reserve(rows);
    QList<int> writtenFrom; // the row each new record comes from
    writtenFrom.reserve(rows);
    QList<int> copyOf; // the stored record each new one copies as it was, or -1
    copyOf.reserve(rows);
    int lastStep = -1;
    QList<bool> empty; // of the row's record, by field
    for (int r = 0; r < rows; ++r) {
        const GridRow &row = std::as_const(grid).gridRow(r);
        if (row.rowType != 0)
            continue;
        const int source = row.sourceRecord;
        const bool unchanged = grid.readsStoredRecord(r);
        const bool fromRecord = source >= 0 && source < table.RecordCount();
        PdbRecord record = fromRecord ? table.Record(source) : PdbRecord(&table.FieldDefs());
        if (unchanged)
            record.emptyFields(&empty);
        // Whether the record is written as it was: its shown text stays.
        bool touched = false;
        const auto set = [&record, &touched](int field, const QVariant &value) {
            record.setValue(field, value);
            touched = true;
        };

        for (const ColumnPlan &p : plan) {
            // An unchanged row shows what its record holds, which writes
            // back as it is, except where the record holds nothing and a
            // save fills it in. Text has no such rule: no text stays none.
            if (unchanged && (p.type == FieldText || !empty.value(p.field, true)))
                continue;
            const QVariant cell = grid.cell(r, p.column);
            switch (p.type) {
            case FieldText:
                // The table shows no text and empty text alike: an empty cell
                // keeps whichever of the two its record held.
                if (fromRecord && isEmptyCell(cell) && record.isEmpty(p.field))
                    break;
                if (!cell.isValid())
                    set(p.field, QVariant());
                else if (cell.typeId() != QMetaType::QByteArray)
                    set(p.field, cell.typeId() == QMetaType::QString
                                     ? cell
                                     : QVariant(GridValue::displayText(cell)));
                break;
            case FieldYesNo: {
                const QVariant value = yesNoValue(cell);
                if (value.isValid())
                    set(p.field, value);
                break;
            }
            case FieldDate:
            case FieldTime: {
                QDateTime value;
                if (isEmptyCell(cell)) {
                    value = p.type == FieldDate ? GridValue::wallClock(now.date(), QTime(0, 0))
                                                : PdbTime::timeOfDay(now.time());
                    grid.setCell(r, p.column, value);
                } else {
                    value = dateTimeValue(cell);
                }
                if (value.isValid())
                    set(p.field, value);
                break;
            }
            case FieldDateTime:
                // Nothing is made up for an empty cell: the value is gone.
                if (isEmptyCell(cell)) {
                    set(p.field, QVariant());
                } else if (const QDateTime value = dateTimeValue(cell); value.isValid()) {
                    set(p.field, value);
                }
                break;
            case FieldPicture:
                if (isEmptyCell(cell)) {
                    if (const QByteArray *blank = blankPicture())
                        set(p.field, *blank);
                } else if (cell.typeId() == QMetaType::QByteArray) {
                    set(p.field, cell);
                }
                break;
            default:
                break;
            }
        }
        records.append(std::move(record));
        writtenFrom.append(r);
        copyOf.append(unchanged && !touched ? source : -1);
        if (progress) {
            const int step = int((qint64(r + 1) * 100) / rows);
            if (step != lastStep) {
                lastStep = step;
                progress(int(step * 0.93));
            }
        }
    }
    table.setRecords(std::move(records));
    grid.renumberStoredRecords(writtenFrom, copyOf);
}

} // namespace Ledgerly
