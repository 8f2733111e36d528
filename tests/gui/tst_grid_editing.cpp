#include "ScriptedPrompter.h"
#include "TestValues.h"
#include "WindowFixture.h"
#include "app/widgets/GridEditing.h"
#include "grid/GridModel.h"
#include "grid/GroupingProxyModel.h"
#include "grid/RecordTableProxy.h"
#include "grid/TableEditor.h"
#include "grid/widgets/GridEditActions.h"
#include "grid/widgets/GridEditInput.h"
#include "grid/widgets/GridView.h"
#include "grid/widgets/TextEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTimer>

using namespace Ledgerly;
using namespace Qt::StringLiterals;

namespace {

enum Col { Name = 1, Paid, Photo, Secret };

GridColumn column(const QString &key, ColumnKind kind, bool hidden = false)
{
    GridColumn c;
    c.key = key;
    c.caption = key;
    c.kind = kind;
    c.role = hidden ? FieldRole::Hidden : FieldRole::Shown;
    return c;
}

// A table of four records in a view with the editing gestures installed;
// questions go to a scripted prompter, the text editor to a script.
struct Table
{
    GridModel model;
    TableEditor editor{model};
    RecordTableProxy proxy{editor};
    GridView view;
    ScriptedPrompter prompter;
    std::unique_ptr<GridEditActions> actions;
    std::unique_ptr<GridEditInput> input;

    Table()
    {
        model.addColumn(column(u"Name"_s, ColumnKind::Text));
        model.addColumn(column(u"Paid"_s, ColumnKind::YesNo));
        model.addColumn(column(u"Photo"_s, ColumnKind::Picture));
        model.addColumn(column(u"Secret"_s, ColumnKind::Text, true));
        for (const char *name : {"Apple", "apricot", "Banana", "cherry"}) {
            GridRow row;
            row.cells = {QVariant(), QString::fromLatin1(name), false, QVariant(), u"s"_s};
            model.addRow(row);
        }
        proxy.setSourceModel(&model);
        view.setModel(&proxy);
        actions = std::make_unique<GridEditActions>(view, proxy, prompter);
        input = std::make_unique<GridEditInput>(view, proxy, *actions);
        view.resize(600, 300);
    }

    QStringList names() const
    {
        QStringList out;
        for (int r = 0; r < model.rowCount(); ++r)
            out.append(model.cell(r, Name).toString());
        return out;
    }
    void select(int row, int col, QItemSelectionModel::SelectionFlags how)
    {
        view.selectionModel()->select(proxy.index(row, col), how);
    }
};

} // namespace

class TestGridEditing : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void textEditor_data();
    void textEditor();
    void textEditorWindow();
    void deleteRecordsAsks_data();
    void deleteRecordsAsks();
    void deleteOnCellsEmptiesThem();
    void recordNumberColumnSelectsRows();
    void copyThenPasteIntoTheNewRecordRow();
    void typingIntoTheNewRecordRowThenTab();
    void autoFill_data();
    void autoFill();
    void drop_data();
    void drop();
    void pictureFromFile_data();
    void pictureFromFile();
    void contextMenuEntries_data();
    void contextMenuEntries();
    void clicksMoveTheCurrentCellAndFoldGroups();
    void textEditorKeepsUnreadableText();
    void keysUndoAndRedo();
    void windowMarksEditedAndNeverSavesTheNewRecordRow();
};

void TestGridEditing::textEditor_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<bool>("done");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QStringList>("names");

    const QStringList before = L({"Apple", "apricot", "Banana", "cherry"});
    QTest::newRow("the record-number column opens no editor") << 1 << 0 << true << false << before;
    QTest::newRow("a picture cell opens no editor") << 1 << int(Photo) << true << false << before;
    QTest::newRow("two lines arrive with one LF")
        << 1 << int(Name) << true << true << L({"Apple", "one\ntwo", "Banana", "cherry"});
    QTest::newRow("closed without Done leaves the cell")
        << 1 << int(Name) << false << true << before;
    QTest::newRow("Done on the new-record row appends")
        << 4 << int(Name) << true << true
        << L({"Apple", "apricot", "Banana", "cherry", "one\ntwo"});
}

void TestGridEditing::textEditor()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(bool, done);
    Table t;
    t.prompter.textAnswers.enqueue(done ? u"one\ntwo"_s : QString());
    t.view.setCurrentIndex(t.proxy.index(row, col));
    t.actions->editText();
    QTEST(t.prompter.textRequests.size() == 1, "opens");
    QTEST(t.names(), "names");
}

