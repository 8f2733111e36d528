// Opens the main window on a program folder and a HotSync home, as the
// program does, and saves pictures of it for the documentation: the window
// ("main"), the window grouped ("grouped"), the filter row and the find bar
// ("find"), a whole page of the grouped table in the print preview
// ("preview"), the about box ("about") and the schema editor
// ("schema-editor"). Nothing is written but the pictures and settings in a
// temporary folder; a question the window would ask is answered with its
// default.
#include "app/DocumentOpener.h"
#include "app/FileRegistry.h"
#include "app/MainController.h"
#include "app/ProgramLauncher.h"
#include "app/SettingsStore.h"
#include "app/widgets/SchemaEditor.h"
#include "app/widgets/TableTools.h"
#include "app/widgets/WidgetPrompter.h"
#include "app/widgets/frmMain.h"
#include "database/RecordServer.h"
#include "grid/GridModel.h"
#include "grid/widgets/FilterHeader.h"
#include "grid/widgets/FindBar.h"
#include "output/widgets/PageView.h"
#include "output/widgets/PrintPreview.h"

#include <QApplication>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

using namespace Ledgerly;

namespace {

class NoLauncher : public ProgramLauncher
{
public:
    bool startDetached(const QString &, const QStringList &, QString *) override { return false; }
};

class NoOpener : public DocumentOpener
{
public:
    bool openDocument(const QString &, bool) override { return false; }
};

void settle()
{
    // Layouts and timers (the find bar's count, the status bar's panels)
    // settle over several passes of the event loop, not one.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ledgerly"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Saves pictures of the Ledgerly window: main, grouped, preview, about, "
                       "schema-editor."));
    parser.addHelpOption();
    const QCommandLineOption programOption(
        QStringLiteral("program-folder"), QStringLiteral("Program folder."), QStringLiteral("DIR"));
    const QCommandLineOption homeOption(QStringLiteral("hotsync-home"),
                                        QStringLiteral("HotSync home."), QStringLiteral("DIR"));
    const QCommandLineOption outOption(
        QStringLiteral("out"), QStringLiteral("Folder for the pictures."), QStringLiteral("DIR"));
    parser.addOption(programOption);
    parser.addOption(homeOption);
    parser.addOption(outOption);
    parser.addPositionalArgument(
        QStringLiteral("scenes"),
        QStringLiteral("main, grouped, find, preview, about, schema-editor (default: all)."));
    parser.process(app);
    QStringList scenes = parser.positionalArguments();
    if (scenes.isEmpty())
        scenes = {QStringLiteral("main"),  QStringLiteral("grouped"),
                  QStringLiteral("find"),  QStringLiteral("preview"),
                  QStringLiteral("about"), QStringLiteral("schema-editor")};
    QTextStream err(stderr);
    if (!parser.isSet(programOption) || !parser.isSet(homeOption) || !parser.isSet(outOption)) {
        err << "ledgerly-screenshots: --program-folder, --hotsync-home and --out are needed\n";
        return 2;
    }
    const QDir out(parser.value(outOption));
    QDir().mkpath(out.path());

    // The home is copied, so that nothing the window does reaches the samples.
    QTemporaryDir scratch;
    const QString home = scratch.filePath(QStringLiteral("home"));
    if (QProcess::execute(QStringLiteral("cp"),
                          {QStringLiteral("-a"), parser.value(homeOption), home}) != 0) {
        err << "ledgerly-screenshots: the HotSync home could not be copied\n";
        return 1;
    }
    RecordServer server(home);
    QSettingsStore settings(scratch.filePath(QStringLiteral("settings")));
    WidgetPrompter prompter;
    FileRegistry registry(scratch.filePath(QStringLiteral("registry.json")));
    NoLauncher launcher;
    NoOpener opener;
    MainController controller({server, settings, prompter, registry, launcher});
    frmMain window({controller, prompter, launcher, opener, parser.value(programOption)});
    prompter.setParentWidget(&window);

    bool saved = true;
    auto save = [&](QWidget &widget, const QString &scene) {
        settle();
        const QString file = out.filePath(QStringLiteral("screenshot-%1.png").arg(scene));
        if (!widget.grab().save(file)) {
            err << "ledgerly-screenshots: " << file << " could not be written\n";
            saved = false;
        }
    };
    // Modal windows are shown and pictured instead of waited for.
    window.setModalShower([&](QDialog &dialog) {
        dialog.show();
        auto *preview = qobject_cast<PrintPreview *>(&dialog);
        if (preview && scenes.contains(QStringLiteral("preview"))) {
            // A whole page: its title, captions, group rows with their
            // totals and the foot.
            preview->resize(preview->twipsToPixels(11600), preview->twipsToPixels(15000));
            settle();
            preview->viewer()->fitInView();
            save(dialog, QStringLiteral("preview"));
        }
    });
    window.show();
    window.Form_Load();
    if (controller.isQuitRequested())
        return 1;
    if (scenes.contains(QStringLiteral("about")) && window.aboutBox())
        save(*window.aboutBox(), QStringLiteral("about"));
    if (window.aboutBox())
        window.aboutBox()->close();
    if (scenes.contains(QStringLiteral("main")))
        save(window, QStringLiteral("main"));
    if (scenes.contains(QStringLiteral("grouped"))) {
        if (auto *box = window.findChild<QCheckBox *>(QStringLiteral("chkGroup")))
            box->click();
        save(window, QStringLiteral("grouped"));
        if (auto *box = window.findChild<QCheckBox *>(QStringLiteral("chkGroup")))
            box->click();
    }
    if (scenes.contains(QStringLiteral("find"))) {
        // Amounts of 40 and more, largest first, and the find bar on "fuel".
        TableTools &tools = window.tableTools();
        const int amount = GridRoles::columnNamed(controller.grid(), QStringLiteral("Amount"));
        controller.setSortKeys({{amount, Qt::DescendingOrder}});
        controller.setFilterRowShown(true);
        if (QLineEdit *box = tools.header().filterBox(amount)) {
            box->setText(QStringLiteral(">=40"));
            box->setCursorPosition(0);
        }
        window.SmartMenuXP1_MenuItemClick(QStringLiteral("keyReplace"));
        tools.findBar().findBox()->setText(QStringLiteral("fuel"));
        tools.findBar().replaceBox()->setText(QStringLiteral("Petrol"));
        tools.findBar().findNext();
        save(window, QStringLiteral("find"));
        tools.findBar().closeBar();
        controller.setFilterRowShown(false);
        controller.setSortKeys({});
    }
    if (scenes.contains(QStringLiteral("preview"))) {
        // The print of the grouped table, as the preview shows it.
        if (auto *box = window.findChild<QCheckBox *>(QStringLiteral("chkGroup")))
            box->click();
        window.SmartMenuXP1_MenuItemClick(QStringLiteral("keyPrintPreview"));
        // Ungrouped again for the pictures that follow.
        if (auto *box = window.findChild<QCheckBox *>(QStringLiteral("chkGroup")))
            box->click();
    }
    // The editor on the second database, about whose keys the problem list
    // has something to say. Nothing is saved, so the schema stays as it is.
    if (scenes.contains(QStringLiteral("schema-editor"))) {
        window.SmartMenuXP1_MenuItemClick(QStringLiteral("keyEditSchema"));
        if (SchemaEditor *editor = window.schemaEditor()) {
            editor->selectSection(1);
            editor->problemsView()->setCurrentRow(0);
            save(*editor, QStringLiteral("schema-editor"));
        }
    }
    return saved ? 0 : 1;
}
