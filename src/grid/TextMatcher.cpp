#include "TextMatcher.h"

#include "BoundedRegex.h"

namespace Ledgerly {

TextMatcher::TextMatcher(const FindOptions &options)
    : m_options(options)
{
    if (!m_options.regex || m_options.text.isEmpty())
        return;
    const auto flags = m_options.matchCase ? QRegularExpression::NoPatternOption
                                           : QRegularExpression::CaseInsensitiveOption;
    // Checked as typed first, so a mistake is reported where the person made it.
    if (BoundedRegex::compile(m_options.text, flags, &m_regex, &m_error) && m_options.wholeCell)
        BoundedRegex::compile(QRegularExpression::anchoredPattern(m_options.text), flags, &m_regex,
                              &m_error);
}

bool TextMatcher::findsPlainText() const
{
    return !m_options.regex && !m_options.wholeCell;
}

bool TextMatcher::matches(QStringView text) const
{
    if (isEmpty() || !isValid())
        return false;
    if (m_options.regex)
        return m_regex.match(text).hasMatch();
    const Qt::CaseSensitivity cs = caseSensitivity();
    if (m_options.wholeCell)
        return text.compare(m_options.text, cs) == 0;
    return text.contains(m_options.text, cs);
}

QString TextMatcher::replaced(const QString &text, const QString &with) const
{
    if (!matches(text))
        return text;
    if (m_options.regex)
        return QString(text).replace(m_regex, with);
    if (m_options.wholeCell)
        return with;
    const Qt::CaseSensitivity cs = caseSensitivity();
    return QString(text).replace(m_options.text, with, cs);
}

} // namespace Ledgerly
