#include "RoundtripFixture.h"

#include "database/FieldType.h"

#include <QSignalSpy>

using namespace Ledgerly;

namespace {

const QList<SchemaField> noteFields = {
    {QStringLiteral("Title"), FieldText, QStringLiteral("Title"), QStringLiteral("False")},
    {QStringLiteral("Done"), FieldYesNo, QStringLiteral("Done"), QStringLiteral("False")},
};

// Two databases A and B, with A open in the table.
void openA(RoundtripFixture &fx)
{
    fx.writeSchema(RoundtripFixture::section(QStringLiteral("A"), noteFields) +
                   RoundtripFixture::section(QStringLiteral("B"), noteFields));
    fx.writeDatabase(QStringLiteral("A"), noteFields, {{QStringLiteral("a"), true}});
    fx.writeDatabase(QStringLiteral("B"), noteFields, {{QStringLiteral("b"), false}});
    fx.open(QStringLiteral("A"));
    QVERIFY(fx.controller->loadCompleted());
}

} // namespace

class TestSwitchDatabase : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void failedSaveKeepsTheEditedDatabaseOpen_data();
    void failedSaveKeepsTheEditedDatabaseOpen();
};

void TestSwitchDatabase::failedSaveKeepsTheEditedDatabaseOpen_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<bool>("saveFails");

    // A character the handheld's code page cannot hold makes the write fail.
    QTest::newRow("unsavable edit stays in the table") << QStringLiteral("check \u2713") << true;
    QTest::newRow("savable edit is saved and B loads") << QStringLiteral("plain") << false;
}

void TestSwitchDatabase::failedSaveKeepsTheEditedDatabaseOpen()
{
    QFETCH(QString, edit);
    QFETCH(bool, saveFails);
    RoundtripFixture fx;
    openA(fx);
    const QString pathA = fx.pdbPath(QStringLiteral("A"));
    const QByteArray storedA = readFile(pathA);
    const int indexA = fx.controller->catalogue().indexOf(QStringLiteral("A"));
    const QStringList keysA = fx.controller->document().schema().keys();
    QVERIFY(fx.grid().setData(fx.grid().index(0, 1), edit));
    QSignalSpy loaded(fx.controller.get(), &MainController::databaseLoaded);
    QSignalSpy chooser(fx.controller.get(), &MainController::sectionChanged);

    fx.open(QStringLiteral("B"));

    if (!saveFails) {
        QCOMPARE(fx.prompter.messages.size(), 0);
        QCOMPARE(fx.read(pathA)->Table().Record(0).value(0), QVariant(edit));
        QCOMPARE(fx.controller->CurrentPath(), fx.pdbPath(QStringLiteral("B")));
        QCOMPARE(fx.grid().cell(0, 1), QVariant(QStringLiteral("b")));
        QCOMPARE(loaded.count(), 1);
        return;
    }
    // The failure is reported; the edits it says are still in the table are.
    QCOMPARE(fx.prompter.messages.size(), 1);
    QVERIFY(fx.prompter.messages.first().text.contains(QStringLiteral("could not be saved")));
    QCOMPARE(readFile(pathA), storedA);
    QCOMPARE(loaded.count(), 0);
    QCOMPARE(fx.controller->CurrentPath(), pathA);
    QVERIFY(fx.controller->DatabaseEdited());
    QCOMPARE(fx.grid().cell(0, 1), QVariant(edit));
    // The chooser shows A again, and A's keys are back for the column set-up.
    QCOMPARE(fx.controller->currentSection(), indexA);
    // A window showing the chooser is told about the return to A.
    QCOMPARE(chooser.count(), 2);
    QCOMPARE(chooser.at(1).first().toInt(), indexA);
    QCOMPARE(fx.controller->document().schema().keys(), keysA);
    QCOMPARE(fx.prompter.messages.size(), 1); // restoring A asked and saved nothing

    // Once the edit can be saved, the switch goes ahead.
    QVERIFY(fx.grid().setData(fx.grid().index(0, 1), QStringLiteral("fixed")));
    fx.open(QStringLiteral("B"));
    QCOMPARE(fx.prompter.messages.size(), 1);
    QCOMPARE(fx.read(pathA)->Table().Record(0).value(0), QVariant(QStringLiteral("fixed")));
    QCOMPARE(fx.controller->CurrentPath(), fx.pdbPath(QStringLiteral("B")));
    QCOMPARE(fx.grid().cell(0, 1), QVariant(QStringLiteral("b")));
}

QTEST_GUILESS_MAIN(TestSwitchDatabase)
#include "tst_switch_database.moc"