void TestGridEditing::textEditorWindow()
{
    Table t;
    t.view.setCurrentIndex(t.proxy.index(2, Name));
    t.prompter.textAnswers.enqueue(QString());
    t.actions->editText();
    QCOMPARE(t.prompter.textRequests.size(), 1);
    const Prompter::TextRequest asked = t.prompter.textRequests.first();
    QCOMPARE(asked.row, 3);
    QCOMPARE(asked.column, int(Name));
    QCOMPARE(asked.text, u"Banana"_s);

    TextEdit editor;
    editor.Form_Load(asked.row, asked.column, asked.text);
    const QStringList seen{editor.objectName(),
                           editor.windowTitle(),
                           editor.richTextBox()->objectName(),
                           editor.richTextBox()->toPlainText(),
                           editor.doneButton()->objectName(),
                           editor.doneButton()->text()};
    QCOMPARE(seen, L({"TextEdit", "please edit your text and click Done when completed",
                      "RichTextBox1", "Banana", "Command1", "Done"}));
    QCOMPARE(editor.textRow(), 3);
    QVERIFY(!editor.findChild<QLineEdit *>(u"TextColumn"_s)->isVisibleTo(&editor));
    QVERIFY(!editor.findChild<QLineEdit *>(u"TextRow"_s)->isVisibleTo(&editor));
    // Tab types a tab inside the text; Done hands it back with LF line ends.
    editor.richTextBox()->moveCursor(QTextCursor::Start);
    QTest::keyClick(editor.richTextBox(), Qt::Key_Tab);
    QCOMPARE(editor.richTextBox()->toPlainText(), u"\tBanana"_s);
    editor.doneButton()->click();
    QCOMPARE(editor.result(), int(QDialog::Accepted));
    QCOMPARE(editor.resultText(), u"\tBanana"_s);
    QCOMPARE(t.names().at(2), u"Banana"_s);
    QCOMPARE(TextEdit::centredPosition(QRect(0, 0, 1001, 801), QSize(400, 300)), QPoint(300, 250));
}

void TestGridEditing::deleteRecordsAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("yes removes exactly the selected")
        << int(Prompter::Yes) << L({"apricot", "cherry"});
    QTest::newRow("no keeps them")
        << int(Prompter::No) << L({"Apple", "apricot", "Banana", "cherry"});
}

void TestGridEditing::deleteRecordsAsks()
{
    Table t;
    QSignalSpy changed(&t.editor, &TableEditor::tableChanged);
    t.input->selectRow(0, Qt::NoModifier);
    t.input->selectRow(2, Qt::ControlModifier);
    t.input->selectRow(4, Qt::ControlModifier); // the new-record row is no record
    t.prompter.answers.enqueue(QTest::currentDataTag()[0] == 'y' ? Prompter::Yes : Prompter::No);
    t.actions->deleteKey();
    QCOMPARE(t.prompter.messages.size(), 1);
    QCOMPARE(t.prompter.messages.first().text, u"Delete 2 record(s)?"_s);
    QCOMPARE(t.prompter.messages.first().buttons, Prompter::Buttons::YesNo);
    QTEST(t.names(), "names");
    QCOMPARE(changed.count(), t.model.rowCount() == 2 ? 1 : 0);
}

void TestGridEditing::deleteOnCellsEmptiesThem()
{
    Table t;
    t.select(0, Name, QItemSelectionModel::Select);
    t.select(1, Name, QItemSelectionModel::Select);
    t.select(1, Paid, QItemSelectionModel::Select);
    t.model.setCell(1, Paid, true);
    t.actions->deleteKey();
    QVERIFY(t.prompter.messages.isEmpty());
    QCOMPARE(t.names(), L({"", "", "Banana", "cherry"}));
    QCOMPARE(t.proxy.index(1, Paid).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    t.actions->undo();
    QCOMPARE(t.names(), L({"Apple", "apricot", "Banana", "cherry"}));
    QCOMPARE(t.model.cell(1, Paid), QVariant(true));
}

void TestGridEditing::recordNumberColumnSelectsRows()
{
    Table t;
    t.view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&t.view));
    auto click = [&t](int row, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(t.view.viewport(), Qt::LeftButton, modifiers,
                          t.view.visualRect(t.proxy.index(row, 0)).center());
    };
    auto rows = [&t] {
        QList<int> out;
        for (const QModelIndex &i : t.view.selectionModel()->selectedRows())
            out.append(i.row());
        std::sort(out.begin(), out.end());
        return out;
    };
    click(1, Qt::NoModifier);
    QCOMPARE(rows(), QList<int>{1});
    click(3, Qt::ShiftModifier);
    QCOMPARE(rows(), (QList<int>{1, 2, 3}));
    click(2, Qt::ControlModifier);
    QCOMPARE(rows(), (QList<int>{1, 3}));
}

