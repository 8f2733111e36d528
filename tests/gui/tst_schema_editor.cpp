#include "WindowFixture.h"

#include "app/SchemaFieldsModel.h"
#include "app/widgets/IniEntryDialog.h"
#include "app/widgets/SchemaEditor.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QQueue>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTreeView>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {

const QByteArray schema = "; our databases\r\n"
                          "[Fruit]\r\n"
                          "Databasename=Fruit Basket\r\n"
                          "Name = Fruit Name\r\n"
                          "Paid=Paid\r\n"
                          "NameHide=False\r\n"
                          "PaidHide=False\r\n"
                          "\r\n"
                          "[Veg]\r\n"
                          "Databasename=Vegetables\r\n"
                          "Name=Veg Name\r\n"
                          "NameHide=False\r\n";

// An editor on temporary files whose questions and dialogs are answered
// from scripts.
struct EditorFixture
{
    QTemporaryDir dir;
    QString path = dir.filePath(u"QuayDB.ini"_s);
    QString home = dir.filePath(u"home"_s);
    ScriptedPrompter prompter;
    std::unique_ptr<RecordServer> server;
    std::unique_ptr<SchemaEditor> editor;
    // Fills the next dialog in; the dialog's OK is pressed after it.
    QQueue<std::function<void(IniEntryDialog &)>> dialogs;
    QStringList dialogTitles;
    QStringList dialogRefusals; // what each dialog said when OK was pressed
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;

    explicit EditorFixture(const QByteArray &bytes = schema)
    {
        QStandardPaths::setTestModeEnabled(true);
        writeFile(path, bytes);
        createHotSyncHome(home, {u"Ann"_s});
        server = std::make_unique<RecordServer>(home);
        editor = std::make_unique<SchemaEditor>(
            SchemaEditor::Services{prompter, *server, [] { return u"Ann"_s; }});
        editor->setDialogShower([this](QDialog &dialog) {
            dialogTitles << dialog.windowTitle();
            if (dialogs.isEmpty())
                throw std::logic_error("unscripted dialog");
            auto &entry = static_cast<IniEntryDialog &>(dialog);
            dialogs.dequeue()(entry);
            entry.accept();
            dialogRefusals << (entry.problemLabel()->isVisibleTo(&entry)
                                   ? entry.problemLabel()->text()
                                   : QString());
            return dialog.result() == QDialog::Accepted;
        });
        for (QAbstractItemModel *model :
             {editor->databasesView()->model(), editor->fieldsView()->model(),
              editor->entriesView()->model()})
            testers.push_back(std::make_unique<QAbstractItemModelTester>(
                model, QAbstractItemModelTester::FailureReportingMode::QtTest));
    }
    // False when the action is not there or not enabled.
    bool trigger(const char *name)
    {
        QAction *action = editor->action(QString::fromLatin1(name));
        if (!action || !action->isEnabled())
            return false;
        action->trigger();
        return true;
    }
    QString caption(int field) const
    {
        return editor->fieldsView()
            ->model()
            ->index(field, SchemaFieldsModel::CaptionColumn)
            .data()
            .toString();
    }
};

} // namespace

class TestSchemaEditor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void editUndoSaveReload();
    void badFilesOpenWithAMessage_data();
    void badFilesOpenWithAMessage();
    void failedSaveOffersSaveAs();
    void unwritableFolderSaidAtOpen();
    void unsavedChangesOnClose_data();
    void unsavedChangesOnClose();
    void adoptDatabaseFile_data();
    void adoptDatabaseFile();
    void problemSelectsItsField();
    void entriesOfAnyIniFile();
    void mainWindowOpensTheEditor();
};

