#include "SchemaEditor.h"

#include "ChoiceDelegate.h"
#include "app/IniEntriesModel.h"
#include "app/SchemaDatabasesModel.h"
#include "app/SchemaFieldsModel.h"
#include "catalogue/IniDocument.h"
#include "common/Prompter.h"

#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
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
    // F2 edits in place; Enter or a double click opens the entry's dialog.
    m_entriesView->setEditTriggers(QAbstractItemView::EditKeyPressed);
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
