#include "ShownTextCache.h"

#include "common/Windows1252.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace Ledgerly {

namespace {

// For each byte of the code page, the smallest byte whose character folds to
// the same as its own: two bytes are equal with the case ignored when their
// classes are.
struct Folding
{
    std::array<unsigned char, 256> classOf{};
    QHash<char16_t, unsigned char> classOfFolded; // a folded character's class

    Folding()
    {
        std::array<char16_t, 256> folded{};
        for (int b = 255; b >= 0; --b) {
            const char byte = char(b);
            folded[b] = Windows1252::decode(QByteArray(&byte, 1)).at(0).toCaseFolded().unicode();
            classOfFolded.insert(folded[b], (unsigned char)b); // the smallest last
        }
        for (int b = 0; b < 256; ++b)
            classOf[b] = classOfFolded.value(folded[b]);
    }
};

const Folding &folding()
{
    static const Folding table;
    return table;
}

// Whether `needle` (classes, when caseless) is at `at`.
bool matchesAt(const unsigned char *at, const QByteArray &needle, bool caseless)
{
    const auto *n = reinterpret_cast<const unsigned char *>(needle.constData());
    if (!caseless)
        return std::memcmp(at, n, size_t(needle.size())) == 0;
    const auto &classOf = folding().classOf;
    for (qsizetype i = 0; i < needle.size(); ++i)
        if (classOf[at[i]] != n[i])
            return false;
    return true;
}

// The first place in [from, end) where the needle begins, or end.
const unsigned char *find(const unsigned char *from, const unsigned char *end,
                          const QByteArray &needle, bool caseless)
{
    const qsizetype length = needle.size();
    if (end - from < length)
        return end;
    const unsigned char *last = end - length;
    const auto first = (unsigned char)needle.at(0);
    if (!caseless) {
        for (const unsigned char *at = from; at <= last; ++at) {
            at = static_cast<const unsigned char *>(std::memchr(at, first, size_t(last - at + 1)));
            if (!at)
                return end;
            if (matchesAt(at, needle, false))
                return at;
        }
        return end;
    }
    const auto &classOf = folding().classOf;
    for (const unsigned char *at = from; at <= last; ++at)
        if (classOf[*at] == first && matchesAt(at, needle, true))
            return at;
    return end;
}

} // namespace

ShownTextCache::Search::Search(const QString &text, Qt::CaseSensitivity cs)
    : m_text(text)
    , m_cs(cs)
{
    m_bytes.reserve(text.size());
    for (QChar ch : text) {
        if (cs == Qt::CaseSensitive) {
            const int byte = Windows1252::byteFor(ch.unicode());
            if (byte < 0) {
                m_possible = false;
                return;
            }
            m_bytes.append(char(byte));
            continue;
        }
        // A character outside the code page may still fold to one inside it.
        const auto found = folding().classOfFolded.constFind(ch.toCaseFolded().unicode());
        if (ch.isSurrogate() || found == folding().classOfFolded.constEnd()) {
            m_possible = false;
            return;
        }
        m_bytes.append(char(*found));
    }
}

void ShownTextCache::clear()
{
    m_columns.clear();
}

int ShownTextCache::kept(int column) const
{
    const auto found = m_columns.constFind(column);
    return found == m_columns.constEnd() ? 0 : int(found->starts.size()) - 1;
}

bool ShownTextCache::isComplete(int column, int records) const
{
    const auto found = m_columns.constFind(column);
    if (found == m_columns.constEnd())
        return records == 0;
    return found->keepable && found->starts.size() - 1 >= records;
}

bool ShownTextCache::isKeepable(int column) const
{
    return m_columns.value(column).keepable;
}

bool ShownTextCache::append(int column, QStringView text)
{
    Column &kept = m_columns[column];
    if (!kept.keepable)
        return false;
    const qsizetype at = kept.text.size();
    kept.text.resize(at + text.size());
    if (!Windows1252::encodeTo(text, kept.text.data() + at)) {
        kept = Column{};
        kept.keepable = false;
        return false;
    }
    kept.starts.append(quint32(kept.text.size()));
    return true;
}

void ShownTextCache::appendBytes(int column, QByteArrayView bytes)
{
    Column &kept = m_columns[column];
    if (!kept.keepable)
        return;
    kept.text.append(bytes);
    kept.starts.append(quint32(kept.text.size()));
}

QList<int> ShownTextCache::completeColumns(int records) const
{
    QList<int> complete;
    for (auto it = m_columns.cbegin(); it != m_columns.cend(); ++it)
        if (isComplete(it.key(), records))
            complete.append(it.key());
    return complete;
}

void ShownTextCache::finish(int column)
{
    const auto found = m_columns.find(column);
    if (found == m_columns.end())
        return;
    found->text.squeeze();
    found->starts.squeeze();
}

QByteArrayView ShownTextCache::bytes(int column, int record) const
{
    const auto found = m_columns.constFind(column);
    if (found == m_columns.constEnd() || record < 0 || record + 1 >= found->starts.size())
        return {};
    const quint32 begin = found->starts.at(record);
    return QByteArrayView(found->text.constData() + begin,
                          qsizetype(found->starts.at(record + 1) - begin));
}

void ShownTextCache::text(int column, int record, QString *out) const
{
    Windows1252::decodeInto(bytes(column, record), out);
}

bool ShownTextCache::contains(int column, int record, const Search &search) const
{
    const auto found = m_columns.constFind(column);
    if (found == m_columns.constEnd() || record < 0 || record + 1 >= found->starts.size() ||
        !search.m_possible)
        return false;
    if (search.m_bytes.isEmpty())
        return true;
    const auto *data = reinterpret_cast<const unsigned char *>(found->text.constData());
    const unsigned char *end = data + found->starts.at(record + 1);
    return find(data + found->starts.at(record), end, search.m_bytes,
                search.m_cs == Qt::CaseInsensitive) != end;
}

QBitArray ShownTextCache::recordsContaining(int column, const Search &search) const
{
    const auto found = m_columns.constFind(column);
    if (found == m_columns.constEnd())
        return {};
    const QList<quint32> &starts = found->starts;
    QBitArray hits(int(starts.size()) - 1);
    if (!search.m_possible)
        return hits;
    const qsizetype length = search.m_bytes.size();
    if (length == 0) {
        hits.fill(true);
        return hits;
    }
    const bool caseless = search.m_cs == Qt::CaseInsensitive;
    const auto *data = reinterpret_cast<const unsigned char *>(found->text.constData());
    const unsigned char *end = data + found->text.size();
    const unsigned char *from = data;
    auto record = starts.cbegin();
    while (from < end) {
        const unsigned char *at = find(from, end, search.m_bytes, caseless);
        if (at == end)
            break;
        const auto offset = quint32(at - data);
        // The record the match begins in; a match that runs on into the
        // next record's text is no match of either.
        record = std::upper_bound(record, starts.cend() - 1, offset) - 1;
        const quint32 recordEnd = *(record + 1);
        if (offset + length <= recordEnd) {
            hits.setBit(int(record - starts.cbegin()));
            from = data + recordEnd;
        } else {
            from = at + 1;
        }
    }
    return hits;
}

qsizetype ShownTextCache::bytes() const
{
    qsizetype total = 0;
    for (const Column &column : m_columns)
        total += column.text.capacity() + column.starts.capacity() * qsizetype(sizeof(quint32));
    return total;
}

} // namespace Ledgerly