void TestSchemaEditor::editUndoSaveReload()
{
    EditorFixture f;
    QVERIFY(f.editor->openFile(f.path));
    QVERIFY(!f.editor->isWindowModified());
    f.editor->selectSection(0);
    f.editor->selectField(0);
    QCOMPARE(f.caption(0), u"Fruit Name"_s);

    f.dialogs.enqueue([](IniEntryDialog &d) {
        QCOMPARE(d.name(), u"Name"_s);
        d.setValue(u"Apple or Pear"_s);
    });
    QVERIFY(f.trigger("actionEditField"));
    QCOMPARE(f.caption(0), u"Apple or Pear"_s);
    QVERIFY(f.editor->isWindowModified());
    QCOMPARE(readFile(f.path), schema); // nothing reaches the file before Save

    QVERIFY(f.trigger("actionUndo"));
    QCOMPARE(f.caption(0), u"Fruit Name"_s);
    QVERIFY(!f.editor->isWindowModified());
    QVERIFY(f.trigger("actionRedo"));
    QCOMPARE(f.caption(0), u"Apple or Pear"_s);

    QSignalSpy saved(f.editor.get(), &SchemaEditor::fileSaved);
    QVERIFY(f.trigger("actionSave"));
    QCOMPARE(saved.size(), 1);
    QVERIFY(!f.editor->isWindowModified());
    QCOMPARE(readFile(f.path),
             QByteArray(schema).replace("Name = Fruit Name", "Name = Apple or Pear"));

    QVERIFY(f.editor->openFile(f.path));
    f.editor->selectSection(0);
    QCOMPARE(f.caption(0), u"Apple or Pear"_s);
    QVERIFY(f.prompter.messages.isEmpty());
}

void TestSchemaEditor::badFilesOpenWithAMessage_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("problem");
    QTest::newRow("larger than the reader takes") << u"huge"_s << u"larger than"_s;
    QTest::newRow("a folder") << u"folder"_s << u"not a regular file"_s;
    QTest::newRow("UTF-16 cut in a character") << u"cut"_s << u"not valid UTF-16"_s;
}

void TestSchemaEditor::badFilesOpenWithAMessage()
{
    QFETCH(QString, kind);
    QFETCH(QString, problem);
    EditorFixture f;
    QVERIFY(f.editor->openFile(f.path));
    const QString bad = f.dir.filePath(u"Bad.ini"_s);
    if (kind == u"huge"_s) {
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(17 * 1024 * 1024));
    } else if (kind == u"folder"_s) {
        QVERIFY(QDir().mkpath(bad));
    } else {
        QVERIFY(writeFile(bad, QByteArray("\xFF\xFE[\0A\0]", 7)));
    }
    const QByteArray before = kind == u"folder"_s ? QByteArray() : readFile(bad);

    QVERIFY(!f.editor->openFile(bad));
    QCOMPARE(f.prompter.messages.size(), 1);
    const QString text = f.prompter.messages.first().text;
    QVERIFY2(text.contains(QDir::toNativeSeparators(bad)) && text.contains(problem),
             qPrintable(text));
    QCOMPARE(f.editor->document().path(), f.path); // the schema stays open
    if (kind != u"folder"_s)
        QCOMPARE(readFile(bad), before);
}

void TestSchemaEditor::failedSaveOffersSaveAs()
{
    QTemporaryDir gone;
    const QString path = gone.filePath(u"QuayDB.ini"_s);
    QVERIFY(writeFile(path, schema));
    EditorFixture f;
    QVERIFY(f.editor->openFile(path));
    f.editor->selectSection(1);
    f.editor->selectField(0);
    f.dialogs.enqueue([](IniEntryDialog &d) { d.setValue(u"Leek"_s); });
    QVERIFY(f.trigger("actionEditField"));
    QVERIFY(gone.remove()); // the folder goes away while the change is open

    const QString elsewhere = f.dir.filePath(u"Copy.ini"_s);
    f.prompter.answers.enqueue(Prompter::Yes);
    f.prompter.fileAnswers.enqueue(elsewhere);
    QVERIFY(f.trigger("actionSave"));
    QCOMPARE(f.prompter.messages.size(), 1);
    QVERIFY(f.prompter.messages.first().text.contains(u"Save As"_s));
    QCOMPARE(readFile(elsewhere), QByteArray(schema).replace("Veg Name", "Leek"));
    QCOMPARE(f.editor->document().path(), elsewhere);
    QVERIFY(!f.editor->isWindowModified());
}

