#include "app/widgets/WidgetPrompter.h"
#include "app/widgets/frmNames.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {
// Acts on the modal window as soon as it is up, as a person would.
void whenModal(std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, [act] {
        QTRY_VERIFY(QApplication::activeModalWidget());
        act(QApplication::activeModalWidget());
    });
}
} // namespace

Q_DECLARE_METATYPE(Ledgerly::Prompter::Buttons)
Q_DECLARE_METATYPE(Ledgerly::Prompter::Icon)

class TestWidgetPrompter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void message_data();
    void message();
    void chooseUser_data();
    void chooseUser();
};

void TestWidgetPrompter::message_data()
{
    QTest::addColumn<Prompter::Buttons>("buttons");
    QTest::addColumn<Prompter::Icon>("icon");
    QTest::addColumn<int>("press"); // a QMessageBox::StandardButton, 0 = close the box
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shownTitle");

    QTest::newRow("OK box") << Prompter::Buttons::Ok << Prompter::Icon::None << int(QMessageBox::Ok)
                            << int(Prompter::Ok) << ""
                            << "Ledgerly Test";
    QTest::newRow("yes") << Prompter::Buttons::YesNoCancel << Prompter::Icon::Question
                         << int(QMessageBox::Yes) << int(Prompter::Yes) << "Save?"
                         << "Save?";
    QTest::newRow("no") << Prompter::Buttons::YesNoCancel << Prompter::Icon::Question
                        << int(QMessageBox::No) << int(Prompter::No) << ""
                        << "Ledgerly Test";
    QTest::newRow("cancel") << Prompter::Buttons::YesNoCancel << Prompter::Icon::Exclamation
                            << int(QMessageBox::Cancel) << int(Prompter::Cancel) << ""
                            << "Ledgerly Test";
    QTest::newRow("closing a yes/no/cancel box is cancel")
        << Prompter::Buttons::YesNoCancel << Prompter::Icon::Information << 0
        << int(Prompter::Cancel) << ""
        << "Ledgerly Test";
    QTest::newRow("yes/no: no") << Prompter::Buttons::YesNo << Prompter::Icon::Critical
                                << int(QMessageBox::No) << int(Prompter::No) << ""
                                << "Ledgerly Test";
}

void TestWidgetPrompter::message()
{
    QFETCH(Prompter::Buttons, buttons);
    QFETCH(Prompter::Icon, icon);
    QFETCH(int, press);
    QFETCH(QString, title);
    WidgetPrompter prompter;
    prompter.setTitleSource([] { return u"Ledgerly Test"_s; });

    QString shownTitle;
    QString shownText;
    whenModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        shownTitle = box->windowTitle();
        shownText = box->text();
        if (press)
            box->button(QMessageBox::StandardButton(press))->click();
        else
            box->close();
    });
    const int answer = prompter.message(u"Line one\r\nLine two"_s, buttons, icon, title);
    QTEST(answer, "answer");
    QTEST(shownTitle, "shownTitle");
    QCOMPARE(shownText, u"Line one\nLine two"_s);
}

void TestWidgetPrompter::chooseUser_data()
{
    QTest::addColumn<QString>("pick");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("always");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("OK on another user") << "Bob" << true << "Bob" << true << true;
    QTest::newRow("cancel keeps the offered fields") << "Bob" << false << "Ann" << false << false;
}

void TestWidgetPrompter::chooseUser()
{
    QFETCH(QString, pick);
    QFETCH(bool, ok);
    WidgetPrompter prompter;
    Prompter::UserChoice choice;
    choice.UserList = {u"Ann"_s, u"Bob"_s};
    choice.ChosenUser = u"Ann"_s;
    choice.AlwaysUseChoice = false;

    QString preselected;
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<frmNames *>(modal);
        QVERIFY(dialog);
        preselected = dialog->cboUsers()->currentText();
        dialog->cboUsers()->setCurrentText(pick);
        dialog->chkAlways()->setChecked(true);
        dialog->findChild<QPushButton *>(ok ? u"cmdOK"_s : u"cmdCancel"_s)->click();
    });
    prompter.chooseUser(choice);
    QCOMPARE(preselected, u"Ann"_s);
    QTEST(choice.ChosenUser, "chosen");
    QTEST(choice.AlwaysUseChoice, "always");
    QTEST(choice.Accepted, "accepted");
}

QTEST_MAIN(TestWidgetPrompter)
#include "tst_widgetprompter.moc"
