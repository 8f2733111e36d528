#include "app/DocumentOpener.h"
#include "app/FileRegistry.h"
#include "app/MainController.h"
#include "app/ProgramFolder.h"
#include "app/ProgramLauncher.h"
#include "app/SettingsStore.h"
#include "app/WindowsRegistry.h"
#include "app/widgets/WidgetPrompter.h"
#include "app/widgets/frmMain.h"
#include "database/RecordServer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QListWidget>
#include <QTimer>

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
    // Writes pictures of the window and the about box into DIR and ends; used
    // to make the pictures of the documentation.
    QCommandLineOption screenshotOption(QStringLiteral("screenshot"),
                                        QStringLiteral("Save screenshots into DIR and quit."),
                                        QStringLiteral("DIR"));
    screenshotOption.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(programFolderOption);
    parser.addOption(screenshotOption);
    parser.addOption(homeOption);
    parser.process(app);

    const QString programFolder =
        resolveProgramFolder(parser.value(programFolderOption), QApplication::applicationDirPath());
    RecordServer server(RecordServer::defaultHotSyncHome(parser.value(homeOption)));
    QSettingsStore settings;
    WidgetPrompter prompter;
    MainController controller(server, settings, prompter);
    prompter.setTitleSource([&controller] { return controller.state().AppName; });
#ifdef Q_OS_WIN
    WindowsRegistry registry;
#else
    FileRegistry registry;
#endif
    ProcessLauncher launcher;
    DesktopDocumentOpener opener;

    frmMain window({controller, prompter, registry, launcher, opener, programFolder});
    prompter.setParentWidget(&window);
    const QString screenshotFolder = parser.value(screenshotOption);
    if (!screenshotFolder.isEmpty())
        window.setModalShower([screenshotFolder](QDialog &dialog) {
            dialog.show();
            // The preview lives only while it is shown, so it is taken now.
            if (dialog.objectName() == QLatin1String("PrintPreview")) {
                QCoreApplication::processEvents();
                dialog.grab().save(
                    QDir(screenshotFolder).filePath(QStringLiteral("screenshot-preview.png")));
            }
        });
    window.show();
    window.Form_Load();
    // A damaged database ends the program during start-up already.
    if (controller.isQuitRequested())
        return 1;
    if (!screenshotFolder.isEmpty()) {
        QTimer::singleShot(1500, &window, [&window, &app, screenshotFolder] {
            const QDir folder(screenshotFolder);
            window.SmartMenuXP1_MenuItemClick(QStringLiteral("keyPrintPreview"));
            bool saved = window.grab().save(folder.filePath(QStringLiteral("screenshot-main.png")));
            if (QWidget *about = window.aboutBox())
                saved =
                    about->grab().save(folder.filePath(QStringLiteral("screenshot-about.png"))) &&
                    saved;
            // The schema editor on the second database, whose keys the
            // problem list has something to say about.
            window.SmartMenuXP1_MenuItemClick(QStringLiteral("keyEditSchema"));
            if (SchemaEditor *editor = window.schemaEditor()) {
                editor->selectSection(1);
                editor->problemsView()->setCurrentRow(0);
                QCoreApplication::processEvents();
                saved = editor->grab().save(
                            folder.filePath(QStringLiteral("screenshot-schema-editor.png"))) &&
                        saved;
            }
            app.exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