void TestGridEditing::copyThenPasteIntoTheNewRecordRow()
{
    Table t;
    t.model.setCell(1, Paid, true);
    for (int row : {0, 1})
        for (int col : {Name, Paid})
            t.select(row, col, QItemSelectionModel::Select);
    t.actions->copy();
    const QMimeData *copied = QApplication::clipboard()->mimeData();
    QCOMPARE(copied->text(), u"Apple\tFalse\r\napricot\tTrue\r\n"_s);
    QVERIFY(copied->html().contains(u"<td>apricot</td><td>True</td>"_s));

    t.view.setCurrentIndex(t.proxy.index(4, Name));
    t.actions->paste();
    QCOMPARE(t.names(), L({"Apple", "apricot", "Banana", "cherry", "Apple", "apricot"}));
    QCOMPARE(t.model.cell(5, Paid), QVariant(true));
    t.actions->undo(); // one paste, one step
    QCOMPARE(t.model.rowCount(), 4);

    // Pasted over records from the current cell rightwards, the hidden
    // column skipped; a cell that does not read is reported.
    QApplication::clipboard()->setText(u"X\tmaybe\tpic\tY"_s);
    t.view.setCurrentIndex(t.proxy.index(3, Name));
    t.actions->paste();
    QCOMPARE(t.names().last(), u"X"_s);
    QCOMPARE(t.model.cell(3, Secret).toString(), u"s"_s);
    QCOMPARE(t.prompter.messages.size(), 1);
    QVERIFY(t.prompter.messages.first().text.startsWith(u"2 cell(s) could not be read"_s));
}

void TestGridEditing::typingIntoTheNewRecordRowThenTab()
{
    Table t;
    t.view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&t.view));
    const QModelIndex cell = t.proxy.index(4, Name);
    t.view.setCurrentIndex(cell);
    t.view.edit(cell);
    auto *editor = qobject_cast<QLineEdit *>(t.view.indexWidget(cell));
    QVERIFY(editor);
    editor->setText(u"Fig"_s);
    QTest::keyClick(editor, Qt::Key_Tab);
    QCOMPARE(t.names().last(), u"Fig"_s);
    QCOMPARE(t.proxy.rowCount(), 6);
    // Tab goes on in the record just made, not into a second new record.
    QCOMPARE(t.view.currentIndex().row(), 4);
    QCOMPARE(t.view.currentIndex().column(), int(Paid));
}

void TestGridEditing::autoFill_data()
{
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("selected");

    QTest::newRow("ap completes to Apple, ple selected")
        << true << 3 << u"ap"_s << int(Qt::Key_P) << u"Apple"_s << u"ple"_s;
    QTest::newRow("on the new-record row every record is above")
        << true << 4 << u"ch"_s << int(Qt::Key_H) << u"cherry"_s << u"erry"_s;
    QTest::newRow("only rows above the current one")
        << true << 2 << u"ba"_s << int(Qt::Key_A) << u"ba"_s << QString();
    QTest::newRow("a digit completes nothing")
        << true << 3 << u"ap"_s << int(Qt::Key_1) << u"ap"_s << QString();
    QTest::newRow("a space completes nothing")
        << true << 3 << u"ap"_s << int(Qt::Key_Space) << u"ap"_s << QString();
    QTest::newRow("the box cleared")
        << false << 3 << u"ap"_s << int(Qt::Key_P) << u"ap"_s << QString();
}

void TestGridEditing::autoFill()
{
    QFETCH(bool, ticked);
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(int, key);
    Table t;
    t.input->setAutoFillEnabled(ticked);
    t.view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&t.view));
    const QModelIndex cell = t.proxy.index(row, Name);
    t.view.setCurrentIndex(cell);
    t.view.edit(cell);
    auto *editor = qobject_cast<QLineEdit *>(t.view.indexWidget(cell));
    QVERIFY(editor);
    editor->setText(typed);
    QTest::keyRelease(editor, Qt::Key(key));
    QTEST(editor->text(), "text");
    QTEST(editor->selectedText(), "selected");
}

