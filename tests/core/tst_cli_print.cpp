#include "PdfText.h"

#include "app/FileRegistry.h"
#include "app/MainController.h"
#include "app/PalmUserChoice.h"
#include "app/SettingsStore.h"
#include "catalogue/Catalogue.h"
#include "common/YesNoText.h"
#include "database/RecordServer.h"
#include "grid/GridRoles.h"
#include "output/PagePainter.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "CliRun.h"
#include "DemoHome.h"
#include "RecordingLauncher.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {

// What the window's table shows of one database: every visible value of
// every record (pictures aside), and every group row's text.
QStringList shownTexts(const QString &home, const QString &section, bool grouped)
{
    QTemporaryDir scratch;
    RecordServer server(home);
    QSettingsStore settings(scratch.filePath(u"settings"_s));
    ScriptedPrompter prompter;
    FileRegistry registry(scratch.filePath(u"registry.json"_s));
    RecordingLauncher launcher;
    MainController controller({server, settings, prompter, registry, launcher});
    controller.setLocksDatabases(false);
    controller.state().ProgramFolder = QStringLiteral(LEDGERLY_BIN_DIR);
    controller.users().followDefaultUser();
    controller.BuildCatalogue();
    controller.openSection(controller.catalogue().indexOf(section));
    controller.setGrouped(grouped);
    const QAbstractItemModel &model = *controller.viewModel();
    QStringList texts;
    for (int r = 0; r < model.rowCount(); ++r) {
        const auto kind =
            GridRoles::RowKind(model.index(r, 0).data(GridRoles::RowKindRole).toInt());
        if (kind == GridRoles::RowKind::GroupHeader || kind == GridRoles::RowKind::GroupFooter) {
            texts << model.index(r, 0).data(GridRoles::GroupTextRole).toString();
            continue;
        }
        if (kind != GridRoles::RowKind::Record)
            continue;
        for (int c = 0; c < model.columnCount(); ++c) {
            if (model.headerData(c, Qt::Horizontal, GridRoles::HiddenRole).toBool() ||
                GridRoles::kindOf(model, c) == ColumnKind::Picture)
                continue;
            const QModelIndex index = model.index(r, c);
            const QVariant check = index.data(Qt::CheckStateRole);
            texts << (check.isValid() ? YesNoText::text(check.toInt() == Qt::Checked)
                                      : index.data().toString());
        }
    }
    texts.removeAll(QString());
    return texts;
}

} // namespace

class TestCliPrint : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void printWritesThePages_data();
    void printWritesThePages();
    void everyDemoValuePrintsWhole_data();
    void everyDemoValuePrintsWhole();
};

void TestCliPrint::printWritesThePages_data()
{
    QTest::addColumn<QStringList>("args"); // OUT stands for the output file
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    QTest::addColumn<QString>("errorText");

    const QStringList expenses{u"Expenses"_s, u"Payee"_s, u"Amount"_s, u"Category"_s, u"Fuel"_s,
                               u"46.05"_s,    u"87.21"_s, u"True"_s,   u"Page 1 of"_s};
    const QStringList hidden{u"Full tank"_s, u"Desk lamp bulb"_s};
    QTest::newRow("visible captions and values, not the hidden column")
        << QStringList{u"print"_s, u"Expenses"_s, u"OUT"_s} << 0 << expenses << hidden << "";
    QTest::newRow("landscape") << QStringList{u"print"_s, u"Expenses"_s, u"OUT"_s, u"--landscape"_s}
                               << 0 << expenses << hidden << "";
    QTest::newRow("grouped pages carry the group footers")
        << QStringList{u"print"_s, u"expenses"_s, u"OUT"_s, u"--group"_s} << 0
        << expenses + QStringList{u"Calculated Values for"_s, u"Total:"_s} << hidden << "";
    QTest::newRow("user named") << QStringList{u"print"_s, u"Mileage"_s, u"OUT"_s, u"--user"_s,
                                               u"Demo User"_s}
                                << 0 << QStringList{u"Mileage Log"_s, u"Corolla"_s} << QStringList{}
                                << "";
    QTest::newRow("unknown section writes nothing")
        << QStringList{u"print"_s, u"Nowhere"_s, u"OUT"_s} << 1 << QStringList{} << QStringList{}
        << "Nowhere";
    QTest::newRow("missing output is a usage error")
        << QStringList{u"print"_s, u"Expenses"_s} << 2 << QStringList{} << QStringList{} << "";
}

