// ledgerly-benchgen: writes the benchmark data into one folder.
//   OUT/program   a program folder: the sample's Ledgerly.ini and pictures,
//                 and a QuayDB.ini of 800 sections (the four below and 796
//                 others of 120 keys each)
//   OUT/home      a HotSync home whose default user "Bench User" holds
//                 BenchN.pdb (every field kind) and PlainN.pdb (the same
//                 without the picture field) for N = 32767 and 65535
// The databases are made through the record component, so they are what the
// program itself would write.
#include "BenchData.h"

#include "database/PdbDatabase.h"
#include "database/PdbError.h"
#include "database/RecordServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

using namespace Ledgerly;

namespace {

constexpr int Sizes[] = {32767, 65535};
constexpr int SectionCount = 800;

bool writeText(const QString &path, const QString &text)
{
    QFile file(path);
    const QByteArray bytes = text.toUtf8();
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush();
}

bool copyProgramFolder(const QString &from, const QString &to)
{
    const QStringList files = QDir(from).entryList(QDir::Files);
    for (const QString &name : files) {
        if (name.compare(QLatin1String("QuayDB.ini"), Qt::CaseInsensitive) == 0)
            continue;
        QFile::remove(to + u'/' + name);
        if (!QFile::copy(from + u'/' + name, to + u'/' + name))
            return false;
    }
    return true;
}

QString schema()
{
    QString out = QStringLiteral("; Benchmark catalogue: two real databases, many others.\n\n");
    for (int size : Sizes) {
        out += Bench::benchSchemaSection(QStringLiteral("Bench%1").arg(size), true);
        out += Bench::benchSchemaSection(QStringLiteral("Plain%1").arg(size), false);
    }
    for (int n = 2 * int(std::size(Sizes)); n < SectionCount; ++n)
        out += Bench::fillerSchemaSection(n);
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    const QString usage =
        QStringLiteral("Usage: ledgerly-benchgen OUT_DIR\n"
                       "Writes the benchmark data into OUT_DIR: a program folder (program/) whose\n"
                       "QuayDB.ini names 800 databases, and a HotSync home (home/) whose user\n"
                       "\"Bench User\" holds the 32,767- and 65,535-record databases.\n");
    if (args.size() == 2 && (args.at(1) == QLatin1String("--help") || args.at(1) == u"-h")) {
        out << usage;
        return 0;
    }
    // An option is never taken for the folder to write into.
    if (args.size() != 2 || args.at(1).startsWith(u'-')) {
        err << usage;
        return 2;
    }
    const QString root = QDir(args.at(1)).absolutePath();
    const QString program = root + QStringLiteral("/program");
    const QString home = root + QStringLiteral("/home");
    if (!QDir().mkpath(program) || !QDir().mkpath(home)) {
        err << "ledgerly-benchgen: cannot create folders in " << root << "\n";
        return 1;
    }
    if (!copyProgramFolder(QStringLiteral(LEDGERLY_SAMPLES "/program"), program) ||
        !writeText(program + QStringLiteral("/QuayDB.ini"), schema())) {
        err << "ledgerly-benchgen: cannot write the program folder " << program << "\n";
        return 1;
    }
    try {
        RecordServer server(home);
        const QString user = QStringLiteral("Bench User");
        server.addUser(user, {}, false, true);
        const QString folder = server.GetUserFolder(user);
        for (int size : Sizes) {
            for (const bool pictures : {true, false}) {
                const QString path = folder + (pictures ? QStringLiteral("/Bench%1.pdb")
                                                        : QStringLiteral("/Plain%1.pdb"))
                                                  .arg(size);
                Bench::makeBenchDatabase(size, pictures)->SaveAs(path);
                out << path << "\n";
            }
        }
    } catch (const PdbError &e) {
        err << "ledgerly-benchgen: error " << e.number() << ": " << e.message() << "\n";
        return 1;
    }
    return 0;
}
