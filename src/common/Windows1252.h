#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace Ledgerly {

// The handheld's and Windows' 8-bit code page. Qt has no codec for it without
// ICU, and every byte must map both ways exactly, so the table lives here.
namespace Windows1252 {
QString decode(const QByteArray &bytes);
// false when text holds a character the code page cannot hold; out is then
// left unspecified.
bool encode(const QString &text, QByteArray *out);
// The same into memory the caller holds, text.size() bytes; false (with out
// partly written) when a character has no code.
bool encodeTo(QStringView text, char *out);
bool canEncode(const QString &text);
} // namespace Windows1252

} // namespace Ledgerly
