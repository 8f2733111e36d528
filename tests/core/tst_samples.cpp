#include "catalogue/IniFile.h"
#include "catalogue/SchemaRules.h"
#include "database/PdbDatabase.h"
#include "database/PdbError.h"
#include "database/RecordServer.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSet>
#include <QTest>

using namespace Ledgerly;

namespace {

QString programFile(const QString &name)
{
    return QStringLiteral(LEDGERLY_SAMPLES "/program/") + name;
}

QString schema()
{
    return programFile(QStringLiteral("QuayDB.ini"));
}

// The build writes the demo home beside the bin folder.
QString demoPath(const QString &section)
{
    return QStringLiteral(LEDGERLY_BIN_DIR "/../demo-hotsync/Demo User/") + section +
           QStringLiteral(".pdb");
}

enum class Role { False, True, Calc, Group, Empty, Missing, Other };

Role roleOf(const QString &section, const QString &field)
{
    const QString key = field + QStringLiteral("Hide");
    bool present = false;
    for (const QString &k : ListIniKeys(schema(), section))
        present = present || k.compare(key, Qt::CaseInsensitive) == 0;
    if (!present)
        return Role::Missing;
    const QString value = ReadIniValue(section, key, schema());
    if (value.isEmpty())
        return Role::Empty;
    if (roleIsCalc(value))
        return Role::Calc;
    if (roleIsGroup(value))
        return Role::Group;
    if (!roleHidesColumn(value))
        return Role::False;
    if (value.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return Role::True;
    return Role::Other;
}

void addSectionRows()
{
    QTest::addColumn<QString>("section");
    for (const QString &s : ListIniSections(schema()))
        QTest::newRow(qPrintable(s)) << s;
}

} // namespace

class TestSamples : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void catalogueHasDatabases();
    void schemaSection_data();
    void schemaSection();
    void everyRoleValueUsed();
    void demoDatabase_data();
    void demoDatabase();
    void everyFieldTypeUsed();
    void settings_data();
    void settings();
    void pictures_data();
    void pictures();
};

void TestSamples::catalogueHasDatabases()
{
    const QStringList sections = ListIniSections(schema());
    QVERIFY2(sections.size() >= 3, qPrintable(sections.join(u',')));
    QSet<QString> names;
    for (const QString &s : sections)
        names.insert(ReadIniValue(s, QStringLiteral("Databasename"), schema()));
    QCOMPARE(names.size(), sections.size());
}

void TestSamples::schemaSection_data()
{
    addSectionRows();
}

void TestSamples::schemaSection()
{
    QFETCH(QString, section);
    QVERIFY(isSafeSectionName(section));
    const QStringList keys = ListIniKeys(schema(), section);
    QVERIFY(!keys.isEmpty());
    QCOMPARE(keys.first(), QStringLiteral("Databasename"));
    QVERIFY(!ReadIniValue(section, keys.first(), schema()).isEmpty());
    const int n = schemaFieldCount(int(keys.size()));
    QVERIFY(n > 0);
    // Captions first, then only role keys, each naming a caption key.
    QSet<QString> fields;
    for (int i = 1; i <= n; ++i) {
        QVERIFY2(!keys.at(i).endsWith(QLatin1String("Hide")), qPrintable(keys.at(i)));
        QVERIFY2(!ReadIniValue(section, keys.at(i), schema()).isEmpty(), qPrintable(keys.at(i)));
        fields.insert(keys.at(i).toLower());
    }
    QCOMPARE(fields.size(), n);
    for (int i = n + 1; i < keys.size(); ++i) {
        QVERIFY2(keys.at(i).endsWith(QLatin1String("Hide")), qPrintable(keys.at(i)));
        QVERIFY2(fields.contains(keys.at(i).chopped(4).toLower()), qPrintable(keys.at(i)));
        QVERIFY(roleOf(section, keys.at(i).chopped(4)) != Role::Other);
    }
}

void TestSamples::everyRoleValueUsed()
{
    QSet<Role> used;
    for (const QString &s : ListIniSections(schema())) {
        const QStringList keys = ListIniKeys(schema(), s);
        const int n = schemaFieldCount(int(keys.size()));
        for (int i = 1; i <= n; ++i)
            used.insert(roleOf(s, keys.at(i)));
    }
    for (Role r : {Role::False, Role::True, Role::Calc, Role::Group, Role::Empty, Role::Missing})
        QVERIFY2(used.contains(r), qPrintable(QString::number(int(r))));
}

void TestSamples::demoDatabase_data()
{
    addSectionRows();
}

