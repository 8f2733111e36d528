#pragma once

#include <QByteArray>
#include <QStringView>

#include <functional>

namespace Ledgerly {

class PdbRecordStream;

// A database as one JSON object (the command line's dump): name, type,
// creator, fields ([{"name", "type"}]) and records (one array of values per
// record): text as strings, yes/no as true/false, dates and times as
// "YYYY-MM-DDTHH:MM:SS", pictures as {"bytes", "sha256"}, other kinds as
// {"hex"}, no value as null.
//
// Values go from their stored bytes straight into UTF-8 JSON text, byte for
// byte what QJsonDocument writes for the values they stand for: a database
// holds tens of thousands of records, and a QJsonValue per value was most of
// the time.
namespace JsonDump {

// Writes the whole object, handing the text to `sink` a block at a time;
// false as soon as `sink` does. Throws PdbError for a record the stream
// finds damaged.
bool write(PdbRecordStream &records, const std::function<bool(QByteArrayView)> &sink);

// The compact JSON text of one stored value of a field of `type` (data null
// for no value), and of a string.
void appendStored(QByteArray &out, int type, const char *data, qsizetype length);
void appendString(QByteArray &out, QStringView text);

} // namespace JsonDump

} // namespace Ledgerly
