#include "SchemaEditor.h"

#include "ChoiceDelegate.h"
#include "app/IniEntriesModel.h"
#include "app/SchemaDatabasesModel.h"
#include "app/SchemaFieldsModel.h"
#include "catalogue/IniDocument.h"
#include "common/Prompter.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTreeView>
#include <QVBoxLayout>

namespace Ledgerly {

namespace {
// Expanding every section of a very large file would take longer than the
// person wants to wait for a change to show.
constexpr int expandAllUpTo = 5000;

QString lineEndName(const QString &end)
{
    if (end == QLatin1String("\r\n"))
        return QStringLiteral("CR LF");
    return end == QLatin1String("\n") ? QStringLiteral("LF") : QStringLiteral("CR");
}

QTableView *makeTable(QWidget *parent, const QString &name)
{
    auto *view = new QTableView(parent);
    view->setObjectName(name);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    view->horizontalHeader()->setStretchLastSection(true);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    return view;
}
} // namespace

SchemaEditor::SchemaEditor(const Services &services, QWidget *parent)
    : QMainWindow(parent)
    , m_prompter(services.prompter)
    , m_server(services.server)
    , m_palmUser(services.palmUser)
    , m_showDialog([](QDialog &dialog) { return dialog.exec() == QDialog::Accepted; })
    , m_databases(new SchemaDatabasesModel(m_document, this))
    , m_fields(new SchemaFieldsModel(m_document, this))
    , m_entries(new IniEntriesModel(m_document, this))
{
    setObjectName(QStringLiteral("SchemaEditor"));
    buildViews();
    buildMenus();
    connect(&m_document, &IniEditorDocument::textChanged, this, &SchemaEditor::textChanged);
    connect(&m_document, &IniEditorDocument::pathChanged, this, &SchemaEditor::updateTitle);
    connect(&m_document, &IniEditorDocument::saved, this, &SchemaEditor::fileSaved);
    connect(&m_document.undoStack(), &QUndoStack::cleanChanged, this, &SchemaEditor::updateTitle);
    const auto refused = [this](const QString &why) { report(why); };
    connect(m_databases, &SchemaDatabasesModel::refused, this, refused);
    connect(m_fields, &SchemaFieldsModel::refused, this, refused);
    connect(m_entries, &IniEntriesModel::refused, this, refused);
    resize(960, 680);
    textChanged({});
}

SchemaEditor::~SchemaEditor() = default;

void SchemaEditor::buildViews()
{
    m_databasesView = makeTable(this, QStringLiteral("lstDatabases"));
    m_databasesView->setModel(m_databases);
    m_fieldsView = makeTable(this, QStringLiteral("grdFields"));
    m_fieldsView->setModel(m_fields);
    m_fieldsView->setItemDelegate(new ChoiceDelegate(SchemaFieldsModel::ChoicesRole, this));
    m_entriesView = new QTreeView(this);
    m_entriesView->setObjectName(QStringLiteral("treeEntries"));
    m_entriesView->setModel(m_entries);
    m_entriesView->setEditTriggers(QAbstractItemView::DoubleClicked |
                                   QAbstractItemView::EditKeyPressed);
    m_entriesView->header()->setDefaultSectionSize(260);

    connect(m_databasesView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                m_fields->setSection(current.isValid() ? current.row() : -1);
                updateActions();
            });
    connect(m_fieldsView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &SchemaEditor::updateActions);
    connect(m_entriesView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &SchemaEditor::updateActions);
    connect(m_entriesView, &QTreeView::activated, this, [this](const QModelIndex &index) {
        if (IniEntriesModel::keyOf(index) >= 0)
            editEntry();
    });

