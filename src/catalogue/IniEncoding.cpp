#include "IniEncoding.h"

#include "common/Windows1252.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Ledgerly {

namespace {

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool isUtf8(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignored = utf8(bytes);
    return !utf8.hasError();
}

} // namespace

IniEncoding IniEncoding::of(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return {Utf16LE, bytes.first(2)};
    if (bytes.startsWith("\xFE\xFF"))
        return {Utf16BE, bytes.first(2)};
    IniEncoding encoding;
    QByteArrayView body(bytes);
    if (body.startsWith("\xEF\xBB\xBF")) {
        encoding.mark = bytes.first(3);
        body = body.sliced(3);
        // With its mark a file says it is UTF-8, even when it is plain ASCII.
        encoding.kind = isUtf8(body) ? Utf8 : Windows1252;
        return encoding;
    }
    encoding.kind = !isAscii(body) && isUtf8(body) ? Utf8 : Windows1252;
    return encoding;
}

QString IniEncoding::toText(const QByteArray &bytes) const
{
    const QByteArrayView body = QByteArrayView(bytes).sliced(qMin(mark.size(), bytes.size()));
    switch (kind) {
    case Utf16LE:
    case Utf16BE: {
        QStringDecoder decoder(kind == Utf16LE ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return decoder(body);
    }
    case Utf8: {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        return decoder(body);
    }
    case Windows1252:
        break;
    }
    return Windows1252::decode(body.toByteArray());
}

bool IniEncoding::toBytes(const QString &text, QByteArray *bytes) const
{
    QByteArray body;
    if (kind == Windows1252) {
        if (!Windows1252::encode(text, &body))
            return false;
    } else {
        const auto which = kind == Utf8      ? QStringEncoder::Utf8
                           : kind == Utf16LE ? QStringEncoder::Utf16LE
                                             : QStringEncoder::Utf16BE;
        QStringEncoder encoder(which, QStringEncoder::Flag::Stateless);
        body = encoder(text);
        if (encoder.hasError())
            return false;
    }
    *bytes = mark + body;
    return true;
}

bool IniEncoding::canHold(const QString &text) const
{
    QByteArray scratch;
    return toBytes(text, &scratch);
}

QString IniEncoding::name() const
{
    switch (kind) {
    case Utf8:
        return QStringLiteral("UTF-8");
    case Utf16LE:
        return QStringLiteral("UTF-16LE");
    case Utf16BE:
        return QStringLiteral("UTF-16BE");
    case Windows1252:
        break;
    }
    return QStringLiteral("Windows-1252");
}

} // namespace Ledgerly
