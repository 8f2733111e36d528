// A save killed at any moment must leave the database as it was or as it
// was to become, never half written, and no stray temporary file behind
// (or one the next save removes).
#include "CliRun.h"
#include "TestFiles.h"
#include "database/FieldType.h"
#include "database/PdbDatabase.h"
#include "database/RecordServer.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace Ledgerly;

namespace {

constexpr int Records = 9000;
constexpr int Kills = 20;

QList<QList<QVariant>> recordValues(const PdbDatabase &db)
{
    QList<QList<QVariant>> out;
    for (int i = 0; i < db.Table().RecordCount(); ++i)
        out.append(db.Table().Record(i).values());
    return out;
}

} // namespace

class TestInterruptedSave : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void killedResave_data();
    void killedResave();

private:
    QStringList resaveArgs() const;
    QSet<QString> filesUnder(const QString &root) const;
    QProcessEnvironment environment() const;

    QTemporaryDir m_dir;
    QString m_program, m_home, m_path;
    QByteArray m_original;
    QList<QList<QVariant>> m_values;
    quint32 m_modificationNumber = 0;
    QSet<QString> m_expectedFiles;
    qint64 m_resaveMs = 0;
};

QProcessEnvironment TestInterruptedSave::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    return env;
}

QStringList TestInterruptedSave::resaveArgs() const
{
    return {QStringLiteral("--program-folder"), m_program,
            QStringLiteral("--hotsync-home"),   m_home,
            QStringLiteral("resave"),           QStringLiteral("Big")};
}

QSet<QString> TestInterruptedSave::filesUnder(const QString &root) const
{
    QSet<QString> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.insert(it.next().mid(root.size()));
    return files;
}

void TestInterruptedSave::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_program = m_dir.filePath(QStringLiteral("program"));
    m_home = m_dir.filePath(QStringLiteral("home"));
    QVERIFY(QDir().mkpath(m_program));
    QVERIFY(writeFile(m_program + QStringLiteral("/Ledgerly.ini"),
                      "[DesktopName]\nDesktopName=Kill test\n"));
    QByteArray schema = "[Big]\nDatabasename=Big\n";
    QByteArray roles;
    for (int f = 0; f < 12; ++f) {
        schema += "F" + QByteArray::number(f) + "=Field " + QByteArray::number(f) + "\n";
        roles += "F" + QByteArray::number(f) + "Hide=False\n";
    }
    QVERIFY(writeFile(m_program + QStringLiteral("/QuayDB.ini"), schema + roles));

    RecordServer server(m_home);
    server.addUser(QStringLiteral("Killer"), {}, false, true);
    m_path = server.GetUserFolder(QStringLiteral("Killer")) + QStringLiteral("/Big.pdb");
    PdbDatabase db;
    const int types[] = {FieldText, FieldText, FieldYesNo, FieldDate};
    for (int f = 0; f < 12; ++f)
        db.Table().AddField(QStringLiteral("F%1").arg(f), types[f % 4]);
    for (int r = 0; r < Records; ++r) {
        PdbRecord &rec = db.Table().AddRecord();
        for (int f = 0; f < 12; ++f) {
            if (types[f % 4] == FieldText)
                rec.setValue(f, QStringLiteral("Record %1, field %2: %3")
                                    .arg(r)
                                    .arg(f)
                                    .arg(QString(r % 97, QChar(u'x'))));
            else if (types[f % 4] == FieldYesNo)
                rec.setValue(f, (r + f) % 3 == 0);
            else
                rec.setValue(f, QDateTime(QDate(2001, 1, 1).addDays(r), QTime(0, 0), Qt::UTC));
        }
    }
    db.SaveAs(m_path);
    m_original = readFile(m_path);
    QVERIFY(m_original.size() > 1000000);
    const auto stored = PdbDatabase::fromBytes(m_original);
    m_values = recordValues(*stored);
    m_modificationNumber = stored->header().modificationNumber;

    // One save run to the end: the files it leaves are the expected ones,
    // and its length spreads the kills over a whole run.
    QElapsedTimer timer;
    timer.start();
    const CliRun run = runLedgerlyCli(resaveArgs(), environment());
    m_resaveMs = timer.elapsed();
    QCOMPARE(run.status, 0);
    m_expectedFiles = filesUnder(m_dir.path());
}

void TestInterruptedSave::killedResave_data()
{
    QTest::addColumn<int>("moment");
    for (int i = 0; i < Kills; ++i)
        QTest::addRow("kill %d of %d", i + 1, Kills) << i;
}

void TestInterruptedSave::killedResave()
{
    QFETCH(int, moment);
    QVERIFY(writeFile(m_path, m_original));

    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(ledgerlyCliPath(), resaveArgs());
    QVERIFY(process.waitForStarted());
    // The kills spread from the start to a little past the reference run.
    QThread::msleep(quint64(m_resaveMs * 11 / 10 * moment / Kills));
    process.kill();
    QVERIFY(process.waitForFinished(60000));

    const QByteArray bytes = readFile(m_path);
    std::unique_ptr<PdbDatabase> db;
    try {
        db = PdbDatabase::fromBytes(bytes);
    } catch (...) {
        QFAIL("the database no longer loads");
    }
    const quint32 number = db->header().modificationNumber;
    QVERIFY2(number == m_modificationNumber || number == m_modificationNumber + 1,
             "the file is neither the old one nor the saved one");
    QVERIFY(recordValues(*db) == m_values);

    const QSet<QString> left = filesUnder(m_dir.path()) - m_expectedFiles;
    if (!left.isEmpty()) {
        // A temporary file the kill left behind: the next save removes it.
        const CliRun run = runLedgerlyCli(resaveArgs(), environment());
        QCOMPARE(run.status, 0);
        const QSet<QString> stillLeft = filesUnder(m_dir.path()) - m_expectedFiles;
        QVERIFY2(stillLeft.isEmpty(),
                 qPrintable(QStringList(stillLeft.cbegin(), stillLeft.cend()).join(u' ')));
    }
}

QTEST_GUILESS_MAIN(TestInterruptedSave)
#include "tst_interrupted_save.moc"
