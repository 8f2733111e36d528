#include "PdbValueEncoder.h"

#include "FieldType.h"
#include "PdbTime.h"
#include "common/DateTimeText.h"
#include "common/Windows1252.h"
#include "common/YesNoText.h"

#include <QBuffer>
#include <QDateTime>
#include <QImage>
#include <QtEndian>

namespace Ledgerly {

namespace {

bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

} // namespace

bool PdbValueEncoder::isNull(const QVariant &value)
{
    return !value.isValid() || value.typeId() == QMetaType::Nullptr;
}

bool PdbValueEncoder::encode(const QVariant &value, int type, QByteArray *out, QString *why)
{
    switch (type) {
    case FieldText:
        return encodeText(value, out, why);
    case FieldYesNo:
        return encodeYesNo(value, out, why);
    case FieldDate:
    case FieldTime:
    case FieldDateTime:
        return encodeTime(value, out, why);
    case FieldPicture:
        return encodeBytes(value, true, out, why);
    default:
        return encodeBytes(value, false, out, why);
    }
}

bool PdbValueEncoder::encodeText(const QVariant &value, QByteArray *out, QString *why)
{
    if (value.typeId() == QMetaType::QByteArray || !value.canConvert<QString>()) {
        *why = QStringLiteral("a %1 is not text").arg(QString::fromLatin1(value.typeName()));
        return false;
    }
    const QString text = value.toString();
    if (!Windows1252::encode(text, out)) {
        for (const QChar ch : text) {
            if (!Windows1252::canEncode(QString(ch))) {
                *why =
                    QStringLiteral("the character U+%1 has no Windows-1252 code")
                        .arg(QString::number(ch.unicode(), 16).toUpper().rightJustified(4, u'0'));
                return false;
            }
        }
        *why = QStringLiteral("the text cannot be stored as Windows-1252");
        return false;
    }
    return true;
}

bool PdbValueEncoder::encodeYesNo(const QVariant &value, QByteArray *out, QString *why)
{
    bool yes = false;
    if (value.typeId() == QMetaType::Bool) {
        yes = value.toBool();
    } else if (isNumber(value)) {
        yes = value.toDouble() != 0.0;
    } else if (value.typeId() == QMetaType::QString) {
        const QString s = value.toString().trimmed();
        const YesNoText::Answer answer =
            YesNoText::read(s, YesNoText::TrueFalse | YesNoText::Numbers);
        if (answer == YesNoText::Answer::Unreadable) {
            *why = QStringLiteral("\"%1\" is not a yes/no value").arg(s);
            return false;
        }
        yes = answer == YesNoText::Answer::Yes;
    } else {
        *why =
            QStringLiteral("a %1 is not a yes/no value").arg(QString::fromLatin1(value.typeName()));
        return false;
    }
    out->resize(1);
    (*out)[0] = yes ? 1 : 0;
    return true;
}

bool PdbValueEncoder::encodeTime(const QVariant &value, QByteArray *out, QString *why)
{
    QDateTime wallClock;
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        wallClock = value.toDateTime();
        break;
    case QMetaType::QDate:
        wallClock = QDateTime(value.toDate(), QTime(0, 0), Qt::UTC);
        break;
    case QMetaType::QTime:
        wallClock = PdbTime::timeOfDay(value.toTime());
        break;
    case QMetaType::QString: {
        if (!DateTimeText::readIso(value.toString(), &wallClock))
            wallClock = QDateTime();
        break;
    }
    default:
        break;
    }
    if (!wallClock.isValid()) {
        *why = QStringLiteral("%1 is not a date or time")
                   .arg(value.toString().isEmpty() ? QString::fromLatin1(value.typeName())
                                                   : value.toString());
        return false;
    }
    quint32 seconds = 0;
    if (!PdbTime::toSeconds(wallClock, &seconds)) {
        *why = QStringLiteral("%1 lies outside 1904-01-01 00:00:00 .. 2040-02-06 06:28:15")
                   .arg(wallClock.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        return false;
    }
    out->resize(4);
    qToBigEndian<quint32>(seconds, out->data());
    return true;
}

bool PdbValueEncoder::encodeBytes(const QVariant &value, bool picture, QByteArray *out,
                                  QString *why)
{
    if (value.typeId() == QMetaType::QByteArray) {
        *out = value.toByteArray();
        return true;
    }
    if (picture && value.typeId() == QMetaType::QImage) {
        // A picture object assigned directly is stored as the bitmap file it
        // would be saved as.
        out->clear();
        QBuffer buffer(out);
        buffer.open(QIODevice::WriteOnly);
        if (qvariant_cast<QImage>(value).save(&buffer, "BMP"))
            return true;
        *why = QStringLiteral("the picture cannot be stored as a bitmap");
        return false;
    }
    *why = QStringLiteral("a %1 cannot be stored in a %2 field")
               .arg(QString::fromLatin1(value.typeName()),
                    picture ? QStringLiteral("picture") : QStringLiteral("raw data"));
    return false;
}

} // namespace Ledgerly
