#include "CliCommand.h"

#include "catalogue/IniTextFile.h"
#include "catalogue/SchemaCheck.h"
#include "database/RecordServer.h"
#include "document/DatabaseAdoption.h"

#include <QDir>

namespace Ledgerly::Cli {

namespace {

QString schemaPath(const CliContext &ctx)
{
    return ctx.programFolder + QStringLiteral("/QuayDB.ini");
}

// False after saying why the schema file cannot be used.
bool readSchema(CliContext &ctx, const QString &path, IniText *text, bool mustExist)
{
    QString problem;
    switch (IniTextFile::read(path, text, &problem)) {
    case IniTextFile::ReadResult::Read:
        return true;
    case IniTextFile::ReadResult::Missing:
        if (!mustExist)
            return true;
        ctx.err << "ledgerly-cli: no schema file " << QDir::toNativeSeparators(path) << "\n";
        return false;
    case IniTextFile::ReadResult::Refused:
        break;
    }
    ctx.err << "ledgerly-cli: " << problem << "\n";
    return false;
}

int runCheck(CliContext &ctx)
{
    if (ctx.arguments.size() > 1)
        throw UsageError{QStringLiteral("schema check takes at most one file")};
    const QString path = ctx.arguments.isEmpty() ? schemaPath(ctx) : ctx.arguments.first();
    IniText text;
    if (!readSchema(ctx, path, &text, true))
        return 1;
    const QList<IniProblem> problems = checkSchemaFile(text);
    const QString shown = QDir::toNativeSeparators(path);
    for (const IniProblem &problem : problems)
        ctx.out << shown << ':' << problem.line + 1 << ": " << problem.text << "\n";
    if (problems.isEmpty())
        ctx.out << shown << ": no problems\n";
    return problems.isEmpty() ? 0 : 1;
}

int runAdd(CliContext &ctx)
{
    if (ctx.arguments.size() != 1)
        throw UsageError{QStringLiteral("schema add takes exactly one database file")};
    RecordServer server(ctx.hotSyncHome);
    DatabaseAdoption adoption = DatabaseAdoption::read(server, ctx.arguments.first());
    if (ctx.values.contains(QStringLiteral("section")))
        adoption.section = ctx.values.value(QStringLiteral("section"));
    const QStringList captions = ctx.repeated.value(QStringLiteral("caption"));
    for (const QString &caption : captions) {
        const qsizetype eq = caption.indexOf(QLatin1Char('='));
        if (eq <= 0)
            throw UsageError{QStringLiteral("--caption wants FIELD=TEXT, not ") + caption};
        const QString problem = adoption.setCaption(caption.left(eq), caption.mid(eq + 1));
        if (!problem.isEmpty()) {
            ctx.err << "ledgerly-cli: " << problem << "\n";
            return 1;
        }
    }

    const QString path = schemaPath(ctx);
    IniText schema;
    if (!readSchema(ctx, path, &schema, false))
        return 1;
    int added = -1;
    if (const QString problem = adoption.addTo(schema, &added); !problem.isEmpty()) {
        ctx.err << "ledgerly-cli: " << problem << "; nothing was added\n";
        return 1;
    }

    const QString user = ctx.values.contains(QStringLiteral("user"))
                             ? ctx.values.value(QStringLiteral("user"))
                             : server.GetDefaultUser();
    const QString folder = server.GetUserFolder(user);
    if (!adoption.isIn(folder)) {
        if (!ctx.flags.contains(QStringLiteral("copy"))) {
            ctx.err << "ledgerly-cli: note: " << QDir::toNativeSeparators(adoption.file)
                    << " is not in the HotSync folder of " << user << "; the window opens "
                    << QDir::toNativeSeparators(adoption.pathIn(folder))
                    << " (give --copy to copy it there)\n";
        } else if (const SafeFile::Result copied = adoption.copyTo(folder); !copied.ok()) {
            ctx.err << "ledgerly-cli: " << copied.message << "; nothing was added\n";
            return 1;
        }
    }
    if (const SafeFile::Result written = IniTextFile::write(path, schema); !written.ok()) {
        ctx.err << "ledgerly-cli: " << written.message << "\n";
        return 1;
    }
    ctx.out << "Added [" << adoption.section << "] \"" << adoption.displayName << "\" with "
            << adoption.fields.size() << " fields to " << QDir::toNativeSeparators(path) << "\n";
    return 0;
}

const CliRegistration check(CliCommand{
    QStringLiteral("schema check"),
    QStringLiteral("schema check [FILE]"),
    QStringLiteral("Lists, with their line numbers, the places where the program reads a schema\n"
                   "file (default: the program folder's QuayDB.ini) other than it looks: keys\n"
                   "out of order, role keys and fields without each other, odd key counts,\n"
                   "unknown role values, Calc before Group, repeats, names past the 4096-\n"
                   "character limits, names that cannot be file names. Exit status 1 when\n"
                   "there are any."),
    {},
    {},
    runCheck});

const CliRegistration add(CliCommand{
    QStringLiteral("schema add"),
    QStringLiteral("schema add FILE.pdb [--section NAME] [--caption FIELD=TEXT]... [--copy] "
                   "[--user NAME]"),
    QStringLiteral("Adds a section for a database file to QuayDB.ini: named after the file (or\n"
                   "NAME), its fields' names as captions (or TEXT), every field shown, the\n"
                   "database's own name as display name. Refuses a section that is there.\n"
                   "--copy copies the file into the user's HotSync folder when it is not there."),
    {QStringLiteral("copy")},
    {QStringLiteral("section"), QStringLiteral("caption"), QStringLiteral("user")},
    runAdd});

} // namespace

} // namespace Ledgerly::Cli
