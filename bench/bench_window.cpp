// How the main window behaves with the largest database open: the time from
// choosing it to its first rows on screen, the longest stall while scrolling
// and resizing, the memory the open database adds, and in the print preview
// how long laying the pages out and Export PDF take, with the longest stall
// of the window meanwhile; with the filter row and the find bar open, how
// long keeping the table's text for searching takes and the longest stall
// meanwhile, the memory it takes, each keystroke in the any-column box and a
// Find Next across the table.
//
//   bench_window [PROGRAM_FOLDER HOTSYNC_HOME SECTION]
//
// The defaults are bench/compare.sh's data in /tmp/ledgerly-compare (copied
// first, since opening may write). Runs offscreen.

#include "app/DocumentOpener.h"
#include "app/FileRegistry.h"
#include "app/MainController.h"
#include "app/ProgramLauncher.h"
#include "app/SettingsStore.h"
#include "app/widgets/TableTools.h"
#include "app/widgets/frmMain.h"
#include "common/Prompter.h"
#include "database/RecordServer.h"
#include "grid/GridModel.h"
#include "grid/RecordViewProxy.h"
#include "grid/widgets/FilterHeader.h"
#include "grid/widgets/FindBar.h"
#include "output/widgets/PageView.h"
#include "output/widgets/PrintPreview.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <functional>

#include <cstdio>
#ifdef __GLIBC__
#include <malloc.h>
#endif

using namespace Ledgerly;

namespace {

// Answers every question with its default, so nothing waits for a person.
class DefaultPrompter : public Prompter
{
public:
    int message(const QString &text, Buttons buttons, Icon, const QString &) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return buttons == Buttons::Ok ? Ok : No;
    }
    // Only the PDF the bench writes is asked for.
    QString fileName(const FileRequest &) override { return pdfPath; }
    QString pdfPath;
    void chooseUser(UserChoice &choice) override
    {
        choice.ChosenUser = choice.UserList.value(0);
        choice.Accepted = true;
    }
};

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