    auto *split = new QSplitter(Qt::Horizontal);
    auto *left = new QWidget;
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    auto *databasesLabel = new QLabel(QStringLiteral("&Databases:"));
    databasesLabel->setBuddy(m_databasesView);
    leftLayout->addWidget(databasesLabel);
    leftLayout->addWidget(m_databasesView);
    auto *right = new QWidget;
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto *fieldsLabel = new QLabel(QStringLiteral("&Fields of the selected database:"));
    fieldsLabel->setBuddy(m_fieldsView);
    rightLayout->addWidget(fieldsLabel);
    rightLayout->addWidget(m_fieldsView);
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);
    m_databasesPage = split;

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("tabViews"));
    m_tabs->addTab(m_databasesPage, QStringLiteral("Databases"));
    m_tabs->addTab(m_entriesView, QStringLiteral("All Entries"));
    connect(m_tabs, &QTabWidget::currentChanged, this, &SchemaEditor::updateActions);

    m_problemsView = new QListWidget;
    m_problemsView->setObjectName(QStringLiteral("lstProblems"));
    connect(m_problemsView, &QListWidget::currentRowChanged, this, [this](int row) {
        if (QListWidgetItem *item = m_problemsView->item(row))
            goToLine(item->data(Qt::UserRole).toInt());
    });
    m_problemsLabel = new QLabel;
    m_problemsLabel->setBuddy(m_problemsView);
    auto *bottom = new QWidget;
    auto *bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->addWidget(m_problemsLabel);
    bottomLayout->addWidget(m_problemsView);

    auto *vertical = new QSplitter(Qt::Vertical);
    vertical->addWidget(m_tabs);
    vertical->addWidget(bottom);
    vertical->setStretchFactor(0, 3);
    vertical->setStretchFactor(1, 1);
    setCentralWidget(vertical);

    m_fileLabel = new QLabel;
    statusBar()->addWidget(m_fileLabel, 1);
}

QAction *SchemaEditor::addAction(QMenu *menu, const QString &name, const QString &text,
                                 const QKeySequence &shortcut, void (SchemaEditor::*slot)())
{
    QAction *action = menu->addAction(text);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [this, slot] { (this->*slot)(); });
    return action;
}