void TestGridEditing::drop_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("added");
    QTest::newRow("two lines, the hidden column filled too")
        << u"text/plain"_s << QByteArray("a\t\t\tz\r\nb") << 2;
    QTest::newRow("a final CR LF adds an empty record")
        << u"text/plain"_s << QByteArray("a\t\t\tz\r\nb\r\n") << 3;
    QTest::newRow("empty text adds nothing") << u"text/plain"_s << QByteArray() << 0;
    QTest::newRow("no plain text adds nothing") << u"image/png"_s << QByteArray("png") << 0;
}

void TestGridEditing::drop()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, bytes);
    QFETCH(int, added);
    Table t;
    QSignalSpy changed(&t.editor, &TableEditor::tableChanged);
    QMimeData data;
    data.setData(format, bytes);
    t.input->drop(data, t.view.visualRect(t.proxy.index(0, Name)).center());
    QCOMPARE(t.model.rowCount(), 4 + added);
    QVERIFY(t.view.isColumnHidden(Secret));       // hidden again once the records are in
    QCOMPARE(changed.count(), added > 0 ? 1 : 0); // a drop marks the database edited
    if (added > 0) {
        QCOMPARE(t.model.cell(4, Name).toString(), u"a"_s);
        QCOMPARE(t.model.cell(4, Secret).toString(), u"z"_s);
    }
}

void TestGridEditing::pictureFromFile_data()
{
    QTest::addColumn<bool>("isImage");
    QTest::newRow("a PNG is stored as a Windows bitmap") << true;
    QTest::newRow("a file that is no picture changes nothing") << false;
}

void TestGridEditing::pictureFromFile()
{
    QFETCH(bool, isImage);
    Table t;
    QTemporaryDir dir;
    const QString path = dir.filePath(u"in.png"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    if (isImage) {
        QImage image(4, 3, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(&file, "PNG"));
    } else {
        file.write("just some text");
    }
    file.close();
    t.view.setCurrentIndex(t.proxy.index(1, Photo));
    t.prompter.fileAnswers.enqueue(path);
    t.actions->setPicture();
    const QByteArray stored = t.model.cell(1, Photo).toByteArray();
    QCOMPARE(stored.startsWith("BM"), isImage);
    QCOMPARE(t.prompter.messages.size(), isImage ? 0 : 1);
    if (!isImage)
        return;
    QCOMPARE(t.proxy.index(1, Photo).data(Qt::DecorationRole).value<QImage>().size(), QSize(4, 3));
    const QString out = dir.filePath(u"out.bmp"_s);
    t.prompter.fileAnswers.enqueue(out);
    t.actions->savePicture();
    QFile saved(out);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), stored);
    t.actions->clearPicture();
    QVERIFY(t.model.cell(1, Photo).isNull());
    t.actions->undo();
    QCOMPARE(t.model.cell(1, Photo).toByteArray(), stored);
}

void TestGridEditing::contextMenuEntries_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QStringList>("entries");
    const QStringList common =
        L({"Edit Text...", "Insert Record", "Delete Record(s)", "Copy", "Paste", "Undo", "Redo"});
    QTest::newRow("text cell") << int(Name) << common;
    QTest::newRow("picture cell") << int(Photo)
                                  << common + L({"Set Picture...", "Save Picture As...",
                                                 "Clear Picture"});
}

void TestGridEditing::contextMenuEntries()
{
    QFETCH(int, col);
    QFETCH(QStringList, entries);
    Table t;
    t.view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&t.view));
    // The menu a right-click opens, read just before it shows.
    QStringList shown;
    QList<bool> enabled;
    connect(t.input.get(), &GridEditInput::contextMenuAboutToShow, this, [&](QMenu *menu) {
        for (const QAction *action : menu->actions())
            if (!action->isSeparator()) {
                shown.append(action->text());
                enabled.append(action->isEnabled());
            }
        QTimer::singleShot(0, menu, &QMenu::close);
    });
    const QPoint at = t.view.visualRect(t.proxy.index(0, col)).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, t.view.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(t.view.viewport(), &event);
    // The editing commands in their order, folding last (and off: nothing is grouped).
    QCOMPARE(shown, entries + L({"Collapse All Groups", "Expand All Groups"}));
    QCOMPARE(enabled.mid(enabled.size() - 2), (QList<bool>{false, false}));
    QCOMPARE(t.actions->editTextAction()->isEnabled(), col == Name);
}

