#pragma once

#include <QByteArray>
#include <QString>

namespace Ledgerly {

// How the bytes of an INI file become text: UTF-16 when they start with its
// byte order mark, UTF-8 when they are valid UTF-8 (with or without a byte
// order mark), otherwise Windows-1252, so files written on Windows read
// correctly. The editor writes text back in the encoding it was read in.
struct IniEncoding
{
    enum Kind { Windows1252, Utf8, Utf16LE, Utf16BE };

    Kind kind = Windows1252;
    // The byte order mark the file starts with, kept as it was; also a UTF-8
    // mark in front of text that is not UTF-8, which the reader skips.
    QByteArray mark;

    // Plain ASCII is both UTF-8 and Windows-1252; such a file is taken as
    // Windows-1252, the code page the program's files are written in.
    static IniEncoding of(const QByteArray &bytes);
    static QString decode(const QByteArray &bytes) { return of(bytes).toText(bytes); }

    // The text of bytes read in this encoding (the mark skipped).
    QString toText(const QByteArray &bytes) const;
    // The file's bytes for text, the mark in front; false when the text holds
    // a character the encoding cannot hold.
    bool toBytes(const QString &text, QByteArray *bytes) const;
    bool canHold(const QString &text) const;
    QString name() const;
};

} // namespace Ledgerly
