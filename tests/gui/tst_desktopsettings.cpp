#include "TestFiles.h"
#include "app/DesktopSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

class TestDesktopSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void load_data();
    void load();
    void programFile_data();
    void programFile();
};

void TestDesktopSettings::load_data()
{
    QTest::addColumn<QByteArray>("ini");     // null: no file at all
    QTest::addColumn<QStringList>("fields"); // AppName .. HelpFile, then the icon path's tail

    QTest::newRow("no settings file: every value empty")
        << QByteArray() << QStringList{u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s};
    QTest::newRow("values from their own sections")
        << QByteArray("[DesktopName]\r\nDesktopName=My Ledger\r\n"
                      "[DeveloperName]\r\nDeveloperName=Dev\r\n"
                      "[DeveloperWebsite]\r\nDeveloperWebsite=https://x.example\r\n"
                      "[ContactEmail]\r\nContactEmail=a@b.example\r\n"
                      "[Copyright]\r\nCopyright=2026\r\n"
                      "[ImageFiles]\r\nSkin=skin.png\r\nIcon=pics\\icon.png\r\n"
                      "[HelpFiles]\r\nHelpFile=Help.html\r\n")
        << QStringList{u"My Ledger"_s, u"Dev"_s,      u"https://x.example"_s, u"a@b.example"_s,
                       u"2026"_s,      u"skin.png"_s, u"Help.html"_s,         u"/pics/icon.png"_s};
    QTest::newRow("keys in the wrong section are not found")
        << QByteArray("[General]\r\nDesktopName=Wrong\r\nHelpFile=Wrong.html\r\n")
        << QStringList{u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s};
    QTest::newRow("names ignore case, values trimmed")
        << QByteArray("[desktopname]\r\ndesktopNAME =  Spaced Name  \r\n")
        << QStringList{u"Spaced Name"_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s};
}

void TestDesktopSettings::load()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, fields);
    QTemporaryDir dir;
    if (!ini.isNull())
        QVERIFY(writeFile(dir.filePath(u"Ledgerly.ini"_s), ini));
    MainState state;
    state.ProgramFolder = dir.path();
    state.AppName = u"stale"_s; // earlier values are replaced, even by empty ones
    state.HelpFile = u"/old/prefixed/Help.html"_s;
    DesktopSettings::LoadDesktopSettings(state);

    QCOMPARE(state.AppName, fields.at(0));
    QCOMPARE(state.DeveloperName, fields.at(1));
    QCOMPARE(state.DeveloperWebsite, fields.at(2));
    QCOMPARE(state.ContactEmail, fields.at(3));
    QCOMPARE(state.Copyright, fields.at(4));
    QCOMPARE(state.Skin, fields.at(5));
    QCOMPARE(state.HelpFile, fields.at(6));
    const QString icon = DesktopSettings::iconPath(state);
    QCOMPARE(icon.isEmpty() ? QString() : icon.mid(dir.path().size()), fields.at(7));
}

void TestDesktopSettings::programFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::newRow("plain name") << "a.png"
                                << "/prog/a.png";
    QTest::newRow("Windows separators") << "img\\b.png"
                                        << "/prog/img/b.png";
    QTest::newRow("empty name gives no path") << ""
                                              << "";
    QTest::newRow("name with blanks") << "My Skin.png"
                                      << "/prog/My Skin.png";
}

void TestDesktopSettings::programFile()
{
    QFETCH(QString, name);
    QTEST(DesktopSettings::programFile(u"/prog"_s, name), "path");
}

QTEST_MAIN(TestDesktopSettings)
#include "tst_desktopsettings.moc"