void TestSamples::demoDatabase()
{
    QFETCH(QString, section);
    const QString path = demoPath(section);
    QVERIFY2(QFileInfo::exists(path), "the build writes the demo HotSync home (demo_hotsync)");
    RecordServer server(QDir::tempPath());
    std::unique_ptr<PdbDatabase> db;
    try {
        db = server.OpenDatabase(path);
    } catch (const PdbError &e) {
        QFAIL(qPrintable(e.message()));
    }
    const QStringList keys = ListIniKeys(schema(), section);
    const int n = schemaFieldCount(int(keys.size()));
    QCOMPARE(db->Fields().Count(), n);
    for (int i = 0; i < n; ++i)
        QCOMPARE(db->Fields().Item(i).Name, keys.at(i + 1));
    QVERIFY(db->Table().RecordCount() >= 24);
    for (int r = 0; r < db->Table().RecordCount(); ++r) {
        for (int f = 0; f < n; ++f) {
            const QVariant v = db->Table().Record(r).value(f);
            const QString where = QStringLiteral("record %1 field %2").arg(r).arg(f);
            QVERIFY2(!v.isNull(), qPrintable(where));
            if (db->Fields().Item(f).Type == FieldText)
                QVERIFY2(!v.toString().isEmpty(), qPrintable(where));
            if (db->Fields().Item(f).Type == FieldPicture)
                QVERIFY2(!QImage::fromData(v.toByteArray(), "BMP").isNull(), qPrintable(where));
        }
    }
}

void TestSamples::everyFieldTypeUsed()
{
    QSet<int> used;
    RecordServer server(QDir::tempPath());
    for (const QString &s : ListIniSections(schema())) {
        const QString path = demoPath(s);
        if (!QFileInfo::exists(path))
            QFAIL(qPrintable(path));
        const auto db = server.OpenDatabase(path);
        for (int f = 0; f < db->Fields().Count(); ++f)
            used.insert(db->Fields().Item(f).Type);
    }
    QCOMPARE(used,
             (QSet<int>{FieldText, FieldYesNo, FieldDate, FieldTime, FieldPicture, FieldDateTime}));
}

void TestSamples::settings_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    for (const char *k :
         {"DesktopName", "DeveloperName", "DeveloperWebsite", "ContactEmail", "Copyright"})
        QTest::newRow(k) << QString::fromLatin1(k) << QString::fromLatin1(k);
    for (const char *k : {"Skin", "Icon", "Splash"})
        QTest::newRow(k) << QStringLiteral("ImageFiles") << QString::fromLatin1(k);
    QTest::newRow("HelpFile") << QStringLiteral("HelpFiles") << QStringLiteral("HelpFile");
    QTest::newRow("Version") << QStringLiteral("VersionSetting") << QStringLiteral("Version");
    QTest::newRow("HTML") << QStringLiteral("Support") << QStringLiteral("HTML");
    for (const char *k : {"ReportSoftware", "KestReportsLocation", "ReportsName", "DownloadPage"})
        QTest::newRow(k) << QStringLiteral("Reports") << QString::fromLatin1(k);
}

void TestSamples::settings()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    const QString file = programFile(QStringLiteral("Ledgerly.ini"));
    const QString value = ReadIniValue(section, key, file);
    QVERIFY2(!value.isEmpty(), qPrintable(key));
    if (key == QLatin1String("DesktopName"))
        QCOMPARE(value, QStringLiteral("Ledgerly"));
    if (key == QLatin1String("ReportSoftware"))
        QCOMPARE(value, QStringLiteral("Viewer"));
    if (key == QLatin1String("HTML")) {
        QVERIFY(value.startsWith(u'<'));
        QVERIFY(!value.contains(QLatin1String("://")));
    }
    if (key == QLatin1String("HelpFile"))
        QVERIFY(QFileInfo(programFile(value)).isFile());
}

void TestSamples::pictures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("minimum");
    QTest::addColumn<QSize>("maximum");
    const QString ini = programFile(QStringLiteral("Ledgerly.ini"));
    auto image = [&](const char *key) {
        return ReadIniValue(QStringLiteral("ImageFiles"), QString::fromLatin1(key), ini);
    };
    QTest::newRow("skin") << image("Skin") << QSize(64, 16) << QSize(2048, 2048);
    QTest::newRow("icon") << image("Icon") << QSize(256, 256) << QSize(256, 256);
    QTest::newRow("splash") << image("Splash") << QSize(300, 200) << QSize(640, 480);
    QTest::newRow("blank picture")
        << QStringLiteral("BlankBmp.bmp") << QSize(1, 1) << QSize(64, 64);
}

void TestSamples::pictures()
{
    QFETCH(QString, file);
    QFETCH(QSize, minimum);
    QFETCH(QSize, maximum);
    const QImage image(programFile(file));
    QVERIFY2(!image.isNull(), qPrintable(file));
    QVERIFY(image.width() >= minimum.width() && image.height() >= minimum.height());
    QVERIFY(image.width() <= maximum.width() && image.height() <= maximum.height());
    if (file == QLatin1String("BlankBmp.bmp")) {
        QVERIFY(image.allGray());
        QCOMPARE(image.pixel(0, 0), qRgb(255, 255, 255));
    }
}

QTEST_GUILESS_MAIN(TestSamples)
#include "tst_samples.moc"
