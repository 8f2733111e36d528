#pragma once

#include <QtGlobal>

#include <cstring>

// Eight bytes looked at in one step: the text scanners skip runs of plain
// bytes a word at a time and look at single bytes only where a word says so.
namespace Ledgerly::ByteWords {

constexpr quint64 ones = 0x0101010101010101ull;
constexpr quint64 highs = 0x8080808080808080ull;

inline quint64 load(const void *p)
{
    quint64 word;
    std::memcpy(&word, p, 8);
    return word;
}

// True when a byte of the word is zero.
constexpr bool hasZero(quint64 word)
{
    return ((word - ones) & ~word & highs) != 0;
}

// True when a byte of the word is c.
constexpr bool has(quint64 word, char c)
{
    return hasZero(word ^ (ones * quint8(c)));
}

// True when a byte of the word is outside ASCII.
constexpr bool hasHigh(quint64 word)
{
    return (word & highs) != 0;
}

// True when a byte of the word is below limit (at most 0x80): it borrows
// when limit is taken from it.
constexpr bool hasBelow(quint64 word, quint8 limit)
{
    return ((word - ones * limit) & ~word & highs) != 0;
}

} // namespace Ledgerly::ByteWords
