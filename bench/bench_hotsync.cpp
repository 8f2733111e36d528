// Times reading a HotSync home's users file as it grows: every command reads
// it again (the default user, the user's folder, the install queue), so a
// home with tens of thousands of users must still read in a blink. Each
// figure is the best of five runs, as wall time and as processor time (the
// second is what counts on a machine shared with other work).
#include "database/HotSyncHome.h"
#include "database/RecordServer.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <ctime>
#include <functional>

using namespace Ledgerly;

namespace {

struct Timing
{
    double wallMs = 1e300;
    double cpuMs = 1e300;
};

Timing bestOfFive(const std::function<void()> &work)
{
    Timing best;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer wall;
        wall.start();
        const std::clock_t cpu = std::clock();
        work();
        best.cpuMs = qMin(best.cpuMs, 1000.0 * double(std::clock() - cpu) / CLOCKS_PER_SEC);
        best.wallMs = qMin(best.wallMs, double(wall.nsecsElapsed()) / 1e6);
    }
    return best;
}

} // namespace

int main()
{
    QTextStream out(stdout);
    out.setRealNumberNotation(QTextStream::FixedNotation);
    out.setRealNumberPrecision(0);
    for (const int count : {2500, 10000, 40000}) {
        QTemporaryDir dir;
        HotSyncHome home(dir.path());
        for (int i = 0; i < count; ++i)
            home.users.append({QStringLiteral("Person %1").arg(i),
                               QStringLiteral("Person %1").arg(i), i % 7 == 0});
        home.currentUser = home.users.last().name;
        home.save();
        const qint64 bytes = QFileInfo(home.filePath()).size();

        qsizetype read = 0;
        const Timing load = bestOfFive([&] {
            HotSyncHome again(dir.path());
            again.load();
            read = again.users.size();
        });
        // What a command does first: the default user and that user's folder.
        QString folder;
        const Timing lookUp = bestOfFive([&] {
            RecordServer server(dir.path());
            folder = server.GetUserFolder(server.GetDefaultUser());
        });

        out << count << " users (" << bytes << " bytes): load " << load.wallMs << " ms ("
            << load.cpuMs << " ms processor), default user and folder " << lookUp.wallMs << " ms ("
            << lookUp.cpuMs << " ms processor)\n";
        if (read != count || !folder.endsWith(QStringLiteral("Person %1").arg(count - 1)))
            return 1;
    }
    return 0;
}
