#include "app/widgets/frmMain.h"
#include "common/Twips.h"
#include "output/widgets/PrintPreview.h"

#include "output/widgets/PageView.h"
#include <QAction>
#include <QLabel>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

#include "CliRun.h"
#include "PdfText.h"
#include "WindowFixture.h"

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<QStandardItemModel> tableOf(int rows)
{
    auto model = std::make_unique<QStandardItemModel>(rows, 3);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < 3; ++c)
            model->setItem(r, c, new QStandardItem(u"r%1c%2"_s.arg(r).arg(c)));
    return model;
}

double twipsOf(const QWidget &w, int pixels)
{
    return Twips::fromPixels(pixels, w.logicalDpiX());
}

void triggerTool(PrintPreview &preview, const QString &name)
{
    for (QAction *action : preview.viewerToolBar()->actions())
        if (action->objectName() == name)
            return action->trigger();
    QFAIL(qPrintable(u"no action "_s + name));
}

QByteArray iniWithReports(const QByteArray &reports)
{
    return WindowFixture::defaultLedgerlyIni() + "[Reports]\r\n" + reports;
}

} // namespace

class TestPrintPreview : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { PrintPreview::setOpeningWidthTwips(PrintPreview::firstOpeningWidth); }
    void captionAndLoadSizes();
    void resizePlacesViewerAndButton_data();
    void resizePlacesViewerAndButton();
    void viewerControls();
    void exportPdfThroughThePrompter_data();
    void exportPdfThroughThePrompter();
    void longJobKeepsTheWindowAnswering_data();
    void longJobKeepsTheWindowAnswering();
    void windowOpensPreviewAndRemembersWidth();
    void windowAndCommandLinePrintTheSamePages();
    void menuCommandsWithoutViewer_data();
    void menuCommandsWithoutViewer();
};

void TestPrintPreview::captionAndLoadSizes()
{
    const auto model = tableOf(0);
    ScriptedPrompter prompter;
    PrintPreview preview(*model, u"Empty"_s, u"TestLedger : /a/Fruit.pdb"_s, prompter);
    QCOMPARE(preview.windowTitle(), u"TestLedger : /a/Fruit.pdb - PRINT PREVIEW "_s);
    QCOMPARE(preview.returnButton()->text(), u"Return"_s);
    QCOMPARE(preview.returnButton()->objectName(), u"Command1"_s);
    QCOMPARE(preview.pageCount(), 1); // an empty table still has its header page
    QVERIFY(qAbs(twipsOf(preview, preview.width()) - PrintPreview::firstOpeningWidth) < 30);
    const QRect area = preview.viewerArea()->geometry();
    QVERIFY(qAbs(area.width() - (preview.width() - preview.twipsToPixels(200))) <= 1);
    QVERIFY(qAbs(area.height() - (preview.height() - preview.twipsToPixels(800))) <= 1);
}

void TestPrintPreview::resizePlacesViewerAndButton_data()
{
    QTest::addColumn<int>("width"); // twips
    QTest::addColumn<int>("height");
    QTest::newRow("larger") << 14000 << 10000;
    QTest::newRow("the width after closing") << 10445 << 9000;
    QTest::newRow("smaller than the margins") << 3000 << 1000;
}

void TestPrintPreview::resizePlacesViewerAndButton()
{
    QFETCH(int, width);
    QFETCH(int, height);
    const auto model = tableOf(3);
    ScriptedPrompter prompter;
    PrintPreview preview(*model, u"T"_s, u"C"_s, prompter);
    preview.show();
    preview.resize(preview.twipsToPixels(width), preview.twipsToPixels(height));
    QCoreApplication::processEvents();
    const int w = preview.width();
    const int h = preview.height();
    const QRect area = preview.viewerArea()->geometry();
    QVERIFY(qAbs(area.width() - std::max(0, w - preview.twipsToPixels(325))) <= 1);
    QVERIFY(qAbs(area.height() - std::max(0, h - preview.twipsToPixels(1400))) <= 1);
    const QPoint button = preview.returnButton()->pos();
    QVERIFY(qAbs(button.x() - (w / 2 - preview.twipsToPixels(1800))) <= 1);
    QVERIFY(qAbs(button.y() - (h - preview.twipsToPixels(1000))) <= 1);
}

