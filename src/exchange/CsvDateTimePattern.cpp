#include "CsvDateTimePattern.h"

#include <algorithm>

namespace Ledgerly {

CsvDateTimePattern::CsvDateTimePattern(const QString &format, const QLocale &locale)
    : m_locale(locale)
{
    for (int i = 1; i <= 12; ++i) {
        m_monthNames[0].append(locale.monthName(i, QLocale::ShortFormat));
        m_monthNames[1].append(locale.monthName(i, QLocale::LongFormat));
    }
    for (int i = 1; i <= 7; ++i) {
        m_dayNames[0].append(locale.dayName(i, QLocale::ShortFormat));
        m_dayNames[1].append(locale.dayName(i, QLocale::LongFormat));
    }
    m_am = locale.amText();
    m_pm = locale.pmText();
    m_amPm = {m_am, m_pm};
    compile(format);
}

void CsvDateTimePattern::compile(const QString &format)
{
    m_usable = m_locale.zeroDigit() == QLatin1String("0");
    auto literal = [this](const QString &text) {
        if (!m_tokens.isEmpty() && m_tokens.last().kind == Kind::Literal)
            m_tokens.last().text += text;
        else
            m_tokens.append(Token{Kind::Literal, 1, true, text});
    };
    bool twelveHour = false;
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            const qsizetype end = format.indexOf(QLatin1Char('\''), i + 1);
            if (end == i + 1) {
                literal(QStringLiteral("'"));
            } else {
                literal(format.mid(i + 1, (end < 0 ? format.size() : end) - i - 1));
            }
            i = end < 0 ? format.size() : end + 1;
            continue;
        }
        qsizetype n = 1;
        while (i + n < format.size() && format.at(i + n) == c)
            ++n;
        const char ch = c.toLatin1();
        Token token;
        token.width = int(n);
        bool consumed = true;
        switch (ch) {
        case 'd':
            token.kind = n <= 2 ? Kind::Day : Kind::DayName;
            break;
        case 'M':
            token.kind = n <= 2 ? Kind::Month : Kind::MonthName;
            break;
        case 'y':
            token.kind = Kind::Year;
            m_usable = m_usable && n == 4;
            break;
        case 'H':
            token.kind = Kind::Hour;
            break;
        case 'h':
            token.kind = Kind::Hour12; // 24-hour unless the pattern has AM/PM
            break;
        case 'm':
            token.kind = Kind::Minute;
            break;
        case 's':
            token.kind = Kind::Second;
            break;
        case 'A':
        case 'a':
            token.kind = Kind::AmPm;
            token.upper = ch == 'A';
            n = (i + 1 < format.size() &&
                 (format.at(i + 1) == QLatin1Char('P') || format.at(i + 1) == QLatin1Char('p')))
                    ? 2
                    : 1;
            twelveHour = true;
            break;
        case 'z':
        case 't':
            m_usable = false;
            consumed = false;
            break;
        default:
            consumed = false;
            break;
        }
        const bool names = token.kind == Kind::Day || token.kind == Kind::DayName ||
                           token.kind == Kind::Month || token.kind == Kind::MonthName;
        if (consumed && token.kind != Kind::AmPm && n > (names || token.kind == Kind::Year ? 4 : 2))
            m_usable = false;
        if (consumed)
            m_tokens.append(token);
        else
            literal(format.mid(i, n));
        i += n;
    }
    for (Token &token : m_tokens) {
        if (token.kind == Kind::Hour12 && !twelveHour)
            token.kind = Kind::Hour;
    }
    m_am = m_am.isEmpty() ? QStringLiteral("AM") : m_am;
    m_pm = m_pm.isEmpty() ? QStringLiteral("PM") : m_pm;
    m_amPmCased[0][0] = m_am.toLower();
    m_amPmCased[0][1] = m_am.toUpper();
    m_amPmCased[1][0] = m_pm.toLower();
    m_amPmCased[1][1] = m_pm.toUpper();

    const auto longest = [](const QStringList &names) {
        qsizetype most = 0;
        for (const QString &name : names)
            most = qMax(most, name.size());
        return most;
    };
    // A number is at most ten digits and a sign, or its width of zeros.
    m_maxLength = 0;
    for (const Token &token : std::as_const(m_tokens)) {
        switch (token.kind) {
        case Kind::Literal:
            m_maxLength += token.text.size();
            break;
        case Kind::DayName:
            m_maxLength += longest(m_dayNames[token.width == 4]);
            break;
        case Kind::MonthName:
            m_maxLength += longest(m_monthNames[token.width == 4]);
            break;
        case Kind::AmPm:
            for (const auto &cased : m_amPmCased)
                for (const QString &text : cased)
                    m_maxLength += text.size();
            break;
        default:
            m_maxLength += 1 + qMax(token.width, 11);
            break;
        }
    }
}

