#include "app/DocumentOpener.h"
#include "app/MainController.h"
#include "app/PlatformRegistry.h"
#include "app/ProgramFolder.h"
#include "app/ProgramLauncher.h"
#include "app/SettingsStore.h"
#include "app/widgets/WidgetPrompter.h"
#include "app/widgets/frmMain.h"
#include "database/RecordServer.h"

#include <QApplication>
#include <QCommandLineParser>

#include <memory>

using namespace Ledgerly;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ledgerly"));
    QApplication::setApplicationVersion(QStringLiteral(LEDGERLY_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("ledgerly"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows and edits the handheld databases of a HotSync user."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption programFolderOption(
        QStringLiteral("program-folder"),
        QStringLiteral("Folder holding QuayDB.ini (default: beside the program, else the "
                       "installed data folder)."),
        QStringLiteral("DIR"));
    const QCommandLineOption homeOption(
        QStringLiteral("hotsync-home"),
        QStringLiteral("HotSync home (default: $HOTSYNC_HOME, else HotSync in the user's data "
                       "folder)."),
        QStringLiteral("DIR"));
    parser.addOption(programFolderOption);
    parser.addOption(homeOption);
    parser.process(app);

    const QString programFolder =
        resolveProgramFolder(parser.value(programFolderOption), QApplication::applicationDirPath());
    RecordServer server(RecordServer::defaultHotSyncHome(parser.value(homeOption)));
    QSettingsStore settings;
    WidgetPrompter prompter;
    const std::unique_ptr<RegistryBackend> registry = makePlatformRegistry();
    ProcessLauncher launcher;
    DesktopDocumentOpener opener;
    MainController controller({server, settings, prompter, *registry, launcher});
    prompter.setTitleSource([&controller] { return controller.state().AppName; });

    frmMain window({controller, prompter, launcher, opener, programFolder});
    prompter.setParentWidget(&window);
    window.show();
    window.Form_Load();
    // A damaged database ends the program during start-up already.
    if (controller.isQuitRequested())
        return 1;
    return app.exec();
}
