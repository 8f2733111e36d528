#include "app/CommandTable.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace Ledgerly;

Q_DECLARE_METATYPE(Ledgerly::Command)

class TestCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void dispatchByKey_data();
    void dispatchByKey();
    void dispatchByButton_data();
    void dispatchByButton();
    void menuItemsReachTheirCommands_data();
    void menuItemsReachTheirCommands();
    void reportsItem_data();
    void reportsItem();
    void shortcuts_data();
    void shortcuts();
    void toolbar_data();
    void toolbar();
};

void TestCommands::dispatchByKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<Command>("command");

    QTest::newRow("change user as the menu spells it") << "KeyChangeUser" << Command::ChangeUser;
    QTest::newRow("change user as the dispatcher spells it")
        << "keyChangeUser" << Command::ChangeUser;
    QTest::newRow("upper case") << "KEYSAVEAS" << Command::SaveAs;
    QTest::newRow("save is not save as") << "keySave" << Command::Save;
    QTest::newRow("help key with ampersand") << "keyH&elp" << Command::Help;
    QTest::newRow("help key without ampersand is unknown") << "keyHelp" << Command::None;
    QTest::newRow("import csv") << "keyimportcsv" << Command::ImportCSV;
    QTest::newRow("export csv") << "keyExportCSV" << Command::ExportCSV;
    QTest::newRow("open does nothing but is known") << "keyOpen" << Command::Open;
    QTest::newRow("install") << "keyInstall" << Command::Install;
    QTest::newRow("print preview") << "keyPrintPreview" << Command::PrintPreview;
    QTest::newRow("reports") << "keyReports" << Command::Reports;
    QTest::newRow("clear") << "keyClearPDB" << Command::ClearPDB;
    QTest::newRow("about") << "keyAbout" << Command::About;
    QTest::newRow("exit") << "keyExit" << Command::Exit;
    QTest::newRow("top-level menu key") << "keyFile" << Command::None;
    QTest::newRow("empty separator key") << "" << Command::None;
    QTest::newRow("prefix of a key") << "keySav" << Command::None;
    QTest::newRow("key with trailing blank") << "keySave " << Command::None;
}

void TestCommands::dispatchByKey()
{
    QFETCH(QString, key);
    QTEST(CommandTable::commandForKey(key), "command");
}

void TestCommands::dispatchByButton_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<Command>("command");
    QTest::newRow("1 save and install") << 1 << Command::Save;
    QTest::newRow("2 toolbar print preview") << 2 << Command::ToolbarPrintPreview;
    QTest::newRow("3 export") << 3 << Command::ExportCSV;
    QTest::newRow("4 save as") << 4 << Command::SaveAs;
    QTest::newRow("5 exit") << 5 << Command::Exit;
    QTest::newRow("6 help") << 6 << Command::Help;
    QTest::newRow("0 is no button") << 0 << Command::None;
    QTest::newRow("7 is no button") << 7 << Command::None;
    QTest::newRow("negative") << -1 << Command::None;
}

void TestCommands::dispatchByButton()
{
    QFETCH(int, number);
    QTEST(CommandTable::commandForButton(number), "command");
}

void TestCommands::menuItemsReachTheirCommands_data()
{
    QTest::addColumn<bool>("reports");
    QTest::newRow("without report tool") << false;
    QTest::newRow("with report tool") << true;
}

void TestCommands::menuItemsReachTheirCommands()
{
    QFETCH(bool, reports);
    QSet<QString> seen;
    for (const MenuItem &item : CommandTable::menuItems(reports)) {
        if (item.isSeparator()) {
            QVERIFY(item.key.isEmpty());
            QVERIFY(item.caption.isEmpty());
            QVERIFY(!item.isTopLevel());
            continue;
        }
        QVERIFY2(!seen.contains(item.key.toLower()), qPrintable(item.key));
        seen.insert(item.key.toLower());
        if (item.isTopLevel())
            QCOMPARE(CommandTable::commandForKey(item.key), Command::None);
        else
            QVERIFY2(CommandTable::commandForKey(item.key) != Command::None, qPrintable(item.key));
    }
    QCOMPARE(seen.contains(QStringLiteral("keyreports")), reports);
}

