#include "app/widgets/frmNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

class TestFrmNames : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void controls();
    void load_data();
    void load();
    void buttons_data();
    void buttons();
};

void TestFrmNames::controls()
{
    frmNames dialog;
    QCOMPARE(dialog.windowTitle(), u"Select HotSync Username"_s);
    QCOMPARE(dialog.findChild<QLabel *>(u"Label1"_s)->text(), u"HotSync User:"_s);
    QCOMPARE(dialog.findChild<QCheckBox *>(u"chkAlways"_s)->text(), u"Always use this name"_s);
    QCOMPARE(dialog.findChild<QPushButton *>(u"cmdCancel"_s)->text(), u"Cancel"_s);
    QVERIFY(dialog.findChild<QPushButton *>(u"cmdOK"_s));
    QVERIFY(dialog.findChild<QComboBox *>(u"cboUsers"_s));
}

void TestFrmNames::load_data()
{
    QTest::addColumn<QStringList>("users");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("always");
    QTest::addColumn<int>("selected");

    const QStringList three = {u"Ann"_s, u"Bob"_s, u"Cid"_s};
    QTest::newRow("the chosen user is selected") << three << "Bob" << true << 1;
    QTest::newRow("comparison is case-sensitive: first entry") << three << "bob" << false << 0;
    QTest::newRow("unknown user: first entry") << three << "Zed" << true << 0;
    QTest::newRow("no users leaves the list empty") << QStringList{} << "Ann" << true << -1;
    QTest::newRow("duplicates: the first equal one")
        << QStringList{u"Ann"_s, u"Bob"_s, u"Bob"_s} << "Bob" << false << 1;
}

void TestFrmNames::load()
{
    QFETCH(QStringList, users);
    QFETCH(QString, chosen);
    QFETCH(bool, always);
    QFETCH(int, selected);
    frmNames dialog;
    dialog.UserList = users;
    dialog.ChosenUser = chosen;
    dialog.AlwaysUseChoice = always;
    dialog.Accepted = true;
    dialog.Form_Load();

    QComboBox *combo = dialog.cboUsers();
    QCOMPARE(combo->count(), users.size());
    for (int i = 0; i < users.size(); ++i)
        QCOMPARE(combo->itemText(i), users.at(i));
    QCOMPARE(combo->currentIndex(), selected);
    if (users.isEmpty())
        QVERIFY(combo->currentText().isEmpty());
    QCOMPARE(dialog.chkAlways()->isChecked(), always);
    QVERIFY(!dialog.Accepted);
}

void TestFrmNames::buttons_data()
{
    QTest::addColumn<QString>("typed"); // replaces the combo text when not null
    QTest::addColumn<bool>("tick");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("chosenOut");
    QTest::addColumn<bool>("alwaysOut");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("OK takes the selected user and the tick") << QString() << true << "cmdOK"
                                                             << "Bob" << true << true;
    QTest::newRow("OK with a typed name") << "New Person" << false << "cmdOK"
                                          << "New Person" << false << true;
    QTest::newRow("OK with an empty name is not accepted") << "" << false << "cmdOK"
                                                           << "" << false << false;
    QTest::newRow("Cancel keeps what was given") << "Other" << true << "cmdCancel"
                                                 << "Bob" << false << false;
}

void TestFrmNames::buttons()
{
    QFETCH(QString, typed);
    QFETCH(bool, tick);
    QFETCH(QString, button);
    frmNames dialog;
    dialog.UserList = {u"Ann"_s, u"Bob"_s};
    dialog.ChosenUser = u"Bob"_s;
    dialog.AlwaysUseChoice = false;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    if (!typed.isNull())
        dialog.cboUsers()->setEditText(typed);
    dialog.chkAlways()->setChecked(tick);

    QTest::mouseClick(dialog.findChild<QPushButton *>(button), Qt::LeftButton);

    QVERIFY(!dialog.isVisible());
    QTEST(dialog.ChosenUser, "chosenOut");
    QTEST(dialog.AlwaysUseChoice, "alwaysOut");
    QTEST(dialog.Accepted, "accepted");
}

QTEST_MAIN(TestFrmNames)
#include "tst_frmnames.moc"