char16_t *CsvDateTimePattern::writeNumber(char16_t *out, int value, int width)
{
    // Days, months and clock parts: at most two digits.
    if (value >= 0 && value < 100 && width <= 2) {
        if (value >= 10 || width == 2)
            *out++ = char16_t(u'0' + value / 10);
        *out++ = char16_t(u'0' + value % 10);
        return out;
    }
    char16_t digits[12];
    int count = 0;
    unsigned magnitude = value < 0 ? 0u - unsigned(value) : unsigned(value);
    do {
        digits[count++] = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0 && count < 11);
    if (value < 0)
        *out++ = u'-';
    for (int k = count; k < width; ++k)
        *out++ = u'0';
    while (count > 0)
        *out++ = digits[--count];
    return out;
}

char16_t *CsvDateTimePattern::writeText(char16_t *out, const QString &text)
{
    const qsizetype size = text.size();
    if (size > 0)
        std::copy_n(reinterpret_cast<const char16_t *>(text.constData()), size, out);
    return out + size;
}

void CsvDateTimePattern::append(QString &out, const QDate &date, const QTime &time) const
{
    const qsizetype start = out.size();
    out.resize(start + m_maxLength);
    char16_t *begin = reinterpret_cast<char16_t *>(out.data());
    out.truncate(write(begin + start, date, time) - begin);
}

char16_t *CsvDateTimePattern::write(char16_t *out, const QDate &date, const QTime &time) const
{
    // QDate works out the year, month and day afresh on each call: once here.
    Parts parts;
    if (date.isValid()) {
        date.getDate(&parts.year, &parts.month, &parts.day);
        parts.dayOfWeek = date.dayOfWeek();
    }
    parts.hour = time.hour();
    parts.minute = time.minute();
    parts.second = time.second();
    return write(out, parts);
}

