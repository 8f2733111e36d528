#include "CliRun.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

class TestCliList : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void list_data();
    void list();
    void sampleProgramFolder();
    void sectionsLeftOutOfTheListAreTold_data();
    void sectionsLeftOutOfTheListAreTold();
};

void TestCliList::list_data()
{
    QTest::addColumn<QByteArray>("schema"); // null: no QuayDB.ini at all
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::newRow("index section name and rounded field count")
        << QByteArray(
               "[A]\r\nDatabasename=Alpha\r\nX=x\r\nY=y\r\nXHide=False\r\nYHide=Calc\r\n"
               "[B]\r\nDatabasename=Beta\r\nZ=z\r\nZHide=Group\r\n[C]\r\nDatabasename=Gamma\r\n")
        << QStringList{} << 0 << QStringLiteral("0\tA\tAlpha\t2\n1\tB\tBeta\t1\n2\tC\tGamma\t0\n");
    QTest::newRow("six keys round to two fields")
        << QByteArray("[S]\nDatabasename=Six\nA=a\nB=b\nC=c\nAHide=0\nBHide=0\n") << QStringList{}
        << 0 << QStringLiteral("0\tS\tSix\t2\n");
    QTest::newRow("eight keys round to four fields")
        << QByteArray("[S]\nDatabasename=Eight\nA=a\nB=b\nC=c\nD=d\nAHide=0\nBHide=0\nCHide=0\n")
        << QStringList{} << 0 << QStringLiteral("0\tS\tEight\t4\n");
    QTest::newRow("missing display name keeps the line")
        << QByteArray("[A]\nDatabasename=a\n[B]\nk=1\n") << QStringList{} << 0
        << QStringLiteral("0\tA\ta\t0\n1\tB\t\t0\n");
    QTest::newRow("Windows-1252 display name")
        << QByteArray("[Depenses]\nDatabasename=D\xE9penses \x80\n") << QStringList{} << 0
        << QString::fromUtf8("0\tDepenses\tDépenses €\t0\n");
    QTest::newRow("empty schema lists nothing")
        << QByteArray("") << QStringList{} << 0 << QString();
    QTest::newRow("missing schema is an error") << QByteArray() << QStringList{} << 1 << QString();
    QTest::newRow("argument is a usage error")
        << QByteArray("[A]\n") << QStringList{QStringLiteral("extra")} << 2 << QString();
}

void TestCliList::list()
{
    QFETCH(QByteArray, schema);
    QFETCH(QStringList, extra);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (!schema.isNull())
        QVERIFY(writeFile(dir.filePath(QStringLiteral("QuayDB.ini")), schema));
    const CliRun r =
        runLedgerlyCli(QStringList{QStringLiteral("--program-folder"), dir.path(),
                                   QStringLiteral("--hotsync-home"),
                                   dir.filePath(QStringLiteral("home")), QStringLiteral("list")} +
                       extra);
    QCOMPARE(r.status, exitCode);
    QCOMPARE(r.out, out);
    QCOMPARE(r.err.isEmpty(), exitCode == 0);
}

void TestCliList::sampleProgramFolder()
{
    QTemporaryDir home;
    const CliRun r = runLedgerlyCli(
        {QStringLiteral("--program-folder"), QStringLiteral(LEDGERLY_SAMPLES "/program"),
         QStringLiteral("--hotsync-home"), home.path(), QStringLiteral("list")});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QStringLiteral("0\tExpenses\tExpenses\t7\n"
                                   "1\tMileage\tMileage Log\t10\n"
                                   "2\tInventory\tHome Inventory\t7\n"));
}

void TestCliList::sectionsLeftOutOfTheListAreTold_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("lines");     // printed on standard output
    QTest::addColumn<QString>("error"); // besides the count of sections left out
    QTest::newRow("list shows those that fit") << QStringList{u"list"_qs} << 0 << 409 << QString();
    QTest::newRow("create of a section left out")
        << QStringList{u"create"_qs, u"sect00450"_qs} << 1 << 0
        << u"the section \"sect00450\" is one of those QuayDB.ini could not list"_qs;
    QTest::newRow("create of a listed section")
        << QStringList{u"create"_qs, u"Sect00001"_qs} << 0 << 1 << QString();
}

void TestCliList::sectionsLeftOutOfTheListAreTold()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(int, lines);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QByteArray schema;
    for (int i = 0; i < 500; ++i)
        schema += "[Sect" + QByteArray::number(i).rightJustified(5, '0') + "]\nDatabasename=x\n";
    QVERIFY(writeFile(dir.filePath(u"QuayDB.ini"_qs), schema));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_CONFIG_HOME"_qs, dir.filePath(u"config"_qs));
    const CliRun r = runLedgerlyCli(QStringList{u"--program-folder"_qs, dir.path(),
                                                u"--hotsync-home"_qs, dir.filePath(u"home"_qs)} +
                                        args,
                                    env);
    QCOMPARE(r.status, exitCode);
    QCOMPARE(r.out.count(u'\n'), lines);
    QVERIFY2(r.err.contains(u"91 section(s) of QuayDB.ini could not be listed"_qs) &&
                 r.err.contains(u"the first one left out is \"Sect00409\""_qs),
             qPrintable(r.err));
    QVERIFY2(r.err.contains(error), qPrintable(r.err));
}

QTEST_GUILESS_MAIN(TestCliList)
#include "tst_cli_list.moc"