void SchemaEditor::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    addAction(file, QStringLiteral("actionOpen"), QStringLiteral("&Open..."), QKeySequence::Open,
              &SchemaEditor::openCommand);
    addAction(file, QStringLiteral("actionAdopt"), QStringLiteral("New from &Database File..."), {},
              &SchemaEditor::newFromDatabaseFile);
    file->addSeparator();
    QAction *save = file->addAction(QStringLiteral("&Save"));
    save->setObjectName(QStringLiteral("actionSave"));
    save->setShortcut(QKeySequence::Save);
    connect(save, &QAction::triggered, this, [this] { saveCommand(); });
    QAction *saveAs = file->addAction(QStringLiteral("Save &As..."));
    saveAs->setObjectName(QStringLiteral("actionSaveAs"));
    connect(saveAs, &QAction::triggered, this, [this] { saveAsCommand(); });
    file->addSeparator();
    QAction *closeAction = file->addAction(QStringLiteral("&Close"));
    closeAction->setObjectName(QStringLiteral("actionClose"));
    closeAction->setShortcut(QKeySequence::Close);
    connect(closeAction, &QAction::triggered, this, &QWidget::close);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    QAction *undo = m_document.undoStack().createUndoAction(this, QStringLiteral("&Undo"));
    undo->setObjectName(QStringLiteral("actionUndo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction *redo = m_document.undoStack().createRedoAction(this, QStringLiteral("&Redo"));
    redo->setObjectName(QStringLiteral("actionRedo"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence::Redo});
    edit->addAction(undo);
    edit->addAction(redo);

    QMenu *databases = menuBar()->addMenu(QStringLiteral("&Database"));
    databases->setObjectName(QStringLiteral("menuDatabase"));
    addAction(databases, QStringLiteral("actionAddDatabase"), QStringLiteral("&Add Database..."),
              {}, &SchemaEditor::addDatabase);
    addAction(databases, QStringLiteral("actionRenameDatabase"),
              QStringLiteral("&Rename Database..."), {}, &SchemaEditor::renameDatabase);
    addAction(databases, QStringLiteral("actionDeleteDatabase"), QStringLiteral("&Delete Database"),
              {}, &SchemaEditor::deleteDatabase);
    databases->addSeparator();
    addAction(databases, QStringLiteral("actionAddField"), QStringLiteral("Add &Field..."),
              QKeySequence(Qt::CTRL | Qt::Key_N), &SchemaEditor::addField);
    addAction(databases, QStringLiteral("actionEditField"), QStringLiteral("&Edit Field..."),
              QKeySequence(Qt::CTRL | Qt::Key_E), &SchemaEditor::editField);
    addAction(databases, QStringLiteral("actionDeleteField"), QStringLiteral("De&lete Field"), {},
              &SchemaEditor::deleteField);
    QAction *up = databases->addAction(QStringLiteral("Move Field &Up"));
    up->setObjectName(QStringLiteral("actionMoveUp"));
    up->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Up));
    connect(up, &QAction::triggered, this, [this] { moveField(-1); });
    QAction *down = databases->addAction(QStringLiteral("Move Field Dow&n"));
    down->setObjectName(QStringLiteral("actionMoveDown"));
    down->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
    connect(down, &QAction::triggered, this, [this] { moveField(1); });
    databases->addSeparator();
    addAction(databases, QStringLiteral("actionPutInOrder"), QStringLiteral("Put Keys in &Order"),
              {}, &SchemaEditor::putKeysInOrder);

    QMenu *entries = menuBar()->addMenu(QStringLiteral("E&ntries"));
    addAction(entries, QStringLiteral("actionAddSection"), QStringLiteral("Add &Section..."), {},
              &SchemaEditor::addSection);
    addAction(entries, QStringLiteral("actionAddEntry"), QStringLiteral("&Add Entry..."), {},
              &SchemaEditor::addEntry);
    addAction(entries, QStringLiteral("actionEditEntry"), QStringLiteral("&Edit Entry..."), {},
              &SchemaEditor::editEntry);
    addAction(entries, QStringLiteral("actionDeleteEntry"), QStringLiteral("&Delete Entry"), {},
              &SchemaEditor::deleteEntry);
}

QAction *SchemaEditor::action(const QString &name) const
{
    return findChild<QAction *>(name);
}

void SchemaEditor::textChanged(EditorFocus focus)
{
    // The models were reset: the views show the change where it was made.
    const bool schema = m_document.isSchema();
    // A schema opens on its databases, any other file on its entries.
    if (schema != m_tabs->isTabVisible(0)) {
        m_tabs->setTabVisible(0, schema);
        m_tabs->setCurrentIndex(schema ? 0 : 1);
    }
    const int sections = m_document.text().document().sectionCount();
    const int section = focus.section >= 0 ? focus.section : m_fields->section();
    if (schema && sections > 0)
        selectSection(qBound(0, section, sections - 1));
    if (focus.field >= 0)
        selectField(qMin(focus.field, m_fields->rowCount() - 1));
    int keys = 0;
    for (int s = 0; s < sections; ++s)
        keys += m_document.text().document().keyCount(s);
    if (keys <= expandAllUpTo)
        m_entriesView->expandAll();
    if (focus.line >= 0)
        m_entriesView->setCurrentIndex(m_entries->indexOfLine(focus.line));
    refreshProblems();
    updateActions();
    updateTitle();
}

void SchemaEditor::refreshProblems()
{
    const QList<IniProblem> problems = m_document.problems();
    m_problemsView->clear();
    for (const IniProblem &problem : problems) {
        auto *item = new QListWidgetItem(
            QStringLiteral("Line %1: %2").arg(problem.line + 1).arg(problem.text), m_problemsView);
        item->setData(Qt::UserRole, problem.line);
    }
    m_problemsLabel->setText(problems.isEmpty()
                                 ? QStringLiteral("&Problems: none")
                                 : QStringLiteral("&Problems (%1):").arg(problems.size()));
}