CsvDateTimePattern::Parts CsvDateTimePattern::partsOfStored(quint32 seconds)
{
    Parts parts;
    const unsigned days = seconds / 86400;
    const unsigned clock = seconds % 86400;
    parts.hour = int(clock / 3600);
    parts.minute = int(clock / 60 % 60);
    parts.second = int(clock % 60);
    // 1904-01-01 was a Friday.
    parts.dayOfWeek = int((days + 4) % 7) + 1;
    // Days since 1904 as days since 0000-03-01 of the proleptic Gregorian
    // calendar, then years of 400, 100, 4 and 1 (March to February, so that
    // the leap day comes last). Every number fits 32 bits.
    const unsigned z = days + 695361;
    const unsigned era = z / 146097;
    const unsigned dayOfEra = z - era * 146097;
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthFromMarch = (5 * dayOfYear + 2) / 153;
    parts.day = int(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    parts.month = int(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    parts.year = int(yearOfEra + era * 400 + (parts.month <= 2 ? 1 : 0));
    return parts;
}

char16_t *CsvDateTimePattern::write(char16_t *out, const Parts &parts) const
{
    // Written by hand into memory the caller holds: a QString per part would
    // cost an allocation for every part of every date in a large export.
    for (const Token &token : m_tokens) {
        switch (token.kind) {
        case Kind::Literal:
            out = writeText(out, token.text);
            break;
        case Kind::Day:
            out = writeNumber(out, parts.day, token.width);
            break;
        case Kind::DayName:
            if (parts.dayOfWeek >= 1 && parts.dayOfWeek <= 7)
                out = writeText(out, m_dayNames[token.width == 4].at(parts.dayOfWeek - 1));
            break;
        case Kind::Month:
            out = writeNumber(out, parts.month, token.width);
            break;
        case Kind::MonthName:
            if (parts.month >= 1 && parts.month <= 12)
                out = writeText(out, m_monthNames[token.width == 4].at(parts.month - 1));
            break;
        case Kind::Year:
            out = writeNumber(out, parts.year, 4);
            break;
        case Kind::Hour:
            out = writeNumber(out, parts.hour, token.width);
            break;
        case Kind::Hour12:
            out = writeNumber(out, parts.hour % 12 == 0 ? 12 : parts.hour % 12, token.width);
            break;
        case Kind::Minute:
            out = writeNumber(out, parts.minute, token.width);
            break;
        case Kind::Second:
            out = writeNumber(out, parts.second, token.width);
            break;
        case Kind::AmPm:
            out = writeText(out, m_amPmCased[parts.hour >= 12][token.upper]);
            break;
        }
    }
    return out;
}

bool CsvDateTimePattern::readNumber(QStringView text, qsizetype &pos, int maxDigits, int &value)
{
    int digits = 0;
    value = 0;
    while (digits < maxDigits && pos < text.size() && text[pos] >= QLatin1Char('0') &&
           text[pos] <= QLatin1Char('9')) {
        value = value * 10 + (text[pos].unicode() - '0');
        ++pos;
        ++digits;
    }
    return digits > 0;
}

bool CsvDateTimePattern::startsWithName(QStringView text, QStringView name)
{
    // ASCII against ASCII compares as lower case; anything else takes Qt's
    // case folding.
    if (text.size() < name.size())
        return text.startsWith(name, Qt::CaseInsensitive);
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t a = text[i].unicode();
        const char16_t b = name[i].unicode();
        if (a >= 0x80 || b >= 0x80)
            return text.startsWith(name, Qt::CaseInsensitive);
        const auto lower = [](char16_t c) {
            return c >= u'A' && c <= u'Z' ? char16_t(c | 0x20) : c;
        };
        if (lower(a) != lower(b))
            return false;
    }
    return true;
}

int CsvDateTimePattern::matchName(QStringView text, qsizetype &pos, const QStringList &names)
{
    int best = -1;
    qsizetype bestLength = 0;
    const QStringView rest = text.mid(pos);
    if (rest.isEmpty())
        return -1;
    // Two ASCII letters that differ in more than case differ after case
    // folding too: most names are turned away by their first letter without
    // the full comparison.
    const auto asciiLower = [](char16_t c) {
        return c >= u'A' && c <= u'Z' ? char16_t(c | 0x20) : c;
    };
    const char16_t first = rest.front().unicode();
    for (qsizetype k = 0; k < names.size(); ++k) {
        const QString &name = names.at(k);
        if (name.isEmpty() || name.size() <= bestLength)
            continue;
        const char16_t nameFirst = name.front().unicode();
        if (first < 0x80 && nameFirst < 0x80 && asciiLower(first) != asciiLower(nameFirst))
            continue;
        if (startsWithName(rest, name)) {
            best = int(k);
            bestLength = name.size();
        }
    }
    pos += bestLength;
    return best;
}

bool CsvDateTimePattern::parse(QStringView text, qsizetype &pos, Parsed &parsed) const
{
    for (const Token &token : m_tokens) {
        switch (token.kind) {
        case Kind::Literal: {
            // Compared in place: most literals are one separator.
            const qsizetype size = token.text.size();
            if (text.size() - pos < size ||
                !std::equal(token.text.cbegin(), token.text.cend(), text.begin() + pos))
                return false;
            pos += size;
            break;
        }
        case Kind::Day:
            if (!readNumber(text, pos, 2, parsed.day))
                return false;
            break;
        case Kind::DayName:
            if (matchName(text, pos, m_dayNames[token.width == 4]) < 0)
                return false;
            break;
        case Kind::Month:
            if (!readNumber(text, pos, 2, parsed.month))
                return false;
            break;
        case Kind::MonthName:
            parsed.month = matchName(text, pos, m_monthNames[token.width == 4]) + 1;
            if (parsed.month == 0)
                return false;
            break;
        case Kind::Year:
            if (!readNumber(text, pos, 4, parsed.year))
                return false;
            break;
        case Kind::Hour:
        case Kind::Hour12:
            if (!readNumber(text, pos, 2, parsed.hour))
                return false;
            break;
        case Kind::Minute:
            if (!readNumber(text, pos, 2, parsed.minute))
                return false;
            break;
        case Kind::Second:
            if (!readNumber(text, pos, 2, parsed.second))
                return false;
            break;
        case Kind::AmPm:
            parsed.amPm = matchName(text, pos, m_amPm);
            if (parsed.amPm < 0)
                return false;
            break;
        }
    }
    return true;
}

} // namespace Ledgerly
