#include "TabbedText.h"

namespace Ledgerly::TabbedText {

namespace {

QList<QStringList> parsePlain(const QString &text, FinalBreak finalBreak)
{
    QList<QStringList> lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start <= size) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        const bool last = end < 0;
        if (last)
            end = size;
        qsizetype lineEnd = end;
        if (!last && lineEnd > start && text.at(lineEnd - 1) == QLatin1Char('\r'))
            --lineEnd;
        if (last && start == size && finalBreak == FinalBreak::Ignored && !lines.isEmpty())
            break;
        QStringList fields;
        for (QStringView field : QStringView(text).mid(start, lineEnd - start).split(u'\t'))
            fields.append(field.toString());
        lines.append(std::move(fields));
        start = end + 1;
    }
    return lines;
}

// Fields in double quotes may hold tabs, line breaks and doubled quotes; a
// quote inside an unquoted field is an ordinary character.
QList<QStringList> parseQuoted(const QString &text, FinalBreak finalBreak)
{
    QList<QStringList> lines;
    QStringList fields;
    QString field;
    bool inQuotes = false;
    bool fieldStart = true;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar ch = text.at(i);
        if (inQuotes) {
            if (ch == QLatin1Char('"')) {
                if (i + 1 < size && text.at(i + 1) == QLatin1Char('"')) {
                    field += ch;
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                field += ch;
            }
            continue;
        }
        if (ch == QLatin1Char('"') && fieldStart) {
            inQuotes = true;
            fieldStart = false;
        } else if (ch == QLatin1Char('\t')) {
            fields.append(field);
            field.clear();
            fieldStart = true;
        } else if (ch == QLatin1Char('\n') || (ch == QLatin1Char('\r') && i + 1 < size &&
                                               text.at(i + 1) == QLatin1Char('\n'))) {
            if (ch == QLatin1Char('\r'))
                ++i;
            fields.append(field);
            lines.append(fields);
            fields.clear();
            field.clear();
            fieldStart = true;
        } else {
            field += ch;
            fieldStart = false;
        }
    }
    const bool endedWithBreak = fieldStart && fields.isEmpty() && field.isEmpty();
    if (!endedWithBreak || lines.isEmpty() || finalBreak == FinalBreak::AddsEmptyLine) {
        fields.append(field);
        lines.append(fields);
    }
    return lines;
}

bool needsQuotes(const QString &text)
{
    return text.startsWith(QLatin1Char('"')) || text.contains(QLatin1Char('\t')) ||
           text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

} // namespace

QList<QStringList> parse(const QString &text, FinalBreak finalBreak, bool quoted)
{
    // Without a quote both read the same; the plain reading is much quicker.
    if (quoted && text.contains(QLatin1Char('"')))
        return parseQuoted(text, finalBreak);
    return parsePlain(text, finalBreak);
}

QString write(const QList<QStringList> &rows)
{
    QString out;
    for (const QStringList &row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                out += QLatin1Char('\t');
            const QString &cell = row.at(i);
            if (needsQuotes(cell)) {
                QString doubled = cell;
                doubled.replace(QLatin1String("\""), QLatin1String("\"\""));
                out += QLatin1Char('"') + doubled + QLatin1Char('"');
            } else {
                out += cell;
            }
        }
        out += QLatin1String("\r\n");
    }
    return out;
}

QString writeHtml(const QList<QStringList> &rows)
{
    QString out = QStringLiteral("<table>");
    for (const QStringList &row : rows) {
        out += QLatin1String("<tr>");
        for (const QString &cell : row) {
            QString escaped = cell.toHtmlEscaped();
            escaped.replace(QLatin1String("\n"), QLatin1String("<br>"));
            out += QLatin1String("<td>") + escaped + QLatin1String("</td>");
        }
        out += QLatin1String("</tr>");
    }
    out += QLatin1String("</table>");
    return out;
}

} // namespace Ledgerly::TabbedText