void TestCommands::reportsItem_data()
{
    QTest::addColumn<bool>("reports");
    QTest::addColumn<QStringList>("fileKeys");
    const QStringList before = {u"KeyChangeUser"_s,
                                u""_s,
                                u"keySave"_s,
                                u"keySaveAs"_s,
                                u""_s,
                                u"keyExportCSV"_s,
                                u"keyImportCSV"_s,
                                u"keyEditSchema"_s,
                                u""_s,
                                u"keyInstall"_s,
                                u"keyPrintPreview"_s};
    const QStringList after = {u"keyClearPDB"_s, u""_s, u"keyExit"_s};
    QTest::newRow("no tool set up") << false << before + after;
    QTest::newRow("a tool set up") << true << before + QStringList{u"keyReports"_s} + after;
}

void TestCommands::reportsItem()
{
    QFETCH(bool, reports);
    QFETCH(QStringList, fileKeys);
    QStringList keys;
    QStringList helpKeys;
    for (const MenuItem &item : CommandTable::menuItems(reports)) {
        if (item.parentKey == QLatin1String("keyFile"))
            keys << item.key;
        else if (item.parentKey == QLatin1String("keyHelp"))
            helpKeys << item.key;
    }
    QCOMPARE(keys, fileKeys);
    QCOMPARE(helpKeys, (QStringList{u""_s, u"keyH&elp"_s, u""_s, u"keyAbout"_s}));
}

void TestCommands::shortcuts_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::newRow("change user") << "KeyChangeUser"
                                 << "&ChangeUser" << QKeySequence(Qt::CTRL | Qt::Key_C);
    QTest::newRow("save") << "keySave"
                          << "&Save" << QKeySequence(Qt::CTRL | Qt::Key_S);
    QTest::newRow("save as has none") << "keySaveAs"
                                      << "Save &As..." << QKeySequence();
    QTest::newRow("install") << "keyInstall"
                             << "Install..." << QKeySequence(Qt::CTRL | Qt::Key_I);
    QTest::newRow("print preview") << "keyPrintPreview"
                                   << "Print Preview" << QKeySequence(Qt::CTRL | Qt::Key_P);
    QTest::newRow("reports") << "keyReports"
                             << "Reports" << QKeySequence(Qt::CTRL | Qt::Key_R);
    QTest::newRow("clear") << "keyClearPDB"
                           << "Clear Database" << QKeySequence(Qt::CTRL | Qt::Key_X);
    QTest::newRow("exit") << "keyExit"
                          << "E&xit" << QKeySequence(Qt::ALT | Qt::Key_Q);
    QTest::newRow("about") << "keyAbout"
                           << "&About..." << QKeySequence();
    QTest::newRow("file menu") << "keyFile"
                               << "&File" << QKeySequence();
}

void TestCommands::shortcuts()
{
    QFETCH(QString, key);
    for (const MenuItem &item : CommandTable::menuItems(true)) {
        if (item.key == key) {
            QTEST(item.caption, "caption");
            QTEST(item.shortcut(), "shortcut");
            return;
        }
    }
    QFAIL("key not in the menu");
}

void TestCommands::toolbar_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("key");
    QTest::newRow("1") << 1 << "Save && Install"
                       << "SAVE";
    QTest::newRow("2") << 2 << "Print Preview"
                       << "PRINT";
    QTest::newRow("3") << 3 << "Export CSV"
                       << "OPEN";
    QTest::newRow("4") << 4 << "Backup/SaveAs"
                       << "COPY";
    QTest::newRow("5") << 5 << "Exit"
                       << "W95MBX01";
    QTest::newRow("6") << 6 << "Help"
                       << "Contents";
}

void TestCommands::toolbar()
{
    QFETCH(int, number);
    const auto buttons = CommandTable::toolbarButtons();
    QCOMPARE(buttons.size(), 6);
    const ToolbarButton &b = buttons.at(number - 1);
    QCOMPARE(b.number, number);
    QTEST(b.caption, "caption");
    QTEST(b.key, "key");
    QTEST(b.tooltip, "key");
}

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
