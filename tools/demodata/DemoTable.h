#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace Ledgerly::Demo {

struct DemoField
{
    QString name;
    int type = 0;
};

// One demo database as kept in samples/demo: a CSV file whose header names
// each field as "Name:type" and whose rows are the records, values in plain
// ISO forms (dates 2026-01-31, times 08:15, date/times 2026-01-31T08:15:00,
// yes/no as yes or no, pictures as the name of a drawn motif).
struct DemoTable
{
    QList<DemoField> fields;
    QList<QStringList> rows;
    // Line number of each row in the file, for messages.
    QList<int> lines;

    // Throws std::runtime_error with file and line for a malformed file.
    static DemoTable read(const QString &path);
    // Splits CSV text (commas, double-quoted values with "" for a quote).
    static QList<QStringList> splitCsv(const QString &text, QList<int> *lineNumbers);
};

} // namespace Ledgerly::Demo