void TestPrintPreview::viewerControls()
{
    const auto model = tableOf(400);
    ScriptedPrompter prompter;
    PrintPreview preview(*model, u"Long"_s, u"C"_s, prompter);
    preview.show();
    const int pages = preview.pageCount();
    QVERIFY2(pages > 5, qPrintable(QString::number(pages)));
    triggerTool(preview, u"Last"_s);
    QCOMPARE(preview.currentPage(), pages);
    triggerTool(preview, u"Previous"_s);
    QCOMPARE(preview.currentPage(), pages - 1);
    preview.goToPage(pages + 10);
    QCOMPARE(preview.currentPage(), pages);
    triggerTool(preview, u"First"_s);
    QCOMPARE(preview.currentPage(), 1);

    const qreal zoom = preview.viewer()->zoomFactor();
    triggerTool(preview, u"Zoom In"_s);
    QVERIFY(preview.viewer()->zoomFactor() > zoom);
    triggerTool(preview, u"Landscape"_s);
    QCOMPARE(preview.viewer()->orientation(), QPageLayout::Landscape);
    // Wider pages hold fewer rows each.
    QVERIFY(preview.pageCount() > pages);
}

void TestPrintPreview::exportPdfThroughThePrompter_data()
{
    QTest::addColumn<QString>("answer"); // relative to a temporary folder; "" cancels
    QTest::addColumn<bool>("written");
    QTest::newRow("chosen file") << "out.pdf" << true;
    QTest::newRow("cancelled") << "" << false;
    QTest::newRow("folder missing") << "no/such/folder/out.pdf" << false;
}

void TestPrintPreview::exportPdfThroughThePrompter()
{
    QFETCH(QString, answer);
    QFETCH(bool, written);
    QTemporaryDir dir;
    const QString path = answer.isEmpty() ? QString() : dir.filePath(answer);
    const auto model = tableOf(120);
    ScriptedPrompter prompter;
    prompter.fileAnswers.enqueue(path);
    PrintPreview preview(*model, u"Fruit Basket"_s, u"C"_s, prompter);
    QSignalSpy finished(&preview, &PrintPreview::jobFinished);
    QCOMPARE(preview.exportPdf(), written);
    if (written) {
        QVERIFY(finished.wait(60000));
        QCOMPARE(finished.first().first().toBool(), true);
        QVERIFY(preview.jobText()->text().contains(path));
    }
    QCOMPARE(prompter.fileRequests.size(), 1);
    QVERIFY(prompter.fileRequests.first().save);
    QCOMPARE(prompter.fileRequests.first().fileName, u"Fruit Basket.pdf"_s);
    QCOMPARE(readFile(dir.filePath(u"out.pdf"_s)).startsWith("%PDF"), written);
    const bool failed = !written && !answer.isEmpty();
    QCOMPARE(prompter.messages.size(), failed ? 1 : 0);
    if (failed) {
        QVERIFY(prompter.messages.first().text.contains(path));
        QCOMPARE(prompter.messages.first().icon, Prompter::Icon::Exclamation);
    }
}

void TestPrintPreview::longJobKeepsTheWindowAnswering_data()
{
    QTest::addColumn<QString>("job");    // pdf, printer (a PDF printer on Letter paper)
    QTest::addColumn<QString>("stop");   // "" (runs to its end), button, escape, close
    QTest::addColumn<QByteArray>("old"); // what the file held before
    QTest::newRow("PDF to its end") << "pdf"
                                    << "" << QByteArray("old pages");
    QTest::newRow("PDF cancelled with the button") << "pdf"
                                                   << "button" << QByteArray();
    QTest::newRow("PDF cancelled with Escape, older file kept")
        << "pdf"
        << "escape" << QByteArray("old pages");
    QTest::newRow("PDF stopped by closing the window") << "pdf"
                                                       << "close" << QByteArray();
    QTest::newRow("printer on another paper") << "printer"
                                              << "" << QByteArray();
    QTest::newRow("printer cancelled") << "printer"
                                       << "button" << QByteArray();
}

