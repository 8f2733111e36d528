#pragma once

#include "IniEncoding.h"
#include "IniLine.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace Ledgerly {

class IniDocument;

// An INI file as its lines, for editing: every line keeps its text and its
// own line end exactly as read, so a file nobody changed is written back byte
// for byte, and an edit rewrites only the lines it touches. What the lines
// mean is the reader's business: document() is the file as the program reads
// it, by the same code.
//
// A value: copies share their lines until one of them is edited, which makes
// a copy a cheap snapshot for undo.
class IniText
{
public:
    // An empty file: Windows-1252 with CR LF line ends, as the program's own
    // files are written.
    IniText() = default;

    // False, with the reason, when the bytes could not be written back as
    // they are (text that is not valid in the encoding it claims).
    static bool fromBytes(const QByteArray &bytes, IniText *text, QString *problem);
    // False, with the reason, when a character cannot be stored in the file's
    // encoding or the bytes would read back as other text.
    bool toBytes(QByteArray *bytes, QString *problem) const;

    const IniEncoding &encoding() const { return m_encoding; }
    // The line end new lines get: the file's first one, CR LF in a file
    // without any.
    const QString &newLineEnd() const { return m_newLineEnd; }
    int lineCount() const { return int(m_lines.size()); }
    // The line's text without its line end.
    const QString &lineText(int line) const { return m_lines.at(line).text; }
    QString text() const;
    // What the line says to the reader.
    IniLine parts(int line) const;
    // The file as the program reads it now.
    const IniDocument &document() const;
    bool operator==(const IniText &other) const;

    void replaceLine(int line, const QString &text);
    // New lines before line `at` (lineCount() appends), with the file's line
    // end; a file without a final line end keeps ending without one.
    void insertLines(int at, const QStringList &texts);
    void removeLines(int first, int count);
    // Exchanges the two lines' texts; the line ends stay where they were.
    void swapLines(int a, int b);

    // The entry on that line gets a new value or key name, the section header
    // a new name; blanks, quotes and everything else on the line are kept.
    void setValue(int line, const QString &value);
    void renameKey(int line, const QString &name);
    void renameSection(int line, const QString &name);

    // The lines the editor writes for a new entry or section.
    static QString entryLine(const QString &key, const QString &value);
    static QString sectionLine(const QString &name);
    // The value as written after "=": quoted when the reader would otherwise
    // trim its blanks or take its own quotes off.
    static QString writtenValue(const QString &value);

    // Why a text cannot be a key name, section name or value in this file
    // (it would read back as something else); empty when it can.
    QString keyNameProblem(const QString &name) const;
    QString sectionNameProblem(const QString &name) const;
    QString valueProblem(const QString &value) const;

private:
    struct Line
    {
        QString text;
        QString end;
    };

    void changed() { m_document.reset(); }
    QString encodingProblem(const QString &text) const;

    IniEncoding m_encoding;
    QString m_newLineEnd = QStringLiteral("\r\n");
    QList<Line> m_lines;
    mutable std::shared_ptr<const IniDocument> m_document;
};

} // namespace Ledgerly
