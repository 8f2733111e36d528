#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace Ledgerly {

// Turns an in-memory value into the stored bytes of a field of a given type
// code. Values arrive from the table as whatever the editor produced, so each
// kind accepts the few forms that mean the same thing (a yes/no as bool or as
// 0 / -1) and refuses anything else rather than guess.
class PdbValueEncoder
{
public:
    // false with *why set when the value cannot be stored in that field type.
    static bool encode(const QVariant &value, int type, QByteArray *out, QString *why);
    static bool isNull(const QVariant &value);

private:
    static bool encodeText(const QVariant &value, QByteArray *out, QString *why);
    static bool encodeYesNo(const QVariant &value, QByteArray *out, QString *why);
    static bool encodeTime(const QVariant &value, QByteArray *out, QString *why);
    static bool encodeBytes(const QVariant &value, bool picture, QByteArray *out, QString *why);
};

} // namespace Ledgerly
