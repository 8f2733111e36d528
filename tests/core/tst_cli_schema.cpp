#include "CliRun.h"
#include "HotSyncHomeSetup.h"
#include "TestFiles.h"
#include "database/PdbDatabase.h"
#include "database/RecordServer.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {

const QByteArray schema = "; shipped\r\n[Fruit]\r\nDatabasename=Fruit\r\nName=Name\r\n"
                          "NameHide=False\r\n";

QByteArray notesFile()
{
    PdbDatabase db;
    db.Table().AddField(u"Title"_s, 0);
    db.Table().AddField(u"Done"_s, 1);
    db.Table().AddRecord().setValue(0, u"first"_s);
    // The name inside the file, which the handheld shows.
    return db.toBytes(u"My Notes"_s);
}

struct Setup
{
    QTemporaryDir dir;
    QString program = dir.filePath(u"program"_s);
    QString home = dir.filePath(u"home"_s);
    QString userFolder;

    Setup()
    {
        QDir().mkpath(program);
        createHotSyncHome(home, {u"Ann"_s});
        userFolder = RecordServer(home).GetUserFolder(u"Ann"_s);
        QDir().mkpath(userFolder);
    }
    QString schemaFile() const { return program + u"/QuayDB.ini"_s; }
    CliRun run(const QStringList &args) const
    {
        return runLedgerlyCli(
            QStringList{u"--program-folder"_s, program, u"--hotsync-home"_s, home} + args);
    }
};

} // namespace

class TestCliSchema : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void check_data();
    void check();
    void add_data();
    void add();
};

void TestCliSchema::check_data()
{
    QTest::addColumn<QByteArray>("bytes"); // null: no file; "huge": past the size limit
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("sound schema") << schema << 0 << u"QuayDB.ini: no problems"_s << QString();
    QTest::newRow("a forgotten role key")
        << QByteArray("[X]\nDatabasename=X\nA=A\nAHide=False\nB=B\n") << 1
        << u"QuayDB.ini:4: \"AHide\" is read as field 2"_s << QString();
    QTest::newRow("no schema file") << QByteArray() << 1 << QString() << u"no schema file"_s;
    QTest::newRow("larger than the reader takes")
        << QByteArray("huge") << 1 << QString() << u"it is larger than 16777216 bytes"_s;
}

void TestCliSchema::check()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    Setup s;
    if (bytes == "huge") {
        // Sparse: refused from its size before a byte of it is read.
        QFile file(s.schemaFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(17 * 1024 * 1024));
    } else if (!bytes.isNull()) {
        QVERIFY(writeFile(s.schemaFile(), bytes));
    }
    const CliRun r = s.run({u"schema"_s, u"check"_s});
    QCOMPARE(r.status, status);
    QVERIFY2(r.out.contains(out), qPrintable(r.out));
    QVERIFY2(err.isEmpty() ? r.err.isEmpty() : r.err.contains(err), qPrintable(r.err));
}

void TestCliSchema::add_data()
{
    QTest::addColumn<QByteArray>("pdb");
    QTest::addColumn<bool>("inUserFolder");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("added"); // appended to the schema; empty: schema unchanged
    QTest::addColumn<bool>("copied");
    QTest::addColumn<QString>("err");

    const QByteArray notes = notesFile();
    const QByteArray section =
        "\r\n[Notes]\r\nDatabasename=My Notes\r\nTitle=Title\r\nDone=Done\r\n"
        "TitleHide=False\r\nDoneHide=False\r\n";
    QTest::newRow("file in the user's folder")
        << notes << true << QStringList{} << 0 << section << false << QString();
    QTest::newRow("file elsewhere, copied, captions given")
        << notes << false
        << QStringList{u"--copy"_s, u"--caption"_s, u"done=Finished?"_s, u"--caption"_s,
                       u"Title=Note Title"_s}
        << 0
        << QByteArray(section)
               .replace("Title=Title", "Title=Note Title")
               .replace("Done=Done", "Done=Finished?")
        << true << QString();
    QTest::newRow("file elsewhere, not copied: a note")
        << notes << false << QStringList{} << 0 << section << false << u"give --copy"_s;
    QTest::newRow("section named by option")
        << notes << true << QStringList{u"--section"_s, u"Jots"_s} << 0
        << QByteArray(section).replace("[Notes]", "[Jots]") << false << u"give --copy"_s;
    QTest::newRow("damaged file: error 13, nothing added")
        << notes.left(90) << false << QStringList{u"--copy"_s} << 1 << QByteArray() << false
        << u"error 13"_s;
    QTest::newRow("section already present, case ignored")
        << notes << true << QStringList{u"--section"_s, u"FRUIT"_s} << 1 << QByteArray() << false
        << u"already has a section [Fruit]"_s;
    QTest::newRow("caption of a field the file lacks")
        << notes << true << QStringList{u"--caption"_s, u"Colour=Red"_s} << 1 << QByteArray()
        << false << u"no field \"Colour\""_s;
    QTest::newRow("caption without =") << notes << true << QStringList{u"--caption"_s, u"x"_s} << 2
                                       << QByteArray() << false << u"FIELD=TEXT"_s;
}

void TestCliSchema::add()
{
    QFETCH(QByteArray, pdb);
    QFETCH(bool, inUserFolder);
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(QByteArray, added);
    QFETCH(bool, copied);
    QFETCH(QString, err);
    Setup s;
    QVERIFY(writeFile(s.schemaFile(), schema));
    const QString file =
        (inUserFolder ? s.userFolder : s.dir.filePath(u"download"_s)) + u"/Notes.pdb"_s;
    QDir().mkpath(QFileInfo(file).absolutePath());
    QVERIFY(writeFile(file, pdb));

    const CliRun r = s.run(QStringList{u"schema"_s, u"add"_s, file} + options);
    QCOMPARE(r.status, status);
    QCOMPARE(readFile(s.schemaFile()), schema + added);
    QVERIFY2(err.isEmpty() ? r.err.isEmpty() : r.err.contains(err), qPrintable(r.err));
    if (!inUserFolder)
        QCOMPARE(readFile(s.userFolder + u"/Notes.pdb"_s), copied ? pdb : QByteArray());
}

QTEST_GUILESS_MAIN(TestCliSchema)
#include "tst_cli_schema.moc"
