#include "CsvRegionalFormat.h"

#include "common/DateTimeText.h"
#include "common/Windows1252.h"
#include "common/YesNoText.h"

#include <algorithm>
#include <cmath>

namespace Ledgerly {

namespace {

// Calls f(i) for every format character outside quoted literal text.
template<typename F> void forEachPatternChar(const QString &format, F f)
{
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format.at(i) == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted)
            f(i);
    }
}

// The time a parsed pattern names; a 12-hour clock reading is turned into
// the hour of the day.
QTime timeOf(const CsvDateTimePattern::Parsed &p)
{
    int hour = p.hour;
    if (p.amPm >= 0) {
        if (hour < 1 || hour > 12)
            return {};
        hour = hour % 12 + (p.amPm == 1 ? 12 : 0);
    }
    return QTime::isValid(hour, p.minute, p.second, 0) ? QTime(hour, p.minute, p.second) : QTime();
}

} // namespace

CsvRegionalFormat::CsvRegionalFormat(const QLocale &locale)
    : m_locale(locale)
    , m_dateFormat(fourDigitYear(locale.dateFormat(QLocale::ShortFormat)))
    , m_timeFormat(timeWithSeconds(locale.timeFormat(QLocale::LongFormat)))
    , m_datePattern(m_dateFormat, locale)
    , m_timePattern(m_timeFormat, locale)
{
    // The ASCII characters a number may hold in this locale; a text with any
    // other ASCII character is no number, which most text shows at once.
    const auto allow = [this](const QString &chars) {
        for (const QChar c : chars)
            if (c.unicode() < 128)
                m_numberAscii.set(c.unicode());
    };
    allow(QStringLiteral("0123456789+-.,eE \t\n\r\v\f"));
    allow(locale.decimalPoint());
    allow(locale.groupSeparator());
    allow(locale.negativeSign());
    allow(locale.positiveSign());
    allow(locale.exponential());
    allow(locale.exponential().toUpper());
    m_plainDecimal = locale.zeroDigit() == QLatin1String("0") &&
                     locale.decimalPoint() == QLatin1String(".") &&
                     locale.groupSeparator() != QLatin1String(".");
    const QString group = locale.groupSeparator();
    m_spaceGroups = std::any_of(group.cbegin(), group.cend(), [](QChar c) { return c.isSpace(); });
}

