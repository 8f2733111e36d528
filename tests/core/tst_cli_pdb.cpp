#include "CliRun.h"
#include "TestFiles.h"
#include "common/Windows1252.h"
#include "database/FieldType.h"
#include "database/PdbDatabase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

class TestCliPdb : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    // --- users and add-user
    void usersOnFreshHome();
    void addUserThenList();
    void addUserUsage_data();
    void addUserUsage();
    void homeFromEnvironment();

    // --- dump
    void dumpEveryType();
    void dumpTextBytes_data();
    void dumpTextBytes();
    void dumpErrors_data();
    void dumpErrors();
    void helpNamesCommands();

private:
    CliRun run(const QStringList &args, const QProcessEnvironment &env = {});
    QProcessEnvironment environment() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_home;
};

void TestCliPdb::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_home = m_dir->filePath(QStringLiteral("home"));
}

QProcessEnvironment TestCliPdb::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("USER"), QStringLiteral("tester"));
    env.remove(QStringLiteral("HOTSYNC_HOME"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir->filePath(QStringLiteral("xdg")));
    return env;
}

CliRun TestCliPdb::run(const QStringList &args, const QProcessEnvironment &env)
{
    return runLedgerlyCli(args, env.isEmpty() ? environment() : env);
}

void TestCliPdb::usersOnFreshHome()
{
    const CliRun r = run({u"--hotsync-home"_qs, m_home, u"users"_qs});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, u"* tester\n"_qs);
    QVERIFY(QFileInfo(m_home + u"/tester"_qs).isDir());
}

void TestCliPdb::addUserThenList()
{
    const QString elsewhere = m_dir->filePath(QStringLiteral("pilot"));
    QCOMPARE(run({u"--hotsync-home"_qs, m_home, u"users"_qs}).status, 0);
    QCOMPARE(run({u"--hotsync-home"_qs, m_home, u"add-user"_qs, u"Smith, John"_qs, u"--default"_qs})
                 .status,
             0);
    const CliRun added = run({u"--hotsync-home"_qs, m_home, u"add-user"_qs, u"Amy"_qs,
                              u"--jpilot"_qs, u"--folder"_qs, elsewhere});
    QCOMPARE(added.status, 0);
    QVERIFY(QFileInfo(elsewhere).isDir());
    const CliRun r = run({u"--hotsync-home"_qs, m_home, u"users"_qs});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, u"  tester\n* Smith, John\n  Amy\n"_qs);
}

void TestCliPdb::addUserUsage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no name") << QStringList{u"add-user"_qs};
    QTest::newRow("two names") << QStringList{u"add-user"_qs, u"A"_qs, u"B"_qs};
    QTest::newRow("blank name") << QStringList{u"add-user"_qs, u"  "_qs};
    QTest::newRow("folder without value") << QStringList{u"add-user"_qs, u"A"_qs, u"--folder"_qs};
    QTest::newRow("users with an argument") << QStringList{u"users"_qs, u"extra"_qs};
}

void TestCliPdb::addUserUsage()
{
    QFETCH(QStringList, args);
    const CliRun r = run(QStringList{u"--hotsync-home"_qs, m_home} + args);
    QCOMPARE(r.status, 2);
    QVERIFY(r.err.contains(u"Usage"_qs));
    QVERIFY(!QFile::exists(m_home));
}

void TestCliPdb::homeFromEnvironment()
{
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("HOTSYNC_HOME"), m_home);
    const CliRun r = run({u"users"_qs}, env);
    QCOMPARE(r.status, 0);
    QVERIFY(QFile::exists(m_home + u"/hotsync.ini"_qs));
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("xdg/HotSync"))));
}

