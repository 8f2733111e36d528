#include "YesNoText.h"

namespace Ledgerly {

namespace {

bool is(QStringView text, QLatin1String word)
{
    // Case folding keeps the length; most words are told apart by it.
    return text.size() == word.size() && text.compare(word, Qt::CaseInsensitive) == 0;
}

} // namespace

YesNoText::Answer YesNoText::read(QStringView text, int forms)
{
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return Answer::Unreadable;
    if (forms & TrueFalse) {
        if (is(t, QLatin1String("True")))
            return Answer::Yes;
        if (is(t, QLatin1String("False")))
            return Answer::No;
    }
    if (forms & YesNo) {
        if (is(t, QLatin1String("Yes")) || is(t, QLatin1String("Y")))
            return Answer::Yes;
        if (is(t, QLatin1String("No")) || is(t, QLatin1String("N")))
            return Answer::No;
    }
    if (forms & Numbers) {
        bool ok = false;
        const double number = t.toDouble(&ok);
        if (ok)
            return number != 0.0 ? Answer::Yes : Answer::No;
    } else if (forms & Binary) {
        if (t == u"1")
            return Answer::Yes;
        if (t == u"0")
            return Answer::No;
    }
    return Answer::Unreadable;
}

QVariant YesNoText::value(QStringView text, int forms)
{
    switch (read(text, forms)) {
    case Answer::Yes:
        return true;
    case Answer::No:
        return false;
    case Answer::Unreadable:
        break;
    }
    return {};
}

QString YesNoText::text(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace Ledgerly
