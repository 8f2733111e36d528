#include "CliRun.h"
#include "DemoHome.h"
#include "catalogue/IniFile.h"
#include "database/FieldType.h"
#include "database/PdbDatabase.h"
#include "database/RecordServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace Ledgerly;

namespace {

CliRun runCli(const QString &programFolder, const QString &home, const QString &configHome,
              const QStringList &args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The per-user settings the save reads live in the temporary folder.
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    return runLedgerlyCli(QStringList{QStringLiteral("--program-folder"), programFolder,
                                      QStringLiteral("--hotsync-home"), home} +
                              args,
                          env);
}

// A program folder and HotSync home of our own, with users Alice (default)
// and Bob and a schema of three databases.
class CliFixture
{
public:
    CliFixture()
    {
        program = dir.path() + QStringLiteral("/program");
        home = dir.path() + QStringLiteral("/home");
        config = dir.path() + QStringLiteral("/config");
        QDir().mkpath(program);
        QDir().mkpath(config);
        writeFile(program + QStringLiteral("/Ledgerly.ini"),
                  "[DesktopName]\nDesktopName=Cli Ledger\n");
        writeFile(program + QStringLiteral("/QuayDB.ini"),
                  "[Kinds]\nDatabasename=All kinds\nName=Name\nDone=Done\nDay=Day\nAt=At\n"
                  "Photo=Photo\nStamp=Stamp\nNameHide=False\nDoneHide=False\nDayHide=False\n"
                  "AtHide=True\nPhotoHide=False\nStampHide=Calc\n\n"
                  "[Fresh]\nDatabasename=Fresh\nTitle=Title\nNotes=Notes\nTitleHide=False\n"
                  "NotesHide=False\n\n"
                  "[Other]\nDatabasename=Other\nTitle=Title\nTitleHide=False\n\n"
                  "[Bare]\nDatabasename=Nothing but a name\n");
        RecordServer server(home);
        server.addUser(QStringLiteral("Alice"));
        server.addUser(QStringLiteral("Bob"));
        alice = server.GetUserFolder(QStringLiteral("Alice"));
        bob = server.GetUserFolder(QStringLiteral("Bob"));
    }

    void writeKinds(const QString &folder)
    {
        PdbDatabase db;
        const QList<QPair<QString, int>> fields = {{QStringLiteral("Name"), FieldText},
                                                   {QStringLiteral("Done"), FieldYesNo},
                                                   {QStringLiteral("Day"), FieldDate},
                                                   {QStringLiteral("At"), FieldTime},
                                                   {QStringLiteral("Photo"), FieldPicture},
                                                   {QStringLiteral("Stamp"), FieldDateTime},
                                                   {QStringLiteral("Extra"), 9}};
        for (const auto &f : fields)
            db.Table().AddField(f.first, f.second);
        for (int i = 0; i < 3; ++i) {
            PdbRecord &r = db.Table().AddRecord();
            r.setValue(0, QStringLiteral("Row %1 \u00e9").arg(i));
            r.setValue(1, i % 2 == 0);
            r.setValue(2, QDateTime(QDate(2020 + i, 3, 4), QTime(0, 0), Qt::UTC));
            r.setValue(3, QDateTime(QDate(1904, 1, 1), QTime(8 + i, 15), Qt::UTC));
            r.setValue(4, QByteArray("BM not really a bitmap ") + QByteArray::number(i));
            r.setValue(5, QDateTime(QDate(2010, 1, 1 + i), QTime(12, 0, 5), Qt::UTC));
            r.setValue(6, QByteArray(3, char(i)));
        }
        db.SaveAs(folder + QStringLiteral("/Kinds.pdb"));
    }

    CliRun cli(const QStringList &args) { return runCli(program, home, config, args); }
    QString dump(const QString &path) { return cli({QStringLiteral("dump"), path}).out; }

    QTemporaryDir dir;
    QString program, home, config, alice, bob;
};

} // namespace

