#include "CliCommand.h"

#include "app/ProgramFiles.h"
#include "catalogue/Catalogue.h"
#include "catalogue/IniFile.h"
#include "catalogue/SchemaRules.h"

#include <QFileInfo>

namespace Ledgerly::Cli {

namespace {

int runList(CliContext &ctx)
{
    if (!ctx.arguments.isEmpty())
        throw UsageError{QStringLiteral("list takes no arguments")};

    const QString schemaFile = ProgramFiles::schemaFile(ctx.programFolder);
    // The window shows an empty chooser for a missing schema file; here that
    // silence would hide a wrong --program-folder, so it is an error.
    if (!QFileInfo::exists(schemaFile)) {
        ctx.err << "ledgerly-cli: no schema file " << schemaFile << "\n";
        return 1;
    }
    const QString problem = iniFileProblem(schemaFile);
    if (!problem.isEmpty()) {
        ctx.err << "ledgerly-cli: the schema file cannot be read. " << problem << "\n";
        return 1;
    }
    const Catalogue catalogue = Catalogue::build(schemaFile);
    for (int i = 0; i < catalogue.count(); ++i) {
        ctx.out << i << '\t' << catalogue.section(i) << '\t' << catalogue.displayName(i) << '\t'
                << catalogue.schemaSection(i).fieldCount() << '\n';
    }
    return 0;
}

const CliRegistration registration(CliCommand{
    QStringLiteral("list"),
    QStringLiteral("list"),
    QStringLiteral("One line per database of the program folder's QuayDB.ini: index (from 0),\n"
                   "section, display name and field count, separated by tabs."),
    {},
    {},
    runList});

} // namespace

} // namespace Ledgerly::Cli
