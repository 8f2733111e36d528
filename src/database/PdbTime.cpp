#include "PdbTime.h"

namespace Ledgerly::PdbTime {

namespace {
const QDate epochDate(1904, 1, 1);
constexpr qint64 secondsPerDay = 86400;
constexpr qint64 maxSeconds = 0xFFFFFFFFLL;
} // namespace

QDateTime fromSeconds(quint32 seconds)
{
    const qint64 s = seconds;
    return QDateTime(epochDate.addDays(s / secondsPerDay),
                     QTime::fromMSecsSinceStartOfDay(int((s % secondsPerDay) * 1000)), Qt::UTC);
}

bool toSeconds(const QDateTime &wallClock, quint32 *seconds)
{
    if (!wallClock.isValid())
        return false;
    // The reading of the value's own clock is what the handheld shows; no
    // zone conversion happens here on purpose.
    const qint64 days = epochDate.daysTo(wallClock.date());
    const qint64 total = days * secondsPerDay + wallClock.time().msecsSinceStartOfDay() / 1000;
    if (total < 0 || total > maxSeconds)
        return false;
    *seconds = quint32(total);
    return true;
}

QDateTime now()
{
    const QDateTime local = QDateTime::currentDateTime();
    const QTime t = local.time();
    return QDateTime(local.date(), QTime(t.hour(), t.minute(), t.second()), Qt::UTC);
}

QDateTime timeOfDay(const QTime &time)
{
    return QDateTime(epochDate, time, Qt::UTC);
}

} // namespace Ledgerly::PdbTime
