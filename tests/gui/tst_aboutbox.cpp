#include "WindowFixture.h"

#include "app/widgets/frmSplash1.h"

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

class TestAboutBox : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void texts_data();
    void texts();
    void logo_data();
    void logo();
    void closes_data();
    void closes();
    void oneInstanceFromTheMenu();
    void unloadClosesIt();
};

void TestAboutBox::texts_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("labels"); // product, version, company, copyright, support
    QTest::addColumn<QString>("html");

    QTest::newRow("no settings file: only the fixed texts")
        << QByteArray()
        << QStringList{u""_s, u""_s, u""_s, u"Copyright: "_s, u"For support email: "_s} << "";
    QTest::newRow("empty copyright keeps its prefix")
        << QByteArray("[DesktopName]\nDesktopName=Ledge\n[Copyright]\nCopyright=\n")
        << QStringList{u"Ledge"_s, u""_s, u""_s, u"Copyright: "_s, u"For support email: "_s} << "";
    QTest::newRow("full settings")
        << WindowFixture::defaultLedgerlyIni()
        << QStringList{u"TestLedger"_s, u"Version 9.9"_s, u"Test Makers"_s,
                       u"Copyright: 2026 Test Makers"_s, u"For support email: help@example.org"_s}
        << "Ask us";
}

void TestAboutBox::texts()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, labels);
    QFETCH(QString, html);
    WindowFixture f({u"Ann"_s}, ini.isEmpty() ? QByteArray() : ini);
    f.start();
    QCOMPARE(f.modalShown, QStringList{u"frmSplash1"_s});
    frmSplash1 *about = f.window->aboutBox();
    QVERIFY(about);
    QVERIFY(about->isModal());

    const QStringList names = {u"lblProductName"_s, u"lblVersion"_s, u"lblCompany"_s,
                               u"lblCopyright"_s, u"lblTechSupport"_s};
    for (int i = 0; i < names.size(); ++i) {
        auto *label = about->findChild<QLabel *>(names.at(i));
        QVERIFY2(label, qPrintable(names.at(i)));
        QCOMPARE(label->text(), labels.at(i));
        QCOMPARE(label->font().family(), u"Arial"_s);
    }
    QCOMPARE(about->findChild<QLabel *>(u"Label2"_s)->text(), u"Support Information:"_s);
    QCOMPARE(about->findChild<QLabel *>(u"lblCompanyProduct"_s)->text(), u"from"_s);
    QCOMPARE(about->findChild<QPushButton *>(u"cmdOK"_s)->text(), u"Continue"_s);
    QCOMPARE(about->findChild<QTextBrowser *>(u"DHTMLEdit1"_s)->toPlainText(), html);
}

void TestAboutBox::logo_data()
{
    QTest::addColumn<bool>("validPicture");
    QTest::newRow("a readable logo is shown") << true;
    QTest::newRow("an unreadable logo is left out") << false;
}

void TestAboutBox::logo()
{
    QFETCH(bool, validPicture);
    WindowFixture f({u"Ann"_s});
    if (validPicture) {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        QVERIFY(image.save(f.programFolder + u"/broken-logo.png"_s, "PNG"));
    }
    frmSplash1 about(f.programFolder);
    QCOMPARE(about.hasLogo(), validPicture);
    QCOMPARE(about.settings().logoPath, f.programFolder + u"/broken-logo.png"_s);
}

void TestAboutBox::closes_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("any key") << "key";
    QTest::newRow("the button") << "button";
    QTest::newRow("a click on the frame") << "frame";
    QTest::newRow("a click on a label") << "label";
}

void TestAboutBox::closes()
{
    QFETCH(QString, how);
    WindowFixture f({u"Ann"_s});
    auto *about = new frmSplash1(f.programFolder);
    QPointer<frmSplash1> guard(about);
    about->show();
    QVERIFY(QTest::qWaitForWindowExposed(about));
    if (how == QLatin1String("key"))
        QTest::keyClick(about, Qt::Key_Q);
    else if (how == QLatin1String("button"))
        QTest::mouseClick(about->findChild<QPushButton *>(u"cmdOK"_s), Qt::LeftButton);
    else if (how == QLatin1String("frame"))
        QTest::mouseClick(about->findChild<QFrame *>(u"Frame1"_s), Qt::LeftButton, {},
                          QPoint(3, 3));
    else
        QTest::mouseClick(about->findChild<QLabel *>(u"lblVersion"_s), Qt::LeftButton);
    QVERIFY(!about->isVisible() || !guard);
    QTRY_VERIFY(!guard); // released once closed
}

void TestAboutBox::oneInstanceFromTheMenu()
{
    WindowFixture f({u"Ann"_s});
    f.start();
    f.window->aboutBox()->close();
    QTRY_VERIFY(!f.window->aboutBox());

    f.window->SmartMenuXP1_MenuItemClick(u"keyAbout"_s);
    f.window->SmartMenuXP1_MenuItemClick(u"KEYABOUT"_s);
    QCOMPARE(f.window->findChildren<frmSplash1 *>().size(), 1);
    QVERIFY(f.window->aboutBox()->isVisible());
    QVERIFY(!f.window->aboutBox()->isModal()); // the window stays usable
    QCOMPARE(f.modalShown.size(), 1);          // only the one at start
}

void TestAboutBox::unloadClosesIt()
{
    WindowFixture f({u"Ann"_s});
    f.start();
    f.window->showAboutBox(false);
    QPointer<frmSplash1> about = f.window->aboutBox();
    QVERIFY(about);
    QVERIFY(f.window->close());
    QTRY_VERIFY(!about);
}

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
