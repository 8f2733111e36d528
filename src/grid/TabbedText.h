#pragma once

#include <QList>
#include <QStringList>

namespace Ledgerly {

// Tab-separated text as it travels through drops and the clipboard: one
// record per line, lines ended by CR LF or by LF alone (text from Linux
// programs has no CR), fields by tab.
namespace TabbedText {

enum class FinalBreak {
    AddsEmptyLine, // a drop: text ending in a line break gives one more, empty record
    Ignored,       // a paste: office programs end every copy with a line break
};

// Splits text into lines of fields. Quoted fields (as office programs write a
// cell holding a tab or a line break) are read only when quoted is true; a
// drop splits plainly.
QList<QStringList> parse(const QString &text, FinalBreak finalBreak, bool quoted = false);

// Writes rows of cell texts as tab-separated lines ended by CR LF; a text
// holding a tab, a line break or a leading quote is quoted so that a paste
// reads it back whole.
QString write(const QList<QStringList> &rows);
// The same rows as an HTML table, for office programs.
QString writeHtml(const QList<QStringList> &rows);

} // namespace TabbedText

} // namespace Ledgerly
