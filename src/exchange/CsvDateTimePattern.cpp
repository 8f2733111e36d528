#include "CsvDateTimePattern.h"

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
}

void CsvDateTimePattern::appendNumber(QString &out, int value, int width)
{
    // Written by hand: a QString per number would cost an allocation for
    // every part of every date in a large export.
    char16_t digits[12];
    int count = 0;
    unsigned magnitude = value < 0 ? 0u - unsigned(value) : unsigned(value);
    do {
        digits[count++] = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0 && count < 11);
    if (value < 0)
        out += QLatin1Char('-');
    for (int k = count; k < width; ++k)
        out += QLatin1Char('0');
    while (count > 0)
        out += QChar(digits[--count]);
}

void CsvDateTimePattern::append(QString &out, const QDate &date, const QTime &time) const
{
    for (const Token &token : m_tokens) {
        switch (token.kind) {
        case Kind::Literal:
            out += token.text;
            break;
        case Kind::Day:
            appendNumber(out, date.day(), token.width);
            break;
        case Kind::DayName:
            out += m_dayNames[token.width == 4].value(date.dayOfWeek() - 1);
            break;
        case Kind::Month:
            appendNumber(out, date.month(), token.width);
            break;
        case Kind::MonthName:
            out += m_monthNames[token.width == 4].value(date.month() - 1);
            break;
        case Kind::Year:
            appendNumber(out, date.year(), 4);
            break;
        case Kind::Hour:
            appendNumber(out, time.hour(), token.width);
            break;
        case Kind::Hour12:
            appendNumber(out, time.hour() % 12 == 0 ? 12 : time.hour() % 12, token.width);
            break;
        case Kind::Minute:
            appendNumber(out, time.minute(), token.width);
            break;
        case Kind::Second:
            appendNumber(out, time.second(), token.width);
            break;
        case Kind::AmPm: {
            const QString &text = time.hour() < 12 ? m_am : m_pm;
            out += token.upper ? text.toUpper() : text.toLower();
            break;
        }
        }
    }
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

int CsvDateTimePattern::matchName(QStringView text, qsizetype &pos, const QStringList &names)
{
    int best = -1;
    qsizetype bestLength = 0;
    const QStringView rest = text.mid(pos);
    for (qsizetype k = 0; k < names.size(); ++k) {
        const QString &name = names.at(k);
        if (!name.isEmpty() && name.size() > bestLength &&
            rest.startsWith(name, Qt::CaseInsensitive)) {
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
        case Kind::Literal:
            if (!text.mid(pos).startsWith(token.text))
                return false;
            pos += token.text.size();
            break;
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
            parsed.amPm = matchName(text, pos, {m_am, m_pm});
            if (parsed.amPm < 0)
                return false;
            break;
        }
    }
    return true;
}

} // namespace Ledgerly
