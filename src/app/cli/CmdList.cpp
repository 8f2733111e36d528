#include "CliCommand.h"

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

    Catalogue catalogue;
    catalogue.FilenameF = ctx.programFolder + QStringLiteral("/QuayDB.ini");
    // The window shows an empty chooser for a missing schema file; here that
    // silence would hide a wrong --program-folder, so it is an error.
    if (!QFileInfo::exists(catalogue.FilenameF)) {
        ctx.err << "ledgerly-cli: no schema file " << catalogue.FilenameF << "\n";
        return 1;
    }
    const QString problem = iniFileProblem(catalogue.FilenameF);
    if (!problem.isEmpty()) {
        ctx.err << "ledgerly-cli: the schema file cannot be read. " << problem << "\n";
        return 1;
    }
    catalogue.BuildCatalogue();
    for (int i = 0; i < catalogue.Sectionslist.count(); ++i) {
        const QString section = catalogue.Sectionslist.item(i);
        const int keys = int(ListIniKeys(catalogue.FilenameF, section).size());
        ctx.out << i << '\t' << section << '\t' << catalogue.SectionListDBNam.item(i) << '\t'
                << schemaFieldCount(keys) << '\n';
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
