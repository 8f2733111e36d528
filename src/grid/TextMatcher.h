#pragma once

#include <QRegularExpression>
#include <QString>

namespace Ledgerly {

// What the find bar looks for.
struct FindOptions
{
    QString text;
    bool matchCase = false;
    bool wholeCell = false; // the cell's whole text, not a part of it
    bool regex = false;     // text is a regular expression
};

// Finds and replaces the find bar's text in a cell's text.
class TextMatcher
{
public:
    TextMatcher() = default;
    explicit TextMatcher(const FindOptions &options);

    // Nothing to find: an empty text.
    bool isEmpty() const { return m_options.text.isEmpty(); }
    bool isValid() const { return m_error.isEmpty(); }
    const QString &error() const { return m_error; }
    const FindOptions &options() const { return m_options; }

    bool matches(QStringView text) const;
    // Whether a match is finding the text anywhere in a cell, with the case
    // as asked: a search a whole column can answer in one pass.
    bool findsPlainText() const;
    Qt::CaseSensitivity caseSensitivity() const
    {
        return m_options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    }
    // The text with every match replaced; with a regular expression \1 ...
    // stand for its groups. The text itself when nothing matches.
    QString replaced(const QString &text, const QString &with) const;

private:
    FindOptions m_options;
    QRegularExpression m_regex;
    QString m_error;
};

} // namespace Ledgerly
