#include "CliCommand.h"
#include "CliSession.h"
#include "CliViews.h"

#include "app/MainController.h"
#include "grid/FindReplace.h"
#include "grid/GridModel.h"

#include <QSet>

namespace Ledgerly::Cli {

namespace {

FindOptions findOptions(const CliContext &ctx, const QString &text)
{
    return {text, ctx.flags.contains(QStringLiteral("match-case")),
            ctx.flags.contains(QStringLiteral("whole-cell")),
            ctx.flags.contains(QStringLiteral("regex"))};
}

// What find and replace search with, where, and what they found.
struct Search
{
    TextMatcher matcher;
    FindReplace::Scope scope;
    QList<FindReplace::Match> matches;
    bool gaveUp = false; // a regular expression ran out of time
};

// Searches the open table for text as the options say; false after printing
// why nothing can be searched.
bool search(CliContext &ctx, MainController &controller, const QString &text, Search *out)
{
    const int field = fieldOption(ctx, controller);
    if (field < 0)
        return false;
    out->matcher = TextMatcher(findOptions(ctx, text));
    if (!out->matcher.isValid()) {
        ctx.err << "ledgerly-cli: " << out->matcher.error() << "\n";
        return false;
    }
    if (out->matcher.isEmpty()) {
        ctx.err << "ledgerly-cli: there is nothing to find\n";
        return false;
    }
    out->scope =
        FindReplace::tableScope(controller.grid(), field > 0 ? QList<int>{field} : QList<int>{});
    if (out->scope.columns.isEmpty()) {
        ctx.err << "ledgerly-cli: that field holds no text to search\n";
        return false;
    }
    out->matches = FindReplace::findAll(controller.grid(), out->scope, out->matcher, &out->gaveUp);
    return true;
}

int runFind(CliContext &ctx)
{
    if (ctx.arguments.size() != 2)
        throw UsageError{QStringLiteral("find needs a section and the text to find")};
    CliSession session(ctx);
    if (!session.openExistingOrReport(ctx.arguments.first()))
        return 1;
    MainController &controller = session.controller();
    Search found;
    if (!search(ctx, controller, ctx.arguments.at(1), &found))
        return 1;
    if (found.gaveUp)
        ctx.err << "ledgerly-cli: the regular expression took too long; not every record "
                   "was searched\n";
    if (found.matches.isEmpty()) {
        ctx.err << "ledgerly-cli: no record matches\n";
        return 1;
    }
    // Each matching record once, with every shown value, numbered as the
    // table's record-number column numbers it.
    const GridModel &table = controller.grid();
    const FindReplace::Scope shown = FindReplace::tableScope(table);
    QStringList header{QStringLiteral("Record")};
    for (int c : shown.columns)
        header.append(table.column(c).caption);
    ctx.out << header.join(QLatin1Char('\t')) << "\n";
    QSet<int> printed;
    for (const FindReplace::Match &match : std::as_const(found.matches)) {
        const int row = found.scope.tableRows.at(match.position);
        if (printed.contains(row))
            continue;
        printed.insert(row);
        QStringList line{QString::number(row + 1)};
        for (int c : shown.columns)
            line.append(FindReplace::cellText(table, row, c)
                            .replace(QLatin1Char('\t'), QLatin1Char(' '))
                            .replace(QLatin1Char('\n'), QLatin1Char(' ')));
        ctx.out << line.join(QLatin1Char('\t')) << "\n";
    }
    return 0;
}

int runReplace(CliContext &ctx)
{
    if (ctx.arguments.size() != 3)
        throw UsageError{
            QStringLiteral("replace needs a section, the text to find and its replacement")};
    const QString section = ctx.arguments.first();
    CliSession session(ctx);
    if (!session.openForChangeOrReport(section))
        return 1;
    MainController &controller = session.controller();
    Search found;
    if (!search(ctx, controller, ctx.arguments.at(1), &found))
        return 1;
    if (found.gaveUp) {
        // Replacing in only some records would leave the file half done.
        ctx.err << "ledgerly-cli: the regular expression took too long; nothing was replaced\n";
        return 1;
    }
    const FindReplace::ReplaceResult result =
        FindReplace::replace(controller.document().editor(), found.scope, found.matches,
                             found.matcher, ctx.arguments.at(2), QStringLiteral("Replace All"));
    if (result.changed > 0 && !controller.SaveDatabase()) {
        ctx.err << "ledgerly-cli: " << controller.CurrentPath() << " was not saved\n";
        return 1;
    }
    ctx.out << "Replaced " << result.changed << " cell(s); " << result.skipped
            << " skipped (the replaced text does not read in the field's kind)\n";
    return 0;
}

const QStringList matchFlags{QStringLiteral("regex"), QStringLiteral("match-case"),
                             QStringLiteral("whole-cell")};

const CliRegistration findRegistration(CliCommand{
    QStringLiteral("find"),
    QStringLiteral("find SECTION TEXT [--field F] [--regex] [--match-case] [--whole-cell]\n"
                   "        [--user NAME]"),
    QStringLiteral("Prints the number and shown values of every record of SECTION's database\n"
                   "with a cell that contains TEXT (case ignored unless --match-case; --field\n"
                   "searches one field only). Exit status 1 when none does."),
    matchFlags,
    {QStringLiteral("user"), QStringLiteral("field")},
    runFind});

const CliRegistration replaceRegistration(CliCommand{
    QStringLiteral("replace"),
    QStringLiteral("replace SECTION FIND WITH [--field F] [--regex] [--match-case] "
                   "[--whole-cell]\n        [--user NAME]"),
    QStringLiteral("Replaces FIND with WITH in every cell of SECTION's database, as Replace All\n"
                   "does (with --regex, \\1... in WITH are the expression's groups), and saves\n"
                   "it. A cell whose new text does not read in its field's kind (a date, a\n"
                   "yes/no) is left as it was and counted as skipped; pictures are never touched."),
    matchFlags,
    {QStringLiteral("user"), QStringLiteral("field")},
    runReplace});

} // namespace

} // namespace Ledgerly::Cli