void TestPrintPreview::longJobKeepsTheWindowAnswering()
{
    QFETCH(QString, job);
    QFETCH(QString, stop);
    QFETCH(QByteArray, old);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"pages.pdf"_s);
    if (!old.isEmpty())
        QVERIFY(writeFile(path, old));
    const auto model = tableOf(6000);
    ScriptedPrompter prompter;
    prompter.fileAnswers.enqueue(path);
    PrintPreview preview(*model, u"Long"_s, u"C"_s, prompter);
    preview.show();
    QTRY_VERIFY_WITH_TIMEOUT(preview.viewer()->isLaidOut(), 60000);
    const int pages = preview.pageCount();

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    QSignalSpy finished(&preview, &PrintPreview::jobFinished);
    QVERIFY(job == u"pdf" ? preview.exportPdf() : preview.print(printer));
    QVERIFY(preview.jobBar()->isVisible() && preview.cancelButton()->isVisible());

    // The window goes on answering: timers fire and the pages can be turned
    // while the job runs, and its bar moves.
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(0);
    QList<int> progress;
    QObject::connect(preview.jobProgress(), &QProgressBar::valueChanged,
                     [&progress](int value) { progress << value; });
    QTRY_VERIFY_WITH_TIMEOUT(preview.jobProgress()->value() > 0 || !finished.isEmpty(), 60000);
    QVERIFY2(finished.isEmpty(), "the job ended before the window could look at it");
    preview.goToPage(3);
    QCOMPARE(preview.currentPage(), 3);
    QVERIFY(ticks > 0);
    ticker.stop();

    if (stop == u"button")
        preview.cancelButton()->click();
    else if (stop == u"escape")
        QTest::keyClick(&preview, Qt::Key_Escape);
    else if (stop == u"close")
        preview.close();
    QVERIFY(!finished.isEmpty() || finished.wait(120000));
    const bool completed = stop.isEmpty();
    QCOMPARE(finished.first().first().toBool(), completed);
    QVERIFY(std::is_sorted(progress.cbegin(), progress.cend()));
    QCOMPARE(preview.isVisible(), stop != u"close");
    QVERIFY(!preview.isBusy());

    if (completed) {
        const QString text = pdfText(path);
        QVERIFY(text.contains(u"r5999c2"_s));
        // Letter pages hold other rows than the preview's A4 ones.
        const int printed = int(text.count(u'\f'));
        QVERIFY2(job == u"printer" ? printed != pages : printed == pages,
                 qPrintable(u"%1 of %2"_s.arg(printed).arg(pages)));
        QVERIFY(text.contains(u"Page %1 of %1"_s.arg(printed)));
    } else {
        QCOMPARE(readFile(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
                 old.isEmpty() ? 0 : 1);
    }
    QVERIFY(prompter.messages.isEmpty());
}

