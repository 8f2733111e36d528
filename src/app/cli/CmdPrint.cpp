#include "CliCommand.h"
#include "CliSession.h"
#include "CliViews.h"

#include "app/MainController.h"
#include "output/PdfExport.h"

#include <QFileInfo>

namespace Ledgerly::Cli {

namespace {

int runPrint(CliContext &ctx)
{
    if (ctx.arguments.size() != 2)
        throw UsageError{QStringLiteral("print needs a section and an output file")};
    const QString section = ctx.arguments.at(0);
    CliSession session(ctx);
    if (!session.openExistingOrReport(section))
        return 1;
    MainController &controller = session.controller();
    if (!applyViewOptions(ctx, controller))
        return 1;
    // As "Group Fields" groups the table in the window.
    controller.setGrouped(ctx.flags.contains(QStringLiteral("group")));
    PdfExport::Options options;
    options.title = controller.catalogue().displayName(controller.currentSection());
    if (ctx.flags.contains(QStringLiteral("landscape")))
        options.orientation = QPageLayout::Landscape;
    const QString path = QFileInfo(ctx.arguments.at(1)).absoluteFilePath();
    QString error;
    if (!PdfExport::writeFile(*controller.viewModel(), options, path, &error)) {
        ctx.err << "ledgerly-cli: " << error << "\n";
        return 1;
    }
    ctx.out << "Printed " << options.title << " to " << path << "\n";
    return 0;
}

const CliRegistration registration(CliCommand{
    QStringLiteral("print"),
    QStringLiteral("print SECTION OUT.pdf [--user NAME] [--group] [--landscape]\n"
                   "        [--sort FIELD[:desc]]... [--filter FIELD=TEXT]..."),
    QStringLiteral("Writes the pages Print Preview shows for SECTION's database to a PDF\n"
                   "file (visible columns only; --landscape turns the pages). --sort and\n"
                   "--filter show the records as the table's header and filter row do,\n"
                   "for example --sort Amount:desc --filter 'Category==Fuel'. A database\n"
                   "whose file is missing is an error; only create makes one."),
    {QStringLiteral("group"), QStringLiteral("landscape")},
    {QStringLiteral("user"), QStringLiteral("sort"), QStringLiteral("filter")},
    runPrint});

} // namespace

} // namespace Ledgerly::Cli
