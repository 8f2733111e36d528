#include "DemoTable.h"

#include <QFile>

#include <stdexcept>

namespace Ledgerly::Demo {

namespace {

[[noreturn]] void fail(const QString &path, int line, const QString &what)
{
    throw std::runtime_error(
        QStringLiteral("%1:%2: %3").arg(path).arg(line).arg(what).toStdString());
}

} // namespace

QList<QStringList> DemoTable::splitCsv(const QString &text, QList<int> *lineNumbers)
{
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    bool rowHasContent = false;
    int line = 1;
    int rowLine = 1;
    auto endRow = [&]() {
        if (rowHasContent || !cell.isEmpty() || !row.isEmpty()) {
            row.append(cell);
            rows.append(row);
            if (lineNumbers)
                lineNumbers->append(rowLine);
        }
        row.clear();
        cell.clear();
        rowHasContent = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                cell.append(u'"');
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                if (c == u'\n')
                    ++line;
                cell.append(c);
            }
            continue;
        }
        if (c == u'"') {
            quoted = true;
            rowHasContent = true;
        } else if (c == u',') {
            row.append(cell);
            cell.clear();
            rowHasContent = true;
        } else if (c == u'\n') {
            endRow();
            rowLine = ++line;
        } else if (c != u'\r') {
            cell.append(c);
        }
    }
    endRow();
    return rows;
}

DemoTable DemoTable::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(path, 0, QStringLiteral("cannot be read"));
    QList<int> lineNumbers;
    QList<QStringList> all = splitCsv(QString::fromUtf8(file.readAll()), &lineNumbers);
    if (all.isEmpty())
        fail(path, 1, QStringLiteral("has no header"));

    DemoTable table;
    for (const QString &h : all.first()) {
        const qsizetype colon = h.lastIndexOf(u':');
        bool ok = false;
        const int type = colon > 0 ? h.mid(colon + 1).toInt(&ok) : 0;
        if (!ok)
            fail(path, 1, QStringLiteral("header \"%1\" is not Name:type").arg(h));
        table.fields.append(DemoField{h.left(colon), type});
    }
    for (qsizetype r = 1; r < all.size(); ++r) {
        if (all.at(r).size() != table.fields.size())
            fail(path, lineNumbers.at(r),
                 QStringLiteral("%1 values for %2 fields")
                     .arg(all.at(r).size())
                     .arg(table.fields.size()));
        table.rows.append(all.at(r));
        table.lines.append(lineNumbers.at(r));
    }
    return table;
}

} // namespace Ledgerly::Demo