class TestCliRoundtrip : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void createCommand_data();
    void createCommand();
    void resaveKeepsEveryValue_data();
    void resaveKeepsEveryValue();
    void missingDatabaseIsNeverCreated_data();
    void missingDatabaseIsNeverCreated();
    void resaveRefusesUnknownSection();
    void exportOfAMissingFileMakesNothing();
    void createRefusesUnsafeSection_data();
    void createRefusesUnsafeSection();
    void createRefusesADanglingLink_data();
    void createRefusesADanglingLink();
    void sectionWithOnlyANameGivesADatabaseWithoutFields();
    void demoDatabasesResaveUnchanged_data();
    void demoDatabasesResaveUnchanged();
    void demoDatabasesSurviveExportAndImport_data();
    void demoDatabasesSurviveExportAndImport();
    void everyFieldTypeOfTheFixtureSurvivesExportAndImport();
};

void TestCliRoundtrip::initTestCase()
{
    QVERIFY2(QFile::exists(ledgerlyCliPath()), qPrintable(ledgerlyCliPath()));
}

void TestCliRoundtrip::createCommand_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("existing");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("folderUser");
    QTest::addColumn<QString>("errorText");

    QTest::newRow("creates a missing database")
        << QStringList{QStringLiteral("create"), QStringLiteral("Fresh")} << false << 0 << "Alice"
        << QString();
    QTest::newRow("section name case ignored")
        << QStringList{QStringLiteral("create"), QStringLiteral("fresh")} << false << 0 << "Alice"
        << QString();
    QTest::newRow("for another user")
        << QStringList{QStringLiteral("create"), QStringLiteral("Fresh"), QStringLiteral("--user"),
                       QStringLiteral("Bob")}
        << false << 0 << "Bob" << QString();
    QTest::newRow("refuses an existing file")
        << QStringList{QStringLiteral("create"), QStringLiteral("Fresh")} << true << 1 << "Alice"
        << QStringLiteral("already exists");
    QTest::newRow("unknown section")
        << QStringList{QStringLiteral("create"), QStringLiteral("Nope")} << false << 1 << "Alice"
        << QStringLiteral("no section");
    QTest::newRow("unknown user is refused, not replaced")
        << QStringList{QStringLiteral("create"), QStringLiteral("Fresh"), QStringLiteral("--user"),
                       QStringLiteral("Nobody")}
        << false << 1 << "Alice" << QStringLiteral("no HotSync user");
    QTest::newRow("no section given") << QStringList{QStringLiteral("create")} << false << 2
                                      << "Alice" << QStringLiteral("exactly one section");
}

void TestCliRoundtrip::createCommand()
{
    QFETCH(QStringList, args);
    QFETCH(bool, existing);
    QFETCH(int, exitCode);
    QFETCH(QString, folderUser);
    QFETCH(QString, errorText);
    CliFixture fx;
    const QString folder = folderUser == QLatin1String("Bob") ? fx.bob : fx.alice;
    const QString path = folder + QStringLiteral("/Fresh.pdb");
    const QByteArray marker("existing bytes stay");
    if (existing)
        QVERIFY(writeFile(path, marker));

    const CliRun run = fx.cli(args);
    QCOMPARE(run.status, exitCode);
    if (!errorText.isEmpty())
        QVERIFY2(run.err.contains(errorText), qPrintable(run.err));
    if (existing) {
        QCOMPARE(readFile(path), marker);
    } else if (exitCode == 0) {
        QVERIFY2(QFile::exists(path), qPrintable(run.err));
        QCOMPARE(run.out.trimmed(), path);
        RecordServer server(fx.home);
        const auto db = server.OpenDatabase(path);
        QCOMPARE(db->Fields().Count(), 2);
        QCOMPARE(db->Fields().Item(1).Name, QStringLiteral("Notes"));
        QCOMPARE(db->Table().RecordCount(), 1);
        QVERIFY(
            !QFile::exists((folder == fx.bob ? fx.alice : fx.bob) + QStringLiteral("/Fresh.pdb")));
    } else {
        QVERIFY(!QFile::exists(path));
    }
}

void TestCliRoundtrip::resaveKeepsEveryValue_data()
{
    QTest::addColumn<QString>("user");
    QTest::newRow("default user") << QString();
    QTest::newRow("named user") << QStringLiteral("Bob");
}

void TestCliRoundtrip::resaveKeepsEveryValue()
{
    QFETCH(QString, user);
    CliFixture fx;
    const QString folder = user.isEmpty() ? fx.alice : fx.bob;
    fx.writeKinds(folder);
    const QString path = folder + QStringLiteral("/Kinds.pdb");
    const QString before = fx.dump(path);
    QVERIFY(before.contains(QStringLiteral("Row 2")));
    QStringList args{QStringLiteral("resave"), QStringLiteral("Kinds")};
    if (!user.isEmpty())
        args << QStringLiteral("--user") << user;
    const CliRun run = fx.cli(args);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.out.trimmed(), path);
    QCOMPARE(fx.dump(path), before);
}

