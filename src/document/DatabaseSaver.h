#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace Ledgerly {

class GridModel;
class PdbDatabase;

// Rewrites a database's records from the table: every stored record goes and
// one record is appended per plain row, in table order.
//
// The table does not write everything a record can hold (unknown field
// types, yes/no text that is neither True, False nor empty, date text that
// reads as no date, fields without a column). A row loaded from a stored record therefore starts
// from a copy of that record, so such values survive; rows made in the table start empty. Each
// saved row then points at its new record.
class DatabaseSaver
{
public:
    // blankPicturePath: the picture written for an empty picture cell; read
    // at most once, and a missing file means such cells write no value.
    explicit DatabaseSaver(QString blankPicturePath);

    // progress receives 0..93 as rows are written, at most once per percent.
    void writeTable(GridModel &grid, PdbDatabase &database,
                    const std::function<void(int)> &progress = {});

private:
    const QByteArray *blankPicture();

    QString m_blankPicturePath;
    QByteArray m_blankPicture;
    bool m_blankRead = false;
};

} // namespace Ledgerly