void TestCliPrint::printWritesThePages()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    QFETCH(QString, errorText);
    const QString demo = demoHotSyncHome();
    QVERIFY2(!demo.isEmpty(), "the build's demo HotSync home is missing");
    QVERIFY2(!QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty(),
             "pdftotext (Debian poppler-utils) is needed");
    QTemporaryDir dir;
    const QString home = dir.filePath(u"home"_s);
    QVERIFY(copyTree(demo, home));
    const QString out = dir.filePath(u"pages.pdf"_s);
    args.replaceInStrings(u"OUT"_s, out);

    const CliRun run =
        runLedgerlyCli(QStringList{u"--program-folder"_s, QStringLiteral(LEDGERLY_BIN_DIR),
                                   u"--hotsync-home"_s, home} +
                       args);
    QVERIFY2(run.status == status, qPrintable(run.err));
    QVERIFY2(run.err.contains(errorText), qPrintable(run.err));
    QCOMPARE(QFileInfo::exists(out), status == 0);
    if (status != 0)
        return;
    const QString text = pdfText(out);
    for (const QString &word : present)
        QVERIFY2(text.contains(word), qPrintable(word + u" missing from:\n"_s + text.left(2000)));
    for (const QString &word : absent)
        QVERIFY2(!text.contains(word), qPrintable(word));
}

void TestCliPrint::everyDemoValuePrintsWhole_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<bool>("grouped");
    const QStringList sections = ListIniSections(QStringLiteral(LEDGERLY_BIN_DIR "/QuayDB.ini"));
    QVERIFY(!sections.isEmpty());
    for (const QString &section : sections) {
        QTest::addRow("%s", qPrintable(section)) << section << false;
        QTest::addRow("%s grouped", qPrintable(section)) << section << true;
    }
}

void TestCliPrint::everyDemoValuePrintsWhole()
{
    QFETCH(QString, section);
    QFETCH(bool, grouped);
    const QString demo = demoHotSyncHome();
    QVERIFY2(!demo.isEmpty(), "the build's demo HotSync home is missing");
    QTemporaryDir dir;
    const QString home = dir.filePath(u"home"_s);
    QVERIFY(copyTree(demo, home));
    const QString out = dir.filePath(u"pages.pdf"_s);
    QStringList args{u"--program-folder"_s,
                     QStringLiteral(LEDGERLY_BIN_DIR),
                     u"--hotsync-home"_s,
                     home,
                     u"print"_s,
                     section,
                     out};
    if (grouped)
        args << u"--group"_s;
    const CliRun run = runLedgerlyCli(args);
    QVERIFY2(run.status == 0, qPrintable(run.err));

    // Line by line as on the page: a value cut, broken over two lines or
    // run into its neighbour is not found.
    const QString text = pdfText(out, true);
    const QString flat = text.simplified();
    const QStringList values = shownTexts(home, section, grouped);
    QVERIFY(values.size() > 50);
    for (const QString &value : values)
        QVERIFY2(flat.contains(value.simplified()), qPrintable(value + u" is not whole"_s));
    QVERIFY(!text.contains(u'…'));
    if (grouped)
        QVERIFY(values.filter(u"Calculated Values for "_s).size() > 1);

    QStringList pages = text.split(u'\f');
    pages.removeAll(QString());
    QVERIFY(pages.size() > 1);
    const QString printed = PagePainter::printedText(QDate::currentDate());
    QVERIFY(printed.contains(QString::number(QDate::currentDate().year())));
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const QString page = pages.at(p).simplified();
        QVERIFY2(page.contains(u"Page %1 of %2"_s.arg(p + 1).arg(pages.size())), qPrintable(page));
        QVERIFY2(page.contains(printed), qPrintable(page));
    }
}

QTEST_GUILESS_MAIN(TestCliPrint)
#include "tst_cli_print.moc"