void TestCliRoundtrip::missingDatabaseIsNeverCreated_data()
{
    QTest::addColumn<QStringList>("args"); // OUT stands for the output file
    QTest::newRow("resave") << QStringList{u"resave"_qs, u"Other"_qs};
    QTest::newRow("export") << QStringList{u"export"_qs, u"Other"_qs, u"OUT"_qs};
    QTest::newRow("print") << QStringList{u"print"_qs, u"other"_qs, u"OUT"_qs};
    QTest::newRow("find") << QStringList{u"find"_qs, u"Other"_qs, u"x"_qs};
    QTest::newRow("sort") << QStringList{u"sort"_qs, u"Other"_qs, u"Name"_qs};
    QTest::newRow("replace") << QStringList{u"replace"_qs, u"Other"_qs, u"x"_qs, u"y"_qs};
    QTest::newRow("export for another user")
        << QStringList{u"export"_qs, u"Other"_qs, u"OUT"_qs, u"--user"_qs, u"bob"_qs};
}

void TestCliRoundtrip::missingDatabaseIsNeverCreated()
{
    QFETCH(QStringList, args);
    CliFixture fx;
    const QString out = fx.dir.filePath(u"out.file"_qs);
    args.replaceInStrings(u"OUT"_qs, out);
    const CliRun run = fx.cli(args);
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(u"Other.pdb does not exist"_qs), qPrintable(run.err));
    QVERIFY(!QFile::exists(fx.alice + QStringLiteral("/Other.pdb")));
    QVERIFY(!QFile::exists(fx.bob + QStringLiteral("/Other.pdb")));
    QVERIFY(!QFile::exists(out));
}

void TestCliRoundtrip::resaveRefusesUnknownSection()
{
    CliFixture fx;
    const CliRun run = fx.cli({QStringLiteral("resave"), QStringLiteral("Nope")});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QStringLiteral("QuayDB.ini has no section \"Nope\"")),
             qPrintable(run.err));
    QCOMPARE(run.out, QString());
    QVERIFY(!QFile::exists(fx.alice + QStringLiteral("/Nope.pdb")));
}

void TestCliRoundtrip::exportOfAMissingFileMakesNothing()
{
    // Reading a database that is not there is an error; no database and no
    // CSV file are made for the occasion.
    CliFixture fx;
    const QString csv = fx.dir.filePath(QStringLiteral("other.csv"));
    const CliRun run = fx.cli({QStringLiteral("export"), QStringLiteral("Other"), csv});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QStringLiteral("does not exist")), qPrintable(run.err));
    QVERIFY(!QFile::exists(fx.alice + QStringLiteral("/Other.pdb")));
    QVERIFY(!QFile::exists(csv));
}

void TestCliRoundtrip::createRefusesUnsafeSection_data()
{
    QTest::addColumn<QString>("section");
    QTest::newRow("parent folder") << QStringLiteral("../Escape");
    QTest::newRow("sub folder") << QStringLiteral("sub/Inner");
}

void TestCliRoundtrip::createRefusesUnsafeSection()
{
    QFETCH(QString, section);
    CliFixture fx;
    // A hostile schema section names a file outside the user's folder.
    QFile schema(fx.program + QStringLiteral("/QuayDB.ini"));
    QVERIFY(schema.open(QIODevice::Append));
    schema.write("\n[" + section.toUtf8() +
                 "]\nDatabasename=Hostile\nTitle=Title\n"
                 "TitleHide=False\n");
    schema.close();
    const QString target = fx.alice + QLatin1Char('/') + section + QStringLiteral(".pdb");
    QVERIFY(QDir().mkpath(QFileInfo(target).absolutePath()));

    const CliRun run = fx.cli({QStringLiteral("create"), section});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QStringLiteral("is not a valid file name")), qPrintable(run.err));
    QCOMPARE(run.out, QString());
    QVERIFY(!QFile::exists(target));
}

