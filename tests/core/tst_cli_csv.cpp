#include "CliRun.h"
#include "TestFiles.h"
#include "TestValues.h"
#include "database/DatabaseLock.h"
#include "database/FieldType.h"
#include "database/PdbDatabase.h"
#include "database/RecordServer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Ledgerly;

// ledgerly-cli export and import: the same texts as the window, exit status
// 1 with the message on errors, and an export -> import -> save round trip
// that leaves the database file's contents exactly as they were.
class TestCliCsv : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void roundTripLeavesDumpUnchanged_data();
    void roundTripLeavesDumpUnchanged();
    void errors_data();
    void errors();
    void changesRefusedWhileAnotherProgramHoldsTheDatabase_data();
    void changesRefusedWhileAnotherProgramHoldsTheDatabase();
    void importLackingFieldsNeedsForce();

private:
    CliRun run(const QStringList &args, const QString &locale = QStringLiteral("C.UTF-8"));
    void writeProgramFolder();
    void writeDatabase();

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_program;
    QString m_home;
    QString m_database;
};

void TestCliCsv::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_program = m_dir->filePath(QStringLiteral("program"));
    m_home = m_dir->filePath(QStringLiteral("home"));
    QVERIFY(QDir().mkpath(m_program));
    writeProgramFolder();
    RecordServer server(m_home);
    server.addUser(QStringLiteral("Test User"), {}, false, true);
    m_database = server.GetUserFolder(QStringLiteral("Test User")) + QStringLiteral("/Kit.pdb");
    writeDatabase();
}

void TestCliCsv::writeProgramFolder()
{
    QVERIFY(writeFile(m_program + QStringLiteral("/QuayDB.ini"),
                      "[Kit]\r\nDatabasename=Kit list\r\n"
                      "Name=Name\r\nCount=Count\r\nPacked=Packed\r\nBought=Bought\r\n"
                      "Leaves=Leaves at\r\nFront=Front\r\nBack=Back\r\n"
                      "NameHide=False\r\nCountHide=Calc\r\nPackedHide=False\r\nBoughtHide=False\r\n"
                      "LeavesHide=False\r\nFrontHide=False\r\nBackHide=False\r\n"));
    QVERIFY(writeFile(m_program + QStringLiteral("/Ledgerly.ini"),
                      "[DesktopName]\r\nDesktopName=Ledgerly\r\n"));
}

void TestCliCsv::writeDatabase()
{
    PdbDatabase database;
    PdbTable &table = database.Table();
    table.AddField(QStringLiteral("Name"), FieldText);
    table.AddField(QStringLiteral("Count"), FieldText);
    table.AddField(QStringLiteral("Packed"), FieldYesNo);
    table.AddField(QStringLiteral("Bought"), FieldDate);
    table.AddField(QStringLiteral("Leaves"), FieldTime);
    table.AddField(QStringLiteral("Front"), FieldPicture);
    table.AddField(QStringLiteral("Back"), FieldPicture);
    const QList<QVariantList> records = {
        {QStringLiteral("Tent, \"two-person\"\nwith poles"), QStringLiteral("1"), true,
         wall(1962, 8, 14), wall(1904, 1, 1, 6, 45, 30), bitmap(Qt::red, 3, 2),
         bitmap(Qt::blue, 2, 3)},
        {QStringLiteral("Stove | fuel"), QStringLiteral("2,5"), false, wall(2039, 11, 30, 21, 5, 0),
         wall(1904, 1, 1), bitmap(Qt::green, 4, 4), bitmap(Qt::yellow, 1, 1)},
        {QStringLiteral("Caf\u00e9 mugs"), QStringLiteral("42a"), true, wall(1904, 1, 1),
         wall(1904, 1, 1, 23, 59, 59), bitmap(Qt::black, 5, 1), bitmap(Qt::white, 2, 2)},
    };
    for (const QVariantList &values : records) {
        PdbRecord &record = table.AddRecord();
        for (int j = 0; j < values.size(); ++j)
            record.setValue(j, values.at(j));
    }
    database.SaveAs(m_database);
}

CliRun TestCliCsv::run(const QStringList &args, const QString &locale)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir->filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir->filePath(QStringLiteral("data")));
    return runLedgerlyCli(QStringList{QStringLiteral("--program-folder"), m_program,
                                      QStringLiteral("--hotsync-home"), m_home} +
                              args,
                          env);
}

void TestCliCsv::roundTripLeavesDumpUnchanged_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("C") << QStringLiteral("C.UTF-8");
    QTest::newRow("en_US") << QStringLiteral("en_US.UTF-8");
    QTest::newRow("de_DE with a decimal comma") << QStringLiteral("de_DE.UTF-8");
}

