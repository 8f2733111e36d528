#pragma once

#include <QBitArray>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

namespace Ledgerly {

// The text stored records show in a column, as the table shows it, kept in
// one block per column in the handheld's 8-bit code page (half the memory
// of Qt's strings, and searched a byte at a time). A search over every
// record then reads memory instead of decoding every stored cell again. It
// is kept by stored record, not by table row, so sorting, inserted rows and
// edits leave it right: a row with values of its own is read from the
// table instead. A column whose text the code page cannot hold is not kept.
class ShownTextCache
{
public:
    // A text to look for, in the code page's bytes: with the case ignored,
    // each byte stands for every byte Qt's case folding takes to the same
    // character, so an answer is the one QString::contains would give.
    class Search
    {
    public:
        Search() = default;
        Search(const QString &text, Qt::CaseSensitivity cs);
        const QString &text() const { return m_text; }
        Qt::CaseSensitivity caseSensitivity() const { return m_cs; }

    private:
        friend class ShownTextCache;
        QString m_text;
        Qt::CaseSensitivity m_cs = Qt::CaseSensitive;
        QByteArray m_bytes;     // folded when the case is ignored
        bool m_possible = true; // false: a character no kept text can hold
    };

    void clear();

    // Records of the column kept so far (from record 0 on).
    int kept(int column) const;
    bool isComplete(int column, int records) const;
    // false once the column held a character the code page has none for.
    bool isKeepable(int column) const;
    // false (and the column is no longer kept) when the text holds a
    // character the code page has none for.
    bool append(int column, QStringView text);
    // The same for text already in the code page.
    void appendBytes(int column, QByteArrayView bytes);
    // The columns kept complete for this many records.
    QList<int> completeColumns(int records) const;
    // Every record of the column is kept: gives back the room kept for more.
    void finish(int column);

    // The text of a kept record, into `out`; as kept, in the code page.
    void text(int column, int record, QString *out) const;
    QByteArrayView bytes(int column, int record) const;
    bool contains(int column, int record, const Search &search) const;
    // The kept records whose text contains the search's, as a bit per
    // record; one pass over the column's block.
    QBitArray recordsContaining(int column, const Search &search) const;

    // Memory the kept text takes.
    qsizetype bytes() const;

private:
    struct Column
    {
        QByteArray text;
        QList<quint32> starts{0}; // where each record's text begins, and the end
        bool keepable = true;
    };

    QHash<int, Column> m_columns;
};

} // namespace Ledgerly