void TestCliRoundtrip::createRefusesADanglingLink_data()
{
    QTest::addColumn<QString>("target"); // relative to the temporary folder
    QTest::newRow("target in another folder") << QStringLiteral("elsewhere/Taken.pdb");
    QTest::newRow("target in another user's folder") << QStringLiteral("home/Bob/Fresh.pdb");
}

void TestCliRoundtrip::createRefusesADanglingLink()
{
    QFETCH(QString, target);
    CliFixture fx;
    const QString targetPath = fx.dir.filePath(target);
    QVERIFY(QDir().mkpath(QFileInfo(targetPath).absolutePath()));
    const QString link = fx.alice + QStringLiteral("/Fresh.pdb");
    QVERIFY(QFile::link(targetPath, link));
    const CliRun run = fx.cli({QStringLiteral("create"), QStringLiteral("Fresh")});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QStringLiteral("symbolic link")), qPrintable(run.err));
    QCOMPARE(run.out, QString());
    QVERIFY(!QFileInfo::exists(targetPath));
    QVERIFY(QFileInfo(link).isSymLink());
}

void TestCliRoundtrip::sectionWithOnlyANameGivesADatabaseWithoutFields()
{
    CliFixture fx;
    const CliRun created = fx.cli({QStringLiteral("create"), QStringLiteral("Bare")});
    QVERIFY2(created.status == 0, qPrintable(created.err));
    const QString path = fx.alice + QStringLiteral("/Bare.pdb");
    QCOMPARE(created.out.trimmed(), path);
    const QString dumped = fx.dump(path);
    QVERIFY2(dumped.contains(QStringLiteral("\"fields\": []")), qPrintable(dumped));

    const QString csv = fx.dir.filePath(QStringLiteral("bare.csv"));
    const CliRun exported = fx.cli({QStringLiteral("export"), QStringLiteral("Bare"), csv});
    QVERIFY2(exported.status == 0, qPrintable(exported.err));
    QCOMPARE(exported.out, csv + QStringLiteral(" created.\n1 record(s) exported\n"));
    QCOMPARE(readFile(csv), QByteArray("\r\n\r\n\r\n"));

    const CliRun resaved = fx.cli({QStringLiteral("resave"), QStringLiteral("Bare")});
    QVERIFY2(resaved.status == 0, qPrintable(resaved.err));
    QCOMPARE(fx.dump(path), dumped);
}

void TestCliRoundtrip::demoDatabasesResaveUnchanged_data()
{
    addDemoSectionRows();
}

void TestCliRoundtrip::demoDatabasesResaveUnchanged()
{
    QFETCH(QString, section);
    const QString demo = demoHotSyncHome();
    if (section.isEmpty() || demo.isEmpty())
        QSKIP("the demo HotSync home has not been generated in this build");
    QTemporaryDir dir;
    const QString home = dir.path() + QStringLiteral("/home");
    const QString config = dir.path() + QStringLiteral("/config");
    QVERIFY(copyTree(demo, home));
    RecordServer server(home);
    const QString path = server.GetUserFolder(server.GetDefaultUser()) + QLatin1Char('/') +
                         section + QStringLiteral(".pdb");
    const QString program = QStringLiteral(LEDGERLY_BIN_DIR);
    const auto dump = [&] { return runCli(program, home, config, {QStringLiteral("dump"), path}); };
    const CliRun before = dump();
    QCOMPARE(before.status, 0);
    const CliRun run = runCli(program, home, config, {QStringLiteral("resave"), section});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const CliRun after = dump();
    QCOMPARE(after.status, 0);
    QCOMPARE(after.out, before.out);
}

void TestCliRoundtrip::demoDatabasesSurviveExportAndImport_data()
{
    addDemoSectionRows();
}