void TestCliCsv::roundTripLeavesDumpUnchanged()
{
    QFETCH(QString, locale);
    const CliRun before = run({QStringLiteral("dump"), m_database}, locale);
    QCOMPARE(before.status, 0);
    QVERIFY(before.out.contains(QStringLiteral("Tent")));

    const QString csv = m_dir->filePath(QStringLiteral("kit.csv"));
    const CliRun exported = run({QStringLiteral("export"), QStringLiteral("Kit"), csv}, locale);
    QVERIFY2(exported.status == 0, qPrintable(exported.err));
    QCOMPARE(exported.out, csv + QStringLiteral(" created.\n3 record(s) exported\n"));
    QVERIFY(QFile::exists(m_dir->filePath(QStringLiteral("kit.csv3.bmp"))));
    QVERIFY(QFile::exists(m_dir->filePath(QStringLiteral("kit.csv3_7.bmp"))));

    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    file.close();
    QVERIFY(text.contains("\"Tent, \"\"two-person\"\"\nwith poles\",1,True,"));
    QVERIFY(text.contains("\"Stove | fuel\",\"2,5\",False,"));

    QFile database(m_database);
    QVERIFY(database.open(QIODevice::ReadOnly));
    const QByteArray stored = database.readAll();
    database.close();
    const CliRun imported = run({QStringLiteral("import"), QStringLiteral("Kit"), csv}, locale);
    QVERIFY2(imported.status == 0, qPrintable(imported.err));
    QCOMPARE(imported.out, csv + QStringLiteral(" Imported.\n3 record(s) Imported\n"));

    // The import saved: the file was rewritten (its modification number moves).
    QVERIFY(database.open(QIODevice::ReadOnly));
    QVERIFY(database.readAll() != stored);
    database.close();
    const CliRun after = run({QStringLiteral("dump"), m_database}, locale);
    QCOMPARE(after.status, 0);
    QCOMPARE(after.out, before.out);
}

void TestCliCsv::errors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("import of a missing file")
        << QStringList{QStringLiteral("import"), QStringLiteral("Kit"), QStringLiteral("none.csv")}
        << 1 << QStringLiteral("Error Opening CSV file.  Check diskspace or read-only status.");
    QTest::newRow("export into a missing folder")
        << QStringList{QStringLiteral("export"), QStringLiteral("Kit"),
                       QStringLiteral("no/such/folder/x.csv")}
        << 1 << QStringLiteral("Error creating CSV file.  Check diskspace or read-only status.");
    QTest::newRow("unknown section")
        << QStringList{QStringLiteral("export"), QStringLiteral("Nope"), QStringLiteral("x.csv")}
        << 1 << QStringLiteral("QuayDB.ini has no section \"Nope\"");
    QTest::newRow("missing output file is a usage error")
        << QStringList{QStringLiteral("export"), QStringLiteral("Kit")} << 2
        << QStringLiteral("Usage: ledgerly-cli export SECTION OUT.csv [--user NAME]");
    QTest::newRow("unknown user") << QStringList{QStringLiteral("resave"), QStringLiteral("Kit"),
                                                 QStringLiteral("--user"), QStringLiteral("Nobody")}
                                  << 1 << QStringLiteral("error 440");
}

void TestCliCsv::errors()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFile original(m_database);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    original.close();

    QDir::setCurrent(m_dir->path());
    const CliRun result = run(args);
    QCOMPARE(result.status, status);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY(result.out.isEmpty());
    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(original.readAll(), before);
}

void TestCliCsv::changesRefusedWhileAnotherProgramHoldsTheDatabase_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("import") << QStringList{QStringLiteral("import"), QStringLiteral("Kit"),
                                           QStringLiteral("kit.csv")};
    QTest::newRow("resave") << QStringList{QStringLiteral("resave"), QStringLiteral("kit")};
}

void TestCliCsv::changesRefusedWhileAnotherProgramHoldsTheDatabase()
{
    QFETCH(QStringList, args);
    QDir::setCurrent(m_dir->path());
    QCOMPARE(
        run({QStringLiteral("export"), QStringLiteral("Kit"), QStringLiteral("kit.csv")}).status,
        0);
    const QByteArray before = readFile(m_database);
    DatabaseLock held = DatabaseLock::acquire(m_database);
    QVERIFY(held.isLocked());
    const CliRun refused = run(args);
    QCOMPARE(refused.status, 1);
    QVERIFY2(refused.err.contains(QStringLiteral("in use by")), qPrintable(refused.err));
    QVERIFY2(refused.err.contains(QString::number(QCoreApplication::applicationPid())),
             qPrintable(refused.err));
    QCOMPARE(readFile(m_database), before);
    held.release();
    const CliRun allowed = run(args);
    QVERIFY2(allowed.status == 0, qPrintable(allowed.err));
}

void TestCliCsv::importLackingFieldsNeedsForce()
{
    QDir::setCurrent(m_dir->path());
    QVERIFY(writeFile(m_dir->filePath(QStringLiteral("part.csv")),
                      "\"Name\"\r\n\"Name\"\r\n\"Only\"\r\n"));
    const QByteArray before = readFile(m_database);
    const QStringList args{QStringLiteral("import"), QStringLiteral("Kit"),
                           QStringLiteral("part.csv")};
    const CliRun refused = run(args);
    QCOMPARE(refused.status, 1);
    QVERIFY2(refused.err.contains(QStringLiteral("not in the file and will be emptied")),
             qPrintable(refused.err));
    QCOMPARE(readFile(m_database), before);
    const CliRun forced = run(args + QStringList{QStringLiteral("--force")});
    QVERIFY2(forced.status == 0, qPrintable(forced.err));
    QVERIFY2(forced.out.contains(QStringLiteral("1 record(s) Imported")), qPrintable(forced.out));
}

QTEST_GUILESS_MAIN(TestCliCsv)
#include "tst_cli_csv.moc"
