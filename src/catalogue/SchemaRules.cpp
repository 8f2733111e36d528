#include "SchemaRules.h"

#include "common/YesNoText.h"

namespace Ledgerly {

int schemaFieldCount(int keyCount)
{
    // (keyCount - 1) / 2 with an exact half going to the even neighbour.
    // No keys at all gives -0.5, which rounds to no fields.
    const int twice = keyCount - 1;
    if (twice <= 0)
        return 0;
    const int whole = twice / 2;
    if (twice % 2 == 0)
        return whole;
    return whole % 2 == 0 ? whole : whole + 1;
}

bool fieldCountDiffersFromSchema(int fieldCount, int keyCount)
{
    // fieldCount == (keyCount - 1) / 2 exactly, kept in integers.
    return 2LL * fieldCount != qint64(keyCount) - 1;
}

namespace {

bool sameWord(const QString &value, QLatin1String word)
{
    return value.trimmed().compare(word, Qt::CaseInsensitive) == 0;
}

// "False" in any case, or a number equal to zero ("0", "0.0", "-0").
bool readsAsFalse(const QString &role)
{
    return YesNoText::read(role, YesNoText::TrueFalse | YesNoText::Numbers) ==
           YesNoText::Answer::No;
}

} // namespace

bool roleIsCalc(const QString &role)
{
    return sameWord(role, QLatin1String("Calc"));
}

bool roleIsGroup(const QString &role)
{
    return sameWord(role, QLatin1String("Group"));
}

bool roleHidesColumn(const QString &role)
{
    return !(readsAsFalse(role) || roleIsCalc(role) || roleIsGroup(role));
}

FieldRole fieldRole(const QString &roleValue)
{
    if (roleIsCalc(roleValue))
        return FieldRole::Calc;
    if (roleIsGroup(roleValue))
        return FieldRole::Group;
    return roleHidesColumn(roleValue) ? FieldRole::Hidden : FieldRole::Shown;
}

bool isSafeSectionName(const QString &section)
{
    if (section.isEmpty() || section.contains(QLatin1String("..")))
        return false;
    if (section.front().isSpace() || section.back().isSpace() || section.back() == u'.')
        return false;
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (const QChar c : section) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || forbidden.contains(c))
            return false;
    }
    return true;
}

} // namespace Ledgerly
