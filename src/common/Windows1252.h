#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace Ledgerly {

// The handheld's and Windows' 8-bit code page. Qt has no codec for it without
// ICU, and every byte must map both ways exactly, so the table lives here.
namespace Windows1252 {
QString decode(const QByteArray &bytes);
// The same into a string the caller keeps, reusing its room.
void decodeInto(QByteArrayView bytes, QString *out);
// false when text holds a character the code page cannot hold; out is then
// left unspecified.
bool encode(const QString &text, QByteArray *out);
// The same into memory the caller holds, text.size() bytes; false (with out
// partly written) when a character has no code.
bool encodeTo(QStringView text, char *out);
bool canEncode(const QString &text);
// The code of one character; -1 when the code page has none.
int byteFor(char32_t character);

// Text files are UTF-8 where the system says so (everywhere but Windows):
// Windows-1252 bytes and UTF-8 meet without a QString between them.
// The UTF-8 form of bytes, written at out, which has room for 3 bytes per
// byte; returns the end of what was written.
char *toUtf8(QByteArrayView bytes, char *out);
// The Windows-1252 form of UTF-8 text, written at out, which has room for
// text.size() bytes. On failure `end` is null and `at` is the position in
// text of the first byte that is no UTF-8 (character 0) or starts a
// character the code page has no code for.
struct FromUtf8
{
    char *end = nullptr;
    qsizetype at = -1;
    char32_t character = 0;
};
FromUtf8 fromUtf8(QByteArrayView text, char *out);
} // namespace Windows1252

} // namespace Ledgerly