void TestPrintPreview::windowOpensPreviewAndRemembersWidth()
{
    WindowFixture f({u"Ann"_s}, iniWithReports("ReportSoftware=Viewer\r\n"));
    QList<double> widths;
    QStringList captions;
    QList<int> pages;
    f.onModal = [&](QDialog &dialog) {
        auto *shown = qobject_cast<PrintPreview *>(&dialog);
        if (!shown)
            return; // the about box at start
        PrintPreview &preview = *shown;
        widths << twipsOf(preview, preview.width());
        captions << preview.windowTitle();
        pages << preview.pageCount();
    };
    frmMain &w = f.start();
    w.SmartMenuXP1_MenuItemClick(u"keyPrintPreview"_s);
    // Edits made after a preview show in the next one.
    GridModel &grid = f.controller->grid();
    for (int i = 0; i < 300; ++i)
        grid.addRow({0, -1, {QVariant(), u"Pear %1"_s.arg(i), true}});
    w.Toolbar2_ButtonClick(2);

    QCOMPARE(f.modalShown.count(u"PrintPreview"_s), 2);
    QCOMPARE(captions.first(), w.windowTitle() + u" - PRINT PREVIEW "_s);
    QVERIFY(qAbs(widths.at(0) - PrintPreview::firstOpeningWidth) < 30);
    QVERIFY(qAbs(widths.at(1) - PrintPreview::widthAfterClosing) < 30);
    QCOMPARE(pages.first(), 1);
    QVERIFY(pages.last() > 1);
    QVERIFY(f.launcher.programs.isEmpty());
    QVERIFY(f.prompter.messages.isEmpty());
}

void TestPrintPreview::windowAndCommandLinePrintTheSamePages()
{
    WindowFixture f({u"Ann"_s}, iniWithReports("ReportSoftware=Viewer\r\n"));
    QList<std::pair<QString, bool>> fruit;
    for (int i = 0; i < 150; ++i)
        fruit.append({u"Pear of a long and winding name number %1"_s.arg(i), i % 3 == 0});
    f.writeDatabase(u"Ann"_s, u"Fruit"_s, fruit);
    const QString window = f.dir.filePath(u"window.pdf"_s);
    f.prompter.fileAnswers.enqueue(window);
    f.onModal = [](QDialog &dialog) {
        auto *preview = qobject_cast<PrintPreview *>(&dialog);
        if (!preview)
            return;
        QSignalSpy finished(preview, &PrintPreview::jobFinished);
        QVERIFY(preview->exportPdf());
        QVERIFY(finished.wait(60000));
    };
    frmMain &w = f.start();
    w.SmartMenuXP1_MenuItemClick(u"keyPrintPreview"_s);

    const QString cli = f.dir.filePath(u"cli.pdf"_s);
    const CliRun run =
        runLedgerlyCli({u"--program-folder"_s, f.programFolder, u"--hotsync-home"_s, f.homeFolder,
                        u"print"_s, u"Fruit"_s, cli, u"--user"_s, u"Ann"_s});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    const QString pages = pdfText(window, true);
    QVERIFY(pages.contains(u"Pear of a long and winding name number 149"_s));
    QCOMPARE(pdfText(cli, true), pages);
}

void TestPrintPreview::menuCommandsWithoutViewer_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("menu print preview, no tool set up") << "keyPrintPreview" << 0 << "Missing File"
                                                        << "Please Install The Latest version";
    QTest::newRow("menu reports, no location") << "keyReports" << 0 << ""
                                               << "Reports could not start";
    QTest::newRow("toolbar print preview, no location") << "" << 2 << ""
                                                        << "Print Preview could not start";
}

void TestPrintPreview::menuCommandsWithoutViewer()
{
    QFETCH(QString, key);
    QFETCH(int, button);
    QFETCH(QString, title);
    QFETCH(QString, text);
    WindowFixture f({u"Ann"_s}, iniWithReports("ReportSoftware=External\r\nReportsName=r.rpt\r\n"));
    frmMain &w = f.start();
    if (button)
        w.Toolbar2_ButtonClick(button);
    else
        w.SmartMenuXP1_MenuItemClick(key);
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.messages.first().title, title);
    QVERIFY2(f.prompter.messages.first().text.startsWith(text),
             qPrintable(f.prompter.messages.first().text));
    QVERIFY(f.launcher.programs.isEmpty());
    QVERIFY(!f.modalShown.contains(u"PrintPreview"_s));
}

QTEST_MAIN(TestPrintPreview)
#include "tst_printpreview.moc"
