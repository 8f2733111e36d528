#include "CliViews.h"

#include "app/MainController.h"
#include "grid/GridModel.h"
#include "grid/RecordViewProxy.h"

namespace Ledgerly::Cli {

bool applyViewOptions(CliContext &ctx, MainController &controller)
{
    const GridModel &table = controller.grid();
    SortKeys keys;
    for (const QString &text : ctx.repeated.value(QStringLiteral("sort"))) {
        SortKey key;
        QString error;
        if (!SortKeyList::parse(table, text, &key, &error)) {
            ctx.err << "ledgerly-cli: --sort " << error << "\n";
            return false;
        }
        keys.append(key);
    }
    controller.setSortKeys(keys);
    RecordViewProxy &view = controller.recordView();
    for (const QString &option : ctx.repeated.value(QStringLiteral("filter"))) {
        const qsizetype equals = option.indexOf(QLatin1Char('='));
        const int column = equals > 0 ? GridRoles::columnNamed(table, option.left(equals)) : -1;
        if (column < 1) {
            ctx.err << "ledgerly-cli: --filter \"" << option
                    << "\" does not start with a field's name and =\n";
            return false;
        }
        view.setFilterText(column, option.mid(equals + 1));
        const QString error = view.filterError(column);
        if (!error.isEmpty()) {
            ctx.err << "ledgerly-cli: --filter \"" << option << "\": " << error << "\n";
            return false;
        }
    }
    return true;
}

int fieldOption(CliContext &ctx, MainController &controller)
{
    const QString name = ctx.values.value(QStringLiteral("field"));
    if (name.isEmpty())
        return 0;
    const int column = GridRoles::columnNamed(controller.grid(), name);
    if (column < 1)
        ctx.err << "ledgerly-cli: there is no field \"" << name << "\"\n";
    return column < 1 ? -1 : column;
}

} // namespace Ledgerly::Cli
