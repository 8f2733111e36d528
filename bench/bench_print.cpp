// Times the pages of the largest tables the program's loops handle, opened
// as the window opens them: laying the pages out (every cell measured), the
// first page drawn as the preview shows it, and the whole document written
// as a PDF file, in wall-clock and processor time. Target for the 32,767
// records: the PDF within 3 s.
//
//   bench_print [PROGRAM_FOLDER HOTSYNC_HOME [SECTION...]]
//
// The defaults are bench/compare.sh's data in /tmp/ledgerly-compare, else
// data made by ledgerly-benchgen in a temporary folder; the sections default
// to Bench32767 and Bench65535 (every field kind, with pictures).

#include "app/FileRegistry.h"
#include "app/MainController.h"
#include "app/PalmUserChoice.h"
#include "app/ProgramLauncher.h"
#include "app/SettingsStore.h"
#include "catalogue/Catalogue.h"
#include "common/Prompter.h"
#include "database/RecordServer.h"
#include "output/PageLayout.h"
#include "output/PageLayoutBuilder.h"
#include "output/PagePainter.h"
#include "output/PdfExport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <ctime>

using namespace Ledgerly;

namespace {

class QuietPrompter : public Prompter
{
public:
    int message(const QString &, Buttons buttons, Icon, const QString &) override
    {
        return buttons == Buttons::Ok ? Ok : No;
    }
    QString fileName(const FileRequest &) override { return {}; }
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

double cpuMs(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Wall-clock and processor time of one step: of the whole process, and of
// this thread alone (the one that reads the table; pages are drawn on
// another). On a busy machine the wall-clock time says little; the larger
// of the two threads' times is what an idle one with two cores takes.
class Clock
{
public:
    Clock() { restart(); }
    void restart()
    {
        m_wall.start();
        m_cpu = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
        m_thread = cpuMs(CLOCK_THREAD_CPUTIME_ID);
    }
    QString figures() const
    {
        const double all = cpuMs(CLOCK_PROCESS_CPUTIME_ID) - m_cpu;
        const double own = cpuMs(CLOCK_THREAD_CPUTIME_ID) - m_thread;
        return QStringLiteral("%1 ms (cpu %2 ms: %3 ms reading and composing, %4 ms drawing)")
            .arg(m_wall.elapsed())
            .arg(qint64(all))
            .arg(qint64(own))
            .arg(qint64(all - own));
    }

private:
    QElapsedTimer m_wall;
    double m_cpu = 0;
    double m_thread = 0;
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir scratch;
    QStringList args = app.arguments().mid(1);
    QString program = args.value(0);
    QString home = args.value(1);
    QStringList sections = args.mid(2);
    if (sections.isEmpty())
        sections = {QStringLiteral("Bench32767"), QStringLiteral("Bench65535")};
    if (program.isEmpty()) {
        const QString data = QStringLiteral("/tmp/ledgerly-compare");
        QString source = data;
        if (!QFileInfo::exists(data + QStringLiteral("/home"))) {
            source = scratch.filePath(QStringLiteral("data"));
            const QString gen = QCoreApplication::applicationDirPath() +
                                QStringLiteral("/../bin/ledgerly-benchgen");
            if (QProcess::execute(gen, {source}) != 0) {
                out << "bench_print: no data, and " << gen << " failed\n";
                return 1;
            }
        }
        program = source + QStringLiteral("/program");
        home = source + QStringLiteral("/home");
    }

    RecordServer server(home);
    QSettingsStore settings(scratch.filePath(QStringLiteral("settings")));
    QuietPrompter prompter;
    FileRegistry registry(scratch.filePath(QStringLiteral("registry.ini")));
    NoLauncher launcher;
    MainController controller({server, settings, prompter, registry, launcher});
    // Opening never writes here: a database that is not saved is not changed.
    controller.setLocksDatabases(false);
    controller.state().ProgramFolder = program;
    controller.users().followDefaultUser();
    controller.BuildCatalogue();

    for (const QString &section : std::as_const(sections)) {
        const int index = controller.catalogue().indexOf(section);
        if (index < 0) {
            out << "bench_print: no section " << section << "\n";
            continue;
        }
        controller.openSection(index);
        const QAbstractItemModel &model = *controller.viewModel();
        const QPageLayout page = PdfExport::pageLayout(QPageLayout::Portrait);

        Clock clock;
        PageLayoutBuilder builder(model, page.paintRect(QPageLayout::Point).size(), section);
        builder.advance();
        const PageLayout &layout = builder.layout();
        out << section << " (" << model.rowCount() << " rows, " << model.columnCount()
            << " columns): layout of " << layout.pageCount() << " pages in " << layout.bandCount()
            << " bands: " << clock.figures() << "\n";

        clock.restart();
        QImage image(page.paintRectPixels(96).size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        PagePainter::usePoints(painter);
        PagePainter(layout).paintPage(painter, 0);
        painter.end();
        out << "  first page drawn on screen: " << clock.figures() << "\n";

        clock.restart();
        const QString pdf = scratch.filePath(QStringLiteral("bench.pdf"));
        QString error;
        const bool ok = PdfExport::writeFile(model, {section}, pdf, &error);
        out << "  PDF laid out and written (" << QFileInfo(pdf).size() / 1024
            << " KiB): " << clock.figures() << " (target 3000 for 32,767 records)"
            << (ok ? QString() : QStringLiteral(" FAILED: ") + error) << "\n";
        out.flush();
    }
    return 0;
}
