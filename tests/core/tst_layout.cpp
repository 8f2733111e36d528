#include "app/WindowLayout.h"
#include "common/Twips.h"

#include <QTest>

using namespace Ledgerly;

class TestLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void figures_data();
    void figures();
    void heightIsImposed_data();
    void heightIsImposed();
    void twips_data();
    void twips();
};

void TestLayout::figures_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("menuLeft");
    QTest::addColumn<double>("menuTop");
    QTest::addColumn<double>("panel4Left");
    QTest::addColumn<double>("gridWidth");
    QTest::addColumn<double>("gridTop");
    QTest::addColumn<double>("statusTop");
    QTest::addColumn<double>("frame2Top");
    QTest::addColumn<double>("frame2Left");
    QTest::addColumn<double>("frame1Left");

    // 0.74 * 9850 = 7289; 1400 + 7289 + 5 = 8694
    QTest::newRow("12000 twips wide at the origin")
        << 12000.0 << 0.0 << 0.0 << 3000.0 << 11760.0 << 1400.0 << 8694.0 << 8681.0 << 3008.0
        << 8000.0;
    QTest::newRow("menu bar offset moves everything")
        << 12000.0 << 60.0 << 300.0 << 3100.0 << 11760.0 << 1700.0 << 8994.0 << 8981.0 << 3108.0
        << 8060.0;
    QTest::newRow("wide window") << 20000.0 << 0.0 << 0.0 << 0.0 << 19600.0 << 1400.0 << 8694.0
                                 << 8681.0 << 8.0 << 8000.0;
    QTest::newRow("window narrower than the frame indent")
        << 5000.0 << 0.0 << 0.0 << 100.0 << 4900.0 << 1400.0 << 8694.0 << 8681.0 << 108.0 << 8000.0;
}

void TestLayout::figures()
{
    QFETCH(double, width);
    QFETCH(double, menuLeft);
    QFETCH(double, menuTop);
    QFETCH(double, panel4Left);

    WindowLayout::Input in;
    in.windowWidth = width;
    in.menuLeft = menuLeft;
    in.menuTop = menuTop;
    in.statusPanel4Left = panel4Left;
    const WindowLayout::Result r = WindowLayout::compute(in);

    QTEST(r.grid.width, "gridWidth");
    QTEST(r.grid.top, "gridTop");
    QCOMPARE(r.grid.left, menuLeft);
    QCOMPARE(r.grid.height, 0.74 * 9850);
    QTEST(r.statusBar.top, "statusTop");
    QCOMPARE(r.statusBar.top, r.grid.bottom() + 5);
    QCOMPARE(r.statusBar.width, r.grid.width);
    QCOMPARE(r.statusBar.left, menuLeft);
    QCOMPARE(r.toolbar.top, menuTop + 525);
    QCOMPARE(r.toolbar.left, menuLeft);
    QCOMPARE(r.toolbar.width, r.grid.width); // the last step wins over width - 194
    QTEST(r.frame2.top, "frame2Top");
    QTEST(r.frame2.left, "frame2Left");
    QCOMPARE(r.frame2.height, 585.0);
    QCOMPARE(r.frame1.top, menuTop + 10);
    QTEST(r.frame1.left, "frame1Left");
    QCOMPARE(r.progress.top, 250.0);
    QCOMPARE(r.progress.height, 220.0);
    QCOMPARE(r.column0Width, 800.0);
}

void TestLayout::heightIsImposed_data()
{
    QTest::addColumn<double>("width");
    QTest::newRow("small") << 3000.0;
    QTest::newRow("usual") << 15000.0;
    QTest::newRow("zero") << 0.0;
}

void TestLayout::heightIsImposed()
{
    QFETCH(double, width);
    WindowLayout::Input in;
    in.windowWidth = width;
    const auto r = WindowLayout::compute(in);
    QCOMPARE(r.windowHeight, 9850.0);
    QVERIFY(r.statusBar.top < r.windowHeight);
}

void TestLayout::twips_data()
{
    QTest::addColumn<double>("twips");
    QTest::addColumn<double>("dpi");
    QTest::addColumn<int>("pixels");

    QTest::newRow("one inch at 96 dpi") << 1440.0 << 96.0 << 96;
    QTest::newRow("one inch at 144 dpi") << 1440.0 << 144.0 << 144;
    QTest::newRow("column 0 at 96 dpi") << 800.0 << 96.0 << 53;
    QTest::newRow("window height at 96 dpi") << 9850.0 << 96.0 << 657;
    QTest::newRow("window height at 192 dpi") << 9850.0 << 192.0 << 1313;
    QTest::newRow("half pixel rounds away from zero") << 7.5 << 96.0 << 1;
    QTest::newRow("negative offset") << -13.0 << 96.0 << -1;
    QTest::newRow("no dpi gives nothing") << 1440.0 << 0.0 << 0;
}

void TestLayout::twips()
{
    QFETCH(double, twips);
    QFETCH(double, dpi);
    QTEST(Twips::toPixels(twips, dpi), "pixels");
    if (dpi > 0) {
        QFETCH(int, pixels);
        // Back to twips within half a pixel.
        QVERIFY(qAbs(Twips::fromPixels(pixels, dpi) - twips) <= 1440.0 / dpi / 2 + 1e-9);
    } else {
        QCOMPARE(Twips::fromPixels(10, dpi), 0.0);
    }
}

QTEST_GUILESS_MAIN(TestLayout)
#include "tst_layout.moc"