void TestSchemaEditor::unwritableFolderSaidAtOpen()
{
    EditorFixture f;
    const QString path = f.dir.filePath(u"gone/QuayDB.ini"_s);
    QVERIFY(f.editor->openFile(path));
    QCOMPARE(f.prompter.messages.size(), 1);
    const QString text = f.prompter.messages.first().text;
    QVERIFY2(text.contains(u"cannot be saved where it is"_s) &&
                 text.contains(u"does not exist"_s) && text.contains(u"Save As"_s),
             qPrintable(text));
    QVERIFY(f.editor->action(u"actionAddDatabase"_s)->isEnabled());
}

void TestSchemaEditor::unsavedChangesOnClose_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");
    QTest::newRow("Yes saves and closes") << int(Prompter::Yes) << true << true;
    QTest::newRow("No closes without saving") << int(Prompter::No) << true << false;
    QTest::newRow("Cancel keeps the window") << int(Prompter::Cancel) << false << false;
}

void TestSchemaEditor::unsavedChangesOnClose()
{
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(bool, written);
    EditorFixture f;
    QVERIFY(f.editor->openFile(f.path));
    f.editor->show();
    f.editor->selectSection(0);
    f.editor->selectField(1);
    QVERIFY(f.trigger("actionDeleteField"));
    f.prompter.answers.enqueue(answer);
    QCOMPARE(f.editor->close(), closes);
    QCOMPARE(f.prompter.messages.size(), 1);
    QCOMPARE(f.prompter.messages.first().buttons, Prompter::Buttons::YesNoCancel);
    QCOMPARE(readFile(f.path) != schema, written);
}

void TestSchemaEditor::adoptDatabaseFile_data()
{
    QTest::addColumn<bool>("damaged");
    QTest::addColumn<int>("copyAnswer"); // 0: not asked
    QTest::addColumn<bool>("added");
    QTest::newRow("copied into the user's folder") << false << int(Prompter::Yes) << true;
    QTest::newRow("left where it is") << false << int(Prompter::No) << true;
    QTest::newRow("damaged: error 13, nothing added") << true << 0 << false;
}

void TestSchemaEditor::adoptDatabaseFile()
{
    QFETCH(bool, damaged);
    QFETCH(int, copyAnswer);
    QFETCH(bool, added);
    EditorFixture f;
    QVERIFY(f.editor->openFile(f.path));
    PdbDatabase db;
    db.Table().AddField(u"Title"_s, 0);
    QByteArray bytes = db.toBytes(u"Jottings"_s);
    if (damaged)
        bytes.truncate(70);
    const QString file = f.dir.filePath(u"Notes.pdb"_s);
    QVERIFY(writeFile(file, bytes));

    f.prompter.fileAnswers.enqueue(file);
    if (!damaged)
        f.dialogs.enqueue([](IniEntryDialog &d) {
            QCOMPARE(d.name(), u"Notes"_s);
            QCOMPARE(d.value(), u"Jottings"_s);
        });
    if (copyAnswer)
        f.prompter.answers.enqueue(copyAnswer);
    QVERIFY(f.trigger("actionAdopt"));

    const int sections = f.editor->databasesView()->model()->rowCount();
    QCOMPARE(sections, added ? 3 : 2);
    const QString copy = f.server->GetUserFolder(u"Ann"_s) + u"/Notes.pdb"_s;
    QCOMPARE(QFileInfo::exists(copy), copyAnswer == Prompter::Yes);
    if (damaged) {
        QCOMPARE(f.prompter.messages.size(), 1);
        QVERIFY(f.prompter.messages.first().text.startsWith(u"Error 13"_s));
        QVERIFY(f.prompter.messages.first().text.contains(u"Nothing was added"_s));
        return;
    }
    QCOMPARE(f.editor->currentSection(), 2);
    QCOMPARE(f.caption(0), u"Title"_s);
}

void TestSchemaEditor::problemSelectsItsField()
{
    EditorFixture f(schema + "\r\n[Odd]\r\nDatabasename=Odd\r\nA=A\r\nB=B\r\nAHide=Calc\r\n"
                             "BHide=Maybe\r\n");
    QVERIFY(f.editor->openFile(f.path));
    QListWidget *problems = f.editor->problemsView();
    QCOMPARE(problems->count(), 2);
    QVERIFY(problems->item(1)->text().startsWith(u"Line 19: The role of \"B\""_s));
    problems->setCurrentRow(1);
    QCOMPARE(f.editor->currentSection(), 2);
    QCOMPARE(f.editor->currentField(), 1);

    // Fixing the role in the table takes its problem off the list.
    QAbstractItemModel *fields = f.editor->fieldsView()->model();
    QVERIFY(fields->setData(fields->index(1, SchemaFieldsModel::RoleColumn), u"Hidden"_s));
    QCOMPARE(problems->count(), 1);
}