// Resident memory in KB. Memory freed by an earlier, larger database is
// handed back first, so the figure is what the window holds now.
qint64 residentKb()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// Runs what is pending and paints the window, as a person would see it.
double settleMs(QWidget &window, QElapsedTimer &clock)
{
    QCoreApplication::processEvents();
    window.grab();
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir scratch;
    qputenv("XDG_CONFIG_HOME", scratch.filePath(QStringLiteral("config")).toLocal8Bit());
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString program = args.value(1);
    QString home = args.value(2);
    const QString section = args.value(3, QStringLiteral("Plain32767"));
    if (program.isEmpty()) {
        const QString data = QStringLiteral("/tmp/ledgerly-compare");
        if (!QFile::exists(data + QStringLiteral("/home"))) {
            std::printf("bench_window: no data; run bench/compare.sh first\n");
            return 0;
        }
        QProcess::execute(QStringLiteral("cp"),
                          {QStringLiteral("-a"), data + QStringLiteral("/home"),
                           data + QStringLiteral("/program"), scratch.path()});
        program = scratch.filePath(QStringLiteral("program"));
        home = scratch.filePath(QStringLiteral("home"));
    }

    RecordServer server(home);
    QSettingsStore settings(scratch.filePath(QStringLiteral("settings")));
    DefaultPrompter prompter;
    FileRegistry registry(scratch.filePath(QStringLiteral("registry.ini")));
    NoLauncher launcher;
    NoOpener opener;
    MainController controller({server, settings, prompter, registry, launcher});
    frmMain window({controller, prompter, launcher, opener, program});
    // Start-up's dialogs are shown, never waited for.
    window.setModalShower([](QDialog &dialog) { dialog.show(); });
    window.resize(1024, 700);
    window.show();
    window.Form_Load();
    const int index = controller.catalogue().indexOf(section);
    if (index < 0) {
        std::printf("bench_window: no section %s\n", qPrintable(section));
        return 1;
    }
    // Start from a small database, as a person switching would: the last
    // section's, made empty when missing. Leaving a database saves it, so
    // the time below is the large database's own.
    controller.openSection(controller.catalogue().count() - 1);
    QCoreApplication::processEvents();
    window.grab();
    const qint64 before = residentKb();
    QElapsedTimer clock;
    clock.start();
    controller.openSection(index);
    const double openMs = settleMs(window, clock);
    const qint64 after = residentKb();
    const qint64 fileBytes = QFileInfo(controller.CurrentPath()).size();
    // BENCH_WINDOW_SHOT=file.png keeps a picture of the window just opened.
    if (const QString shot = qEnvironmentVariable("BENCH_WINDOW_SHOT"); !shot.isEmpty())
        window.grab().save(shot);

    auto *view = window.findChild<QAbstractItemView *>(QStringLiteral("SGGrid1"));
    QScrollBar *bar = view ? view->verticalScrollBar() : nullptr;
    double scrollMax = 0;
    if (bar) {
        for (int step = 0; step <= 20; ++step) {
            clock.restart();
            bar->setValue(bar->maximum() * ((step * 7) % 21) / 20);
            scrollMax = qMax(scrollMax, settleMs(window, clock));
        }
    }
    double resizeMax = 0;
    for (int step = 0; step < 10; ++step) {
        clock.restart();
        window.resize(800 + (step % 2) * 400, 600 + (step % 3) * 100);
        resizeMax = qMax(resizeMax, settleMs(window, clock));
    }

    // The event loop's longest wait while something goes on between events.
    QElapsedTimer gap;
    double longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGap = qMax(longestGap, gap.nsecsElapsed() / 1e6);
        gap.restart();
    });

    // The filter row and the find bar, as Ctrl+Shift+F and Ctrl+F open them.
    const GridModel &grid = controller.grid();
    const auto textKept = [&grid] {
        for (int c = 1; c < grid.columnCount(); ++c) {
            const ColumnKind kind = grid.column(c).kind;
            if (kind != ColumnKind::Picture && kind != ColumnKind::Other &&
                !grid.isColumnHidden(c) && !grid.completeShownText(c))
                return false;
        }
        return true;
    };
    const qint64 beforeTools = residentKb();
    TableTools &tools = window.tableTools();
    const QString typed = QStringLiteral("quay");
    const auto typeInto = [&](QLineEdit *box) {
        double longest = 0;
        for (qsizetype n = 1; n <= typed.size(); ++n) {
            clock.restart();
            box->setText(typed.left(n));
            longest = qMax(longest, settleMs(window, clock));
        }
        return longest;
    };
    // Typed into the any-column box at once, before the text is kept: the
    // keystrokes are taken at once and the filter follows when it is.
    QElapsedTimer opened;
    opened.start();
    gap.start();
    ticker.start(0);
    controller.setFilterRowShown(true);
    QLineEdit *any = tools.header().filterBox(0);
    const double earlyKeyMax = any ? typeInto(any) : 0;
    while (any && controller.recordView().filterText(0) != typed)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double earlyFilteredMs = opened.nsecsElapsed() / 1e6;
    while (!textKept())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double keepMs = opened.nsecsElapsed() / 1e6;
    ticker.stop();
    const double keepGap = longestGap;
    const qint64 withTools = residentKb();
    if (any)
        any->clear();
    QCoreApplication::processEvents();
    const double keyMax = any ? typeInto(any) : 0;
    const QString filtered = grid.rowCount() ? controller.recordView().countText() : QString();
    controller.setFilterRowShown(false);
    tools.run(Command::Find);
    FindBar &findBar = tools.findBar();
    findBar.findBox()->setText(QStringLiteral("C-0655"));
    view->setCurrentIndex(view->model()->index(0, 1));
    // As a person types: the text is kept and the matches counted by the
    // time the bar is read.
    while (!textKept() || findBar.statusText().isEmpty() ||
           findBar.statusText().startsWith(QStringLiteral("Counting")))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    settleMs(window, clock);
    clock.restart();
    findBar.findNext();
    const double findOnlyMs = clock.nsecsElapsed() / 1e6;
    const double findMs = settleMs(window, clock);
    const int foundRow = view->currentIndex().row();
    findBar.closeBar();
    QCoreApplication::processEvents();

    // The long commands: how long each takes and how often the status bar's
    // progress bar moved meanwhile.
    struct Timed
    {
        QString name;
        double ms;
        int moves;
    };
    QList<Timed> commands;
    int moves = 0;
    QObject::connect(&controller, &MainController::progressChanged, [&moves] { ++moves; });
    const auto timeCommand = [&](const QString &name, const std::function<void()> &command) {
        moves = 0;
        clock.restart();
        command();
        commands.append({name, settleMs(window, clock), moves});
    };
    const QString csv = scratch.filePath(QStringLiteral("bench.csv"));
    timeCommand(QStringLiteral("save"), [&] { controller.SaveDatabase(); });
    timeCommand(QStringLiteral("group"), [&] { controller.setGrouped(true); });
    timeCommand(QStringLiteral("ungroup"), [&] { controller.setGrouped(false); });
    timeCommand(QStringLiteral("export CSV"), [&] { controller.exportCsv(csv); });
    timeCommand(QStringLiteral("import CSV"), [&] { controller.importCsv(csv); });
    timeCommand(QStringLiteral("print preview"), [&] {
        PrintPreview preview(*view->model(), section, window.windowTitle(), prompter, &window);
        preview.show();
        QCoreApplication::processEvents();
        preview.grab();
    });

    // The preview lays the pages out and writes the PDF while the window
    // goes on: how long each takes, and the longest the event loop waited.
    PrintPreview preview(*view->model(), section, window.windowTitle(), prompter, &window);
    longestGap = 0;
    clock.restart();
    gap.restart();
    ticker.start(0);
    preview.show();
    while (!preview.viewer()->isLaidOut())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double layoutMs = clock.nsecsElapsed() / 1e6;
    const double layoutGap = longestGap;
    prompter.pdfPath = scratch.filePath(QStringLiteral("bench.pdf"));
    longestGap = 0;
    bool done = false;
    QObject::connect(&preview, &PrintPreview::jobFinished, [&done] { done = true; });
    clock.restart();
    gap.restart();
    const bool started = preview.exportPdf();
    while (started && !done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double pdfMs = clock.nsecsElapsed() / 1e6;
    ticker.stop();

    QTextStream out(stdout);
    out << "bench_window " << section << " (" << (view ? view->model()->rowCount() : 0)
        << " rows): first rows shown " << openMs << " ms; longest scroll " << scrollMax
        << " ms; longest resize " << resizeMax << " ms; resident " << before / 1024 << " MB -> "
        << after / 1024 << " MB (+" << (after - before) / 1024 << " MB, "
        << QString::number(double(after - before) * 1024 / double(qMax<qint64>(fileBytes, 1)), 'f',
                           2)
        << "× the file's " << QString::number(double(fileBytes) / 1e6, 'f', 1) << " MB)\n";
    out << "  filter row opened and \"quay\" typed at once into the any-column box: the longest "
           "keystroke "
        << earlyKeyMax << " ms, filtered after " << earlyFilteredMs << " ms, the text kept after "
        << keepMs << " ms, the longest stall " << keepGap << " ms, resident +"
        << (withTools - beforeTools) / 1024
        << " MB; typed again, the text kept, the longest keystroke " << keyMax << " ms ("
        << filtered << "); Find Next from the top to row " << foundRow << ": " << findMs << " ms ("
        << findOnlyMs << " ms before painting)\n";
    for (const Timed &t : commands)
        out << "  " << t.name << ": " << t.ms << " ms, progress bar moved " << t.moves
            << " times\n";
    out << "  print preview laid out " << preview.pageCount() << " pages in " << layoutMs
        << " ms, longest stall " << layoutGap << " ms; Export PDF " << pdfMs
        << " ms, longest stall " << longestGap << " ms\n";
    return 0;
}