// Every value the export writes comes back through the import and its save,
// type-6 date and time values included.
void TestCliRoundtrip::demoDatabasesSurviveExportAndImport()
{
    QFETCH(QString, section);
    const QString demo = demoHotSyncHome();
    if (section.isEmpty() || demo.isEmpty())
        QSKIP("the demo HotSync home has not been generated in this build");
    QTemporaryDir dir;
    const QString home = dir.path() + QStringLiteral("/home");
    const QString config = dir.path() + QStringLiteral("/config");
    const QString csv = dir.path() + QStringLiteral("/out.csv");
    QVERIFY(copyTree(demo, home));
    RecordServer server(home);
    const QString path = server.GetUserFolder(server.GetDefaultUser()) + QLatin1Char('/') +
                         section + QStringLiteral(".pdb");
    const QString program = QStringLiteral(LEDGERLY_BIN_DIR);
    const auto cli = [&](const QStringList &args) { return runCli(program, home, config, args); };
    const CliRun before = cli({QStringLiteral("dump"), path});
    QCOMPARE(before.status, 0);
    const CliRun exported = cli({QStringLiteral("export"), section, csv});
    QVERIFY2(exported.status == 0, qPrintable(exported.err));
    const CliRun imported = cli({QStringLiteral("import"), section, csv});
    QVERIFY2(imported.status == 0, qPrintable(imported.err));
    const CliRun after = cli({QStringLiteral("dump"), path});
    QCOMPARE(after.status, 0);
    QCOMPARE(after.out, before.out);
}

// The fixture written byte by byte holds a value of every kind, a record of
// no values and a record that stores only its first two fields. What comes
// back differs only where the import's save fills empty cells, which the
// import then says.
void TestCliRoundtrip::everyFieldTypeOfTheFixtureSurvivesExportAndImport()
{
    CliFixture fx;
    QVERIFY(writeFile(fx.program + QStringLiteral("/QuayDB.ini"),
                      "[Every]\nDatabasename=Every type\nName=Name\nPaid=Paid\nDate=Date\n"
                      "Time=Time\nPhoto=Photo\nStamp=Stamp\nBlob=Blob\nNameHide=False\n"
                      "PaidHide=False\nDateHide=False\nTimeHide=False\nPhotoHide=False\n"
                      "StampHide=False\nBlobHide=False\n"));
    QVERIFY(QFile::copy(QStringLiteral(LEDGERLY_BIN_DIR "/BlankBmp.bmp"),
                        fx.program + QStringLiteral("/BlankBmp.bmp")));
    const QString path = fx.alice + QStringLiteral("/Every.pdb");
    QVERIFY(QFile::copy(QStringLiteral(LEDGERLY_TEST_DATA "/pdb/every-type.pdb"), path));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    const auto records = [&] {
        const CliRun run = fx.cli({QStringLiteral("dump"), path});
        return QJsonDocument::fromJson(run.out.toUtf8())
            .object()
            .value(QStringLiteral("records"))
            .toArray();
    };
    const QJsonArray before = records();
    QCOMPARE(before.size(), 3);

    const QString csv = fx.dir.filePath(QStringLiteral("every.csv"));
    const CliRun exported = fx.cli({QStringLiteral("export"), QStringLiteral("Every"), csv});
    QVERIFY2(exported.status == 0, qPrintable(exported.err));
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    const CliRun imported = fx.cli({QStringLiteral("import"), QStringLiteral("Every"), csv});
    QVERIFY2(imported.status == 0, qPrintable(imported.err));
    QVERIFY2(imported.out.contains(QStringLiteral("\n4 empty date(s) and time(s) were set to now")),
             qPrintable(imported.out));
    const QJsonArray after = records();
    QCOMPARE(after.size(), before.size());

    const QJsonObject blank{
        {QStringLiteral("bytes"), readFile(fx.program + QStringLiteral("/BlankBmp.bmp")).size()}};
    const int types[] = {FieldText,    FieldYesNo,    FieldDate, FieldTime,
                         FieldPicture, FieldDateTime, 9};
    for (qsizetype r = 0; r < before.size(); ++r) {
        for (int f = 0; f < 7; ++f) {
            const QJsonValue was = before.at(r).toArray().at(f);
            const QJsonValue now = after.at(r).toArray().at(f);
            const QString where = QStringLiteral("record %1 field %2").arg(r).arg(f);
            if (was.isNull() && (types[f] == FieldDate || types[f] == FieldTime)) {
                QVERIFY2(now.isString(), qPrintable(where));
                if (types[f] == FieldDate)
                    QVERIFY2(now.toString().startsWith(today), qPrintable(where));
            } else if (was.isNull() && types[f] == FieldYesNo) {
                QCOMPARE(now, QJsonValue(false));
            } else if (was.isNull() && types[f] == FieldPicture) {
                QCOMPARE(now.toObject().value(QStringLiteral("bytes")),
                         blank.value(QStringLiteral("bytes")));
            } else {
                QVERIFY2(now == was, qPrintable(where));
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestCliRoundtrip)
#include "tst_cli_roundtrip.moc"