void TestSchemaEditor::entriesOfAnyIniFile()
{
    EditorFixture f;
    const QString path = f.dir.filePath(u"Ledgerly.ini"_s);
    const QByteArray ini = "[DesktopName]\nDesktopName=Ledger\n; note\n[Reports]\n"
                           "ReportSoftware=Viewer\n";
    QVERIFY(writeFile(path, ini));
    QVERIFY(f.editor->openFile(path));
    QVERIFY(!f.editor->tabs()->isTabVisible(0));
    QVERIFY(!f.editor->action(u"actionAddField"_s)->isEnabled());
    QAbstractItemModel *entries = f.editor->entriesView()->model();
    f.editor->entriesView()->setCurrentIndex(entries->index(0, 0, entries->index(1, 0)));

    f.dialogs.enqueue([](IniEntryDialog &d) {
        QCOMPARE(d.name(), u"ReportSoftware"_s);
        d.setValue(u"Kest"_s);
    });
    QVERIFY(f.trigger("actionEditEntry"));
    f.dialogs.enqueue([](IniEntryDialog &d) { d.setName(u"reportsoftware"_s); });
    QVERIFY(f.trigger("actionAddEntry"));
    f.dialogs.enqueue([](IniEntryDialog &d) {
        d.setName(u"ReportsName"_s);
        d.setValue(u"a.rpt"_s);
    });
    QVERIFY(f.trigger("actionAddEntry"));
    QCOMPARE(
        f.dialogRefusals,
        (QStringList{QString(), u"[Reports] already has a key \"ReportSoftware\""_s, QString()}));
    QVERIFY(f.trigger("actionSave"));
    QCOMPARE(readFile(path), QByteArray(ini).replace("Viewer", "Kest") + "ReportsName=a.rpt\n");
}

void TestSchemaEditor::mainWindowOpensTheEditor()
{
    WindowFixture w;
    w.start();
    w.window->SmartMenuXP1_MenuItemClick(u"keyEditSchema"_s);
    SchemaEditor *editor = w.window->schemaEditor();
    QVERIFY(editor);
    QCOMPARE(editor->document().path(), w.programFolder + u"/QuayDB.ini"_s);
    QCOMPARE(editor->databasesView()->model()->rowCount(), 2);
    // Asking again brings the same window forward.
    w.window->SmartMenuXP1_MenuItemClick(u"keyEditSchema"_s);
    QCOMPARE(w.window->schemaEditor(), editor);

    // Saved, the schema is what the window's chooser lists, without a restart.
    w.onModal = [](QDialog &dialog) {
        auto &entry = static_cast<IniEntryDialog &>(dialog);
        entry.setName(u"Nuts"_s);
        entry.setValue(u"Nut Store"_s);
        entry.accept();
    };
    editor->action(u"actionAddDatabase"_s)->trigger();
    auto *chooser = w.window->findChild<QComboBox *>(u"SectionListDBNam"_s);
    QCOMPARE(chooser->count(), 2);
    editor->action(u"actionSave"_s)->trigger();
    QCOMPARE(chooser->count(), 3);
    QCOMPARE(chooser->itemText(2), u"Nut Store"_s);
    QCOMPARE(chooser->currentText(), u"Fruit Basket"_s);

    // Closing the main window asks about the editor's unsaved changes first.
    w.onModal = [](QDialog &dialog) {
        static_cast<IniEntryDialog &>(dialog).setName(u"Pecans"_s);
        dialog.accept();
    };
    editor->action(u"actionAddDatabase"_s)->trigger();
    QVERIFY(editor->document().isModified());
    w.prompter.answers.enqueue(Prompter::Cancel);
    QVERIFY(!w.window->close());
    QVERIFY(w.window->schemaEditor());
}

QTEST_MAIN(TestSchemaEditor)
#include "tst_schema_editor.moc"