void SchemaEditor::updateTitle()
{
    const QString path = m_document.path();
    setWindowTitle(
        QStringLiteral("Schema Editor - %1[*]")
            .arg(path.isEmpty() ? QStringLiteral("(no file)") : QFileInfo(path).fileName()));
    setWindowModified(m_document.isModified());
    const IniText &text = m_document.text();
    m_fileLabel->setText(path.isEmpty()
                             ? QString()
                             : QStringLiteral("%1  -  %2, %3 line ends")
                                   .arg(QDir::toNativeSeparators(path), text.encoding().name(),
                                        lineEndName(text.newLineEnd())));
}

void SchemaEditor::updateActions()
{
    const bool schema = m_document.isSchema();
    const bool hasFile = !m_document.path().isEmpty();
    const bool database = schema && currentSection() >= 0;
    const bool field = database && currentField() >= 0;
    const bool entry = currentEntryKey() >= 0;
    const auto enable = [this](const char16_t *name, bool on) {
        if (QAction *a = action(QString::fromUtf16(name)))
            a->setEnabled(on);
    };
    enable(u"actionSave", hasFile);
    enable(u"actionSaveAs", hasFile);
    enable(u"actionAdopt", schema);
    enable(u"actionAddDatabase", schema);
    enable(u"actionRenameDatabase", database);
    enable(u"actionDeleteDatabase", database);
    enable(u"actionAddField", database);
    enable(u"actionPutInOrder", database);
    enable(u"actionEditField", field);
    enable(u"actionDeleteField", field);
    enable(u"actionMoveUp", field && currentField() > 0);
    enable(u"actionMoveDown", field && currentField() + 1 < m_fields->rowCount());
    enable(u"actionAddSection", hasFile);
    enable(u"actionAddEntry", currentEntrySection() >= 0);
    enable(u"actionEditEntry", entry);
    enable(u"actionDeleteEntry", currentEntrySection() >= 0);
}

int SchemaEditor::currentSection() const
{
    return m_fields->section();
}

int SchemaEditor::currentField() const
{
    const QModelIndex current = m_fieldsView->currentIndex();
    return current.isValid() ? current.row() : -1;
}

int SchemaEditor::currentEntrySection() const
{
    return IniEntriesModel::sectionOf(m_entriesView->currentIndex());
}

int SchemaEditor::currentEntryKey() const
{
    return IniEntriesModel::keyOf(m_entriesView->currentIndex());
}

void SchemaEditor::selectSection(int section)
{
    m_databasesView->setCurrentIndex(m_databases->index(section, 0));
}

void SchemaEditor::selectField(int field)
{
    m_fieldsView->setCurrentIndex(m_fields->index(field, SchemaFieldsModel::CaptionColumn));
}

void SchemaEditor::goToLine(int line)
{
    const IniDocument &doc = m_document.text().document();
    int section = -1;
    for (int s = 0; s < doc.sectionCount() && doc.sectionLine(s) <= line; ++s)
        section = s;
    m_entriesView->setCurrentIndex(m_entries->indexOfLine(line));
    if (section < 0 || !m_document.isSchema())
        return;
    selectSection(section);
    const SchemaDatabase &db = m_fields->database();
    for (int f = 0; f < db.fields.size(); ++f)
        if (db.fields.at(f).captionLine == line || db.fields.at(f).roleLine == line)
            selectField(f);
}

bool SchemaEditor::report(const QString &refusal)
{
    if (refusal.isEmpty())
        return true;
    m_prompter.message(refusal, Prompter::Buttons::Ok, Prompter::Icon::Exclamation,
                       windowTitle().remove(QStringLiteral("[*]")));
    return false;
}

void SchemaEditor::closeEvent(QCloseEvent *event)
{
    if (confirmDiscard())
        event->accept();
    else
        event->ignore();
}

} // namespace Ledgerly
