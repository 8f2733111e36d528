#pragma once

#include <QDateTime>

namespace Ledgerly {

// Times are stored as seconds since 1904-01-01 00:00:00 on the handheld's
// wall clock. In memory they are QDateTime values in UTC whose date and time
// fields are that wall-clock reading: no zone, so no daylight-saving gap can
// shift or drop a stored time.
namespace PdbTime {
QDateTime fromSeconds(quint32 seconds);
// false when the time lies outside 1904-01-01 00:00:00 .. 2040-02-06 06:28:15
bool toSeconds(const QDateTime &wallClock, quint32 *seconds);
// The wall-clock reading of now, in the same convention.
QDateTime now();
// A time of day alone is stored on the first day of the epoch.
QDateTime timeOfDay(const QTime &time);
} // namespace PdbTime

} // namespace Ledgerly