void TestGridEditing::clicksMoveTheCurrentCellAndFoldGroups()
{
    Table t;
    GroupingProxyModel grouped;
    grouped.setSourceModel(&t.model);
    grouped.setGroupLayout({GroupLevel{Name, -1, {}}}); // one group per name
    t.proxy.setSourceModel(&grouped);
    t.view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&t.view));
    const int rows = t.proxy.rowCount();

    // The fold marker at the start of a group header row folds the group.
    const QRect header = t.view.visualRect(t.proxy.index(0, 0));
    QTest::mouseClick(t.view.viewport(), Qt::LeftButton, {},
                      QPoint(header.left() + 8, header.center().y()));
    QCOMPARE(t.proxy.rowCount(), rows - 1);

    // A check box clicked in another record ticks and becomes the current cell,
    // so Space then works on it.
    t.proxy.setSourceModel(&t.model);
    t.view.setCurrentIndex(t.proxy.index(0, Name));
    const QModelIndex box = t.proxy.index(2, Paid);
    QTest::mouseClick(t.view.viewport(), Qt::LeftButton, {}, t.view.visualRect(box).center());
    QCOMPARE(t.model.cell(2, Paid).toBool(), true);
    QCOMPARE(t.view.currentIndex(), box);
    QTest::keyClick(&t.view, Qt::Key_Space);
    QCOMPARE(t.model.cell(2, Paid).toBool(), false);
    QCOMPARE(t.model.cell(0, Name).toString(), u"Apple"_s);
}

void TestGridEditing::textEditorKeepsUnreadableText()
{
    Table t;
    t.view.setCurrentIndex(t.proxy.index(1, Paid));
    // Done with a word that is no yes or no: said, and the editor opens again
    // with the text; closed then without Done, the cell stays as it was.
    t.prompter.textAnswers << u"perhaps"_s << QString();
    t.actions->editText();
    QCOMPARE(t.prompter.textRequests.size(), 2);
    QCOMPARE(t.prompter.textRequests.at(1).text, u"perhaps"_s);
    QCOMPARE(t.prompter.messages.size(), 1);
    QVERIFY(t.prompter.messages.first().text.contains(u"cannot be read as yes or no"_s));
    QCOMPARE(t.model.cell(1, Paid), QVariant(false));
}

void TestGridEditing::keysUndoAndRedo()
{
    Table t;
    t.view.show();
    QApplication::setActiveWindow(&t.view);
    QVERIFY(QTest::qWaitForWindowActive(&t.view));
    t.view.setFocus();
    t.view.setCurrentIndex(t.proxy.index(0, Name));
    t.actions->insertRecord();
    QCOMPARE(t.model.rowCount(), 5);
    QTest::keyClick(&t.view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(t.model.rowCount(), 4);
    QTest::keyClick(&t.view, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(t.model.rowCount(), 5);
    QCOMPARE(t.names().first(), QString()); // inserted above the current record
    QTest::keyClick(&t.view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(t.model.rowCount(), 5); // nothing left to redo
    t.prompter.textAnswers << QString() << QString();
    t.view.setCurrentIndex(t.proxy.index(1, Name));
    QTest::keyClick(&t.view, Qt::Key_F4);
    QTest::keyClick(&t.view, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(t.prompter.textRequests.size(), 2);
}

void TestGridEditing::windowMarksEditedAndNeverSavesTheNewRecordRow()
{
    WindowFixture f;
    frmMain &w = f.start();
    RecordTableProxy &proxy = w.editing().proxy();
    QVERIFY(!f.controller->DatabaseEdited());
    const int records = f.controller->grid().rowCount();
    QCOMPARE(proxy.rowCount(), records + 1);
    QVERIFY(proxy.setData(proxy.index(records, 1), u"Quince"_s));
    QVERIFY(f.controller->DatabaseEdited());
    // Deleted, undone: the save writes the table as it stands.
    w.editing().editor().removeRecords({0});
    w.editing().editor().undo();
    QVERIFY(f.controller->SaveDatabase());
    const auto saved = f.server->OpenDatabase(f.databasePath(u"Ann"_s, u"Fruit"_s));
    QCOMPARE(saved->Table().RecordCount(), records + 1);
    QCOMPARE(saved->Table().Record(records).value(0).toString(), u"Quince"_s);
}

QTEST_MAIN(TestGridEditing)
#include "tst_grid_editing.moc"
