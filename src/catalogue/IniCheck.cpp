#include "IniCheck.h"

#include "IniDocument.h"
#include "IniFile.h"
#include "IniLine.h"
#include "IniText.h"

#include <QHash>

#include <algorithm>
#include <functional>

namespace Ledgerly {

namespace {

// Where a name list stops, by the reader's buffer: before an empty name, or
// where the names no longer fit.
void addCut(QList<IniProblem> &problems, int kept, const QStringList &names,
            const std::function<int(int)> &lineOf, const QString &noun, const QString &where)
{
    if (kept >= names.size())
        return;
    const QString &first = names.at(kept);
    if (first.isEmpty())
        problems.append({lineOf(kept), QStringLiteral("A %1 without a name ends the list of "
                                                      "%1s%2: the ones after it are never read")
                                           .arg(noun, where)});
    else
        problems.append({lineOf(kept), QStringLiteral("The list of %1s%2 is cut at %3 "
                                                      "characters: \"%4\" and the ones after it "
                                                      "are never read")
                                           .arg(noun, where)
                                           .arg(IniBufferSize)
                                           .arg(first.left(40))});
}

void checkSection(QList<IniProblem> &problems, const IniDocument &doc, int s)
{
    const QString where = QStringLiteral(" in [%1]").arg(doc.sectionNames().at(s));
    QHash<QString, int> seen;
    for (int i = 0; i < doc.keyCount(s); ++i) {
        const QString name = doc.keyName(s, i).toString();
        const int line = doc.keyLine(s, i);
        const QString folded = name.toCaseFolded();
        if (const auto found = seen.constFind(folded); found != seen.constEnd() && !name.isEmpty())
            problems.append({line, QStringLiteral("Key \"%1\" repeats \"%2\" of line %3 (case "
                                                  "ignored): only the first is read")
                                       .arg(name, doc.keyName(s, *found).toString())
                                       .arg(doc.keyLine(s, *found) + 1)});
        else
            seen.insert(folded, i);
        if (doc.keyValue(s, i).size() >= IniBufferSize)
            problems.append({line, QStringLiteral("The value of \"%1\" is longer than %2 "
                                                  "characters and is cut")
                                       .arg(name.left(40))
                                       .arg(IniBufferSize - 1)});
    }
    addCut(
        problems, countIniKeysAt(doc, s), doc.keyNames(s), [&](int i) { return doc.keyLine(s, i); },
        QStringLiteral("key"), where);
}

} // namespace

QList<IniProblem> checkIniFile(const IniText &text)
{
    QList<IniProblem> problems;
    const IniDocument &doc = text.document();
    const int firstHeader = doc.sectionCount() > 0 ? doc.sectionLine(0) : text.lineCount();
    for (int line = 0; line < firstHeader; ++line) {
        const IniLine parts = text.parts(line);
        if (parts.kind == IniLine::Entry)
            problems.append(
                {line, QStringLiteral("\"%1\" comes before the first section and is "
                                      "never read")
                           .arg(text.lineText(line).mid(parts.nameStart, parts.nameLength))});
    }

    QHash<QString, int> seen;
    for (int s = 0; s < doc.sectionCount(); ++s) {
        const QString &name = doc.sectionNames().at(s);
        const QString folded = name.toCaseFolded();
        if (const auto found = seen.constFind(folded); found != seen.constEnd() && !name.isEmpty())
            problems.append({doc.sectionLine(s),
                             QStringLiteral("Section [%1] repeats [%2] of line %3 (case ignored): "
                                            "only the first is read")
                                 .arg(name, doc.sectionNames().at(*found))
                                 .arg(doc.sectionLine(*found) + 1)});
        else
            seen.insert(folded, s);
        checkSection(problems, doc, s);
    }
    addCut(
        problems, int(listIniSections(doc).size()), doc.sectionNames(),
        [&](int s) { return doc.sectionLine(s); }, QStringLiteral("section"), QString());
    sortProblems(problems);
    return problems;
}

void sortProblems(QList<IniProblem> &problems)
{
    std::stable_sort(problems.begin(), problems.end(),
                     [](const IniProblem &a, const IniProblem &b) { return a.line < b.line; });
}

} // namespace Ledgerly