void TestCliPdb::dumpEveryType()
{
    const CliRun r = run({u"dump"_qs, QStringLiteral(LEDGERLY_TEST_DATA "/pdb/every-type.pdb")});
    QCOMPARE(r.status, 0);
    // Keys come in reading order.
    const QStringList keys = {u"\"name\""_qs, u"\"type\""_qs, u"\"creator\""_qs, u"\"fields\""_qs,
                              u"\"records\""_qs};
    for (int i = 1; i < keys.size(); ++i)
        QVERIFY(r.out.indexOf(keys.at(i - 1)) < r.out.indexOf(keys.at(i)));
    QJsonParseError error;
    const QJsonObject doc = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(doc.value(u"name"_qs).toString(), u"EveryType"_qs);
    QCOMPARE(doc.value(u"type"_qs).toString(), u"DATA"_qs);
    QCOMPARE(doc.value(u"creator"_qs).toString(), u"SkDB"_qs);
    const QJsonArray fields = doc.value(u"fields"_qs).toArray();
    QCOMPARE(fields.size(), 7);
    QCOMPARE(fields.at(4).toObject().value(u"name"_qs).toString(), u"Photo"_qs);
    QCOMPARE(fields.at(4).toObject().value(u"type"_qs).toInt(), 5);
    const QJsonArray records = doc.value(u"records"_qs).toArray();
    QCOMPARE(records.size(), 3);
    QByteArray bmp("BM");
    for (int i = 0; i < 40; ++i)
        bmp.append(char(i));
    const QJsonArray expected{
        u"Café €5"_qs,
        true,
        u"1969-07-20T00:00:00"_qs,
        u"1904-01-01T13:45:10"_qs,
        QJsonObject{
            {u"bytes"_qs, 42},
            {u"sha256"_qs, QString::fromLatin1(
                               QCryptographicHash::hash(bmp, QCryptographicHash::Sha256).toHex())}},
        u"2039-12-31T23:59:59"_qs,
        QJsonObject{{u"hex"_qs, u"010203"_qs}}};
    QCOMPARE(records.at(0).toArray(), expected);
    for (const QJsonValue &v : records.at(1).toArray())
        QVERIFY(v.isNull());
    QCOMPARE(records.at(2).toArray().at(0), QJsonValue(u""_qs));
    QCOMPARE(records.at(2).toArray().at(1), QJsonValue(false));
    QVERIFY(records.at(2).toArray().at(2).isNull());
}

void TestCliPdb::dumpErrors_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << QByteArray() << 1 << u"error 1:"_qs;
    QTest::newRow("damaged file") << QByteArray(100, 'x') << 1 << u"error 13:"_qs;
}

void TestCliPdb::dumpErrors()
{
    QFETCH(QByteArray, content);
    QFETCH(int, status);
    QFETCH(QString, message);
    const QString path = m_dir->filePath(QStringLiteral("File.pdb"));
    if (!content.isEmpty())
        QVERIFY(writeFile(path, content));
    const CliRun r = run({u"dump"_qs, path});
    QCOMPARE(r.status, status);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(r.err.contains(u"File.pdb"_qs));
    QCOMPARE(r.out, QString());
}

void TestCliPdb::helpNamesCommands()
{
    const CliRun r = run({u"--help"_qs});
    QCOMPARE(r.status, 0);
    for (const QString &synopsis :
         {u"users"_qs, u"add-user NAME [--folder DIR] [--jpilot] [--default]"_qs,
          u"dump FILE.pdb"_qs})
        QVERIFY2(r.out.contains(synopsis), qPrintable(synopsis));
    QCOMPARE(run({u"dump"_qs}).status, 2);
}

QTEST_GUILESS_MAIN(TestCliPdb)
void TestCliPdb::dumpTextBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << u"Plain words"_qs;
    QTest::newRow("quote") << u"say \"hi\""_qs;
    QTest::newRow("backslash") << u"C:\\path\\file"_qs;
    QTest::newRow("tab and line breaks") << u"a\tb\nc\rd"_qs;
    QTest::newRow("control characters") << u"\x01\x1f\x7f"_qs;
    QTest::newRow("Windows-1252 letters") << u"Café €5 – “quoted” Œ"_qs;
    QTest::newRow("slash and braces") << u"a/b {c} [d]"_qs;
    QTest::newRow("empty") << QString();
    QByteArray everyByte;
    for (int b = 1; b < 256; ++b)
        everyByte.append(char(b));
    QTest::newRow("every byte") << Ledgerly::Windows1252::decode(everyByte);
}

void TestCliPdb::dumpTextBytes()
{
    // The line of a record is exactly what the JSON serialiser writes.
    QFETCH(QString, text);
    Ledgerly::PdbDatabase db;
    db.Table().AddField(u"Text"_qs, Ledgerly::FieldText);
    db.Table().AddField(u"Day"_qs, Ledgerly::FieldDate);
    Ledgerly::PdbRecord &record = db.Table().AddRecord();
    record.setValue(0, text);
    record.setValue(1, QDateTime(QDate(1987, 6, 5), QTime(4, 3, 2), Qt::UTC));
    const QString path = m_dir->filePath(u"Text.pdb"_qs);
    db.SaveAs(path);
    const CliRun r = run({u"dump"_qs, path});
    QCOMPARE(r.status, 0);
    const QByteArray line = QJsonDocument(QJsonArray{QJsonArray{text, u"1987-06-05T04:03:02"_qs}})
                                .toJson(QJsonDocument::Compact)
                                .mid(1)
                                .chopped(1);
    QVERIFY2(r.out.toUtf8().contains("\n    " + line + "\n  ]"), qPrintable(r.out));
}

#include "tst_cli_pdb.moc"