QString CsvRegionalFormat::fourDigitYear(const QString &dateFormat)
{
    // A two-digit year would read back in the wrong century, so every year
    // pattern becomes "yyyy".
    QString out;
    qsizetype i = 0;
    bool quoted = false;
    while (i < dateFormat.size()) {
        const QChar c = dateFormat.at(i);
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('y')) {
            while (i < dateFormat.size() && dateFormat.at(i) == QLatin1Char('y'))
                ++i;
            out += QStringLiteral("yyyy");
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

QString CsvRegionalFormat::timeWithSeconds(const QString &timeFormat)
{
    // Drop the time zone (a stored time has none) and make sure seconds are
    // there, since a time without them could not read back exactly.
    QString out;
    bool hasSeconds = false;
    bool quoted = false;
    for (const QChar c : timeFormat) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        if (!quoted && c == QLatin1Char('s'))
            hasSeconds = true;
        out += c;
    }
    out = out.trimmed();
    if (!hasSeconds) {
        qsizetype minutesEnd = -1;
        forEachPatternChar(out, [&](qsizetype i) {
            if (out.at(i) == QLatin1Char('m'))
                minutesEnd = i + 1;
        });
        if (minutesEnd < 0)
            return QStringLiteral("HH:mm:ss");
        out.insert(minutesEnd, QStringLiteral(":ss"));
    }
    return out;
}

qsizetype CsvRegionalFormat::maxDateTimeLength() const
{
    return m_datePattern.maxLength() + 1 + m_timePattern.maxLength();
}

char16_t *CsvRegionalFormat::writeDateTime(char16_t *out, const QDate &date,
                                           const QTime &time) const
{
    out = m_datePattern.write(out, date, {});
    // Not midnight; compared without building a QTime per cell.
    if (time.isValid() && time.msecsSinceStartOfDay() != 0) {
        *out++ = u' ';
        out = m_timePattern.write(out, {}, time);
    }
    return out;
}

char16_t *CsvRegionalFormat::writeStored(char16_t *out, quint32 seconds, bool timeOnly) const
{
    const CsvDateTimePattern::Parts parts = CsvDateTimePattern::partsOfStored(seconds);
    if (timeOnly)
        return m_timePattern.write(out, parts);
    out = m_datePattern.write(out, parts);
    // Not midnight: the time follows.
    if (seconds % 86400 != 0) {
        *out++ = u' ';
        out = m_timePattern.write(out, parts);
    }
    return out;
}

char16_t *CsvRegionalFormat::writeTime(char16_t *out, const QTime &time) const
{
    return m_timePattern.write(out, {}, time);
}

QString CsvRegionalFormat::dateTimeText(const QDateTime &value) const
{
    if (compiledPatterns()) {
        QString out(maxDateTimeLength(), Qt::Uninitialized);
        char16_t *begin = reinterpret_cast<char16_t *>(out.data());
        out.truncate(writeDateTime(begin, value) - begin);
        return out;
    }
    const QTime time = value.time();
    QString text = m_locale.toString(value.date(), m_dateFormat);
    if (time.isValid() && time != QTime(0, 0))
        text += QLatin1Char(' ') + timeText(time);
    return text;
}

QString CsvRegionalFormat::timeText(const QTime &time) const
{
    if (m_timePattern.usable()) {
        QString out;
        m_timePattern.append(out, {}, time);
        return out;
    }
    return m_locale.toString(time, m_timeFormat);
}

QString CsvRegionalFormat::boolText(bool value)
{
    return YesNoText::text(value);
}

bool CsvRegionalFormat::isNumberText1252(QByteArrayView text) const
{
    for (const char c : text) {
        if (uchar(c) < 128 && !m_numberAscii.test(uchar(c)))
            return false;
    }
    // What passes is short, as numbers are: decoded on the stack.
    char16_t wide[64];
    if (text.size() <= qsizetype(std::size(wide)) &&
        std::all_of(text.begin(), text.end(), [](char c) { return uchar(c) < 128; })) {
        std::copy(text.begin(), text.end(), wide);
        return isNumberText(QStringView(wide, text.size()));
    }
    return isNumberText(Windows1252::decode(text.toByteArray()));
}

bool CsvRegionalFormat::isNumberText(QStringView text) const
{
    // The locale's full conversion is slow (it asks the system for every
    // symbol); an ASCII character no number holds answers at once. Other
    // characters (native digits, non-breaking separators) go to the locale.
    for (const QChar c : text) {
        if (c.unicode() < 128 && !m_numberAscii.test(c.unicode()))
            return false;
    }
    const QStringView t = QStringView(text).trimmed();
    // Plain decimals ("215", "113.64") are numbers in every locale with ASCII
    // digits and a decimal point; a blank inside the text never is unless
    // the locale groups digits with one.
    if (m_plainDecimal && !t.isEmpty() && t.size() <= 30) {
        qsizetype i = 0;
        while (i < t.size() && t[i].unicode() >= u'0' && t[i].unicode() <= u'9')
            ++i;
        if (i > 0 && i < t.size() && t[i] == u'.') {
            const qsizetype point = ++i;
            while (i < t.size() && t[i].unicode() >= u'0' && t[i].unicode() <= u'9')
                ++i;
            if (i == point)
                i = -1; // "12." goes to the locale
        }
        if (i == t.size())
            return true;
    }
    if (!m_spaceGroups) {
        for (const QChar c : t)
            if (c.unicode() < 128 && c.isSpace())
                return false;
    }
    bool ok = false;
    const double number = m_locale.toDouble(text, &ok);
    return ok && std::isfinite(number);
}

QVariant CsvRegionalFormat::parseBool(QStringView text)
{
    // Spreadsheets write yes/no as words, -1/0 or 1/0; all of them count.
    return YesNoText::value(text, YesNoText::AnyForm);
}

namespace {

// Most cells have no blanks at their ends: Qt is asked only when so.
QStringView trimmedCell(QStringView text)
{
    if (text.isEmpty() || (!text.front().isSpace() && !text.back().isSpace()))
        return text;
    return text.trimmed();
}

} // namespace

QDateTime CsvRegionalFormat::parseDateTime(QStringView text) const
{
    const QStringView t = trimmedCell(text);
    if (t.isEmpty())
        return {};
    // The patterns the export writes are read without QLocale's parser, which
    // consults the local time zone for every cell.
    if (m_datePattern.usable() && m_timePattern.usable()) {
        qsizetype pos = 0;
        CsvDateTimePattern::Parsed day;
        if (m_datePattern.parse(t, pos, day)) {
            const QDate date(day.year, day.month, day.day);
            if (date.isValid() && pos == t.size())
                return QDateTime(date, QTime(0, 0), Qt::UTC);
            CsvDateTimePattern::Parsed clock;
            if (date.isValid() && t.at(pos) == QLatin1Char(' ') &&
                m_timePattern.parse(t, ++pos, clock) && pos == t.size()) {
                const QTime time = timeOf(clock);
                if (time.isValid())
                    return QDateTime(date, time, Qt::UTC);
            }
        }
    }
    const QString whole = t.toString();
    const QDateTime both =
        m_locale.toDateTime(whole, m_dateFormat + QLatin1Char(' ') + m_timeFormat);
    if (both.isValid())
        return QDateTime(both.date(), both.time(), Qt::UTC);
    const QDate date = m_locale.toDate(whole, m_dateFormat);
    if (date.isValid())
        return QDateTime(date, QTime(0, 0), Qt::UTC);
    // Files edited elsewhere may hold the short or long regional forms, or ISO.
    QDateTime other;
    if (DateTimeText::read(t, &other, m_locale))
        return other;
    return {};
}

QTime CsvRegionalFormat::parseTime(QStringView text) const
{
    const QStringView t = trimmedCell(text);
    if (t.isEmpty())
        return {};
    if (m_timePattern.usable()) {
        qsizetype pos = 0;
        CsvDateTimePattern::Parsed clock;
        if (m_timePattern.parse(t, pos, clock) && pos == t.size()) {
            const QTime time = timeOf(clock);
            if (time.isValid())
                return time;
        }
    }
    const QString whole = t.toString();
    for (const QString &format : {m_timeFormat, m_locale.timeFormat(QLocale::ShortFormat),
                                  QStringLiteral("H:mm:ss"), QStringLiteral("H:mm")}) {
        const QTime time = m_locale.toTime(whole, format);
        if (time.isValid())
            return time;
    }
    // A date and time in one cell: the time of day is what a time field keeps.
    const QDateTime both = parseDateTime(t);
    return both.isValid() ? both.time() : QTime();
}

} // namespace Ledgerly
