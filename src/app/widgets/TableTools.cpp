#include "TableTools.h"

#include "GridEditing.h"
#include "StatusPanels.h"
#include "app/MainController.h"
#include "common/Prompter.h"
#include "grid/RecordTableProxy.h"
#include "grid/RecordViewProxy.h"
#include "grid/ShownTextKeeper.h"
#include "grid/TableEditor.h"
#include "grid/widgets/FilterHeader.h"
#include "grid/widgets/FindBar.h"
#include "grid/widgets/GridEditActions.h"
#include "grid/widgets/GridView.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

namespace Ledgerly {

TableTools::TableTools(QWidget &window, GridView &view, GridEditing &editing,
                       MainController &controller, Prompter &prompter, StatusPanels &status)
    : QObject(&window)
    , m_window(window)
    , m_view(view)
    , m_editing(editing)
    , m_controller(controller)
    , m_prompter(prompter)
    , m_status(status)
    , m_header(view.filterHeader())
    , m_findBar(new FindBar(view, editing.proxy(), &window))
    , m_filterRow(new QAction(QStringLiteral("Filter Row"), this))
    , m_keeper(new ShownTextKeeper(controller.grid(), ShownTextKeeper::releaseDelayMs,
                                   ShownTextKeeper::fillBeforeWaitingMs, this))
{
    m_filterRow->setObjectName(QStringLiteral("toggleFilterRow"));
    m_filterRow->setCheckable(true);
    m_filterRow->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    m_filterRow->setShortcutContext(Qt::WindowShortcut);
    window.addAction(m_filterRow);
    connect(m_filterRow, &QAction::triggered, this,
            [this](bool on) { m_controller.setFilterRowShown(on); });
    connect(m_header, &FilterHeader::contextMenuAboutToShow, this, [this](QMenu *menu) {
        menu->addSeparator();
        menu->addAction(m_filterRow);
    });

    RecordViewProxy &records = m_controller.recordView();
    // In the window a slow box is applied between events.
    records.setFilterInSlices(true);
    connect(m_header, &FilterHeader::sortKeysRequested, this,
            [this](const SortKeys &keys) { m_controller.setSortKeys(keys); });
    connect(m_header, &FilterHeader::filterTextChanged, this, &TableTools::filterTextChanged);
    connect(&records, &RecordViewProxy::viewChanged, this, [this] {
        applySortKeys();
        showCount();
        showFilterErrors();
    });
    connect(&records, &RecordViewProxy::filterCleared, m_header, &FilterHeader::clearFilters);
    connect(&records, &QAbstractItemModel::modelReset, this, [this] {
        applySortKeys();
        showCount();
    });
    connect(&m_controller, &MainController::filterRowShownChanged, this,
            &TableTools::filterRowShownChanged);
    m_findBar->setTextKeeper(m_keeper);
    connect(m_findBar, &FindBar::heightChanged, this, [this] {
        setTableGeometry(m_area);
        updateKeptText();
    });
    filterRowShownChanged(m_controller.filterRowShown());
    applySortKeys();
}

QAction *TableTools::actionFor(const QString &key) const
{
    GridEditActions &actions = m_editing.actions();
    switch (CommandTable::commandForKey(key)) {
    case Command::Undo:
        return actions.undoAction();
    case Command::Redo:
        return actions.redoAction();
    case Command::Copy:
        return actions.copyAction();
    case Command::Paste:
        return actions.pasteAction();
    case Command::InsertRecord:
        return actions.insertAction();
    case Command::DeleteRecords:
        return actions.deleteAction();
    default:
        return nullptr;
    }
}

void TableTools::run(Command command)
{
    GridEditActions &actions = m_editing.actions();
    switch (command) {
    case Command::Undo:
        actions.undo();
        return;
    case Command::Redo:
        actions.redo();
        return;
    case Command::Copy:
        actions.copy();
        return;
    case Command::Paste:
        actions.paste();
        return;
    case Command::InsertRecord:
        actions.insertRecord();
        return;
    case Command::DeleteRecords:
        actions.deleteRecords();
        return;
    case Command::Find:
        m_findBar->openFind();
        return;
    case Command::FindNext:
        m_findBar->findNext();
        return;
    case Command::FindPrevious:
        m_findBar->findPrevious();
        return;
    case Command::Replace:
        m_findBar->openReplace();
        return;
    case Command::GoToRecord:
        goToRecord();
        return;
    case Command::SortRecords:
        sortRecords();
        return;
    default:
        return;
    }
}

void TableTools::setTableGeometry(const QRect &area)
{
    m_area = area;
    int tableHeight = area.height();
    if (m_findBar->isVisible()) {
        const int barHeight = qMin(m_findBar->sizeHint().height(), area.height() / 2);
        tableHeight -= barHeight;
        m_findBar->setGeometry(area.left(), area.top() + tableHeight, area.width(), barHeight);
        m_findBar->raise();
    }
    m_view.setGeometry(area.left(), area.top(), area.width(), tableHeight);
}

void TableTools::applySortKeys()
{
    m_header->setSortKeys(m_controller.recordView().sortKeys());
}

void TableTools::filterTextChanged(int column)
{
    m_view.commitOpenEditor();
    // Keys of the filter boxes are their columns. The box is read when the
    // filter is applied: by then it may hold more keystrokes, or belong to
    // another database's columns.
    m_keeper->whenReady(column, [this, column] {
        const QLineEdit *box = m_header->filterBox(column);
        m_controller.recordView().setFilterText(column, box ? box->text() : QString());
        showFilterErrors();
    });
}

void TableTools::showFilterErrors()
{
    const RecordViewProxy &records = m_controller.recordView();
    for (int c = 0; c < records.columnCount(); ++c)
        m_header->setFilterError(c, records.filterError(c));
}

void TableTools::showCount()
{
    m_status.setRecordCountText(m_controller.recordView().countText());
}

void TableTools::filterRowShownChanged(bool shown)
{
    m_filterRow->setChecked(shown);
    if (!shown)
        m_header->clearFilters();
    m_header->setFiltersShown(shown);
    if (shown && m_header->filterBox(1) && m_window.isActiveWindow())
        m_header->filterBox(1)->setFocus();
    showCount();
    updateKeptText();
}

void TableTools::updateKeptText()
{
    m_keeper->setNeeded(m_controller.filterRowShown() || !m_findBar->isHidden());
}

void TableTools::goToRecord()
{
    m_view.commitOpenEditor();
    const int records = m_controller.grid().rowCount();
    if (records == 0) {
        m_prompter.message(QStringLiteral("The table holds no records."), Prompter::Buttons::Ok,
                           Prompter::Icon::Information);
        return;
    }
    const int currentRecord = m_editing.proxy().recordRow(m_view.currentIndex().row());
    Prompter::NumberRequest request{QStringLiteral("Go to Record"),
                                    QStringLiteral("Record number (1 to %1):").arg(records),
                                    currentRecord >= 0 ? currentRecord + 1 : 1, 1, records};
    if (!m_prompter.askNumber(request))
        return;
    const int wanted = request.value - 1;
    const RecordTableProxy &proxy = m_editing.proxy();
    for (int row = 0; row < proxy.rowCount(); ++row) {
        if (proxy.recordRow(row) != wanted)
            continue;
        for (int c = 1; c < proxy.columnCount(); ++c) {
            if (m_view.isColumnHidden(c))
                continue;
            const QModelIndex cell = proxy.index(row, c);
            m_view.setCurrentIndex(cell);
            m_view.scrollTo(cell);
            m_view.setFocus();
            return;
        }
    }
    m_prompter.message(
        QStringLiteral("Record %1 is not shown: the filter or a folded group hides it.")
            .arg(request.value),
        Prompter::Buttons::Ok, Prompter::Icon::Information);
}

void TableTools::sortRecords()
{
    m_view.commitOpenEditor();
    QString text;
    switch (m_controller.SortRecords()) {
    case MainController::SortOutcome::Sorted:
    case MainController::SortOutcome::NothingOpen:
        return;
    case MainController::SortOutcome::NoKeys:
        text = QStringLiteral("Sort the table first (click a column header): Sort Records then "
                              "stores the records in that order, the order the handheld shows.");
        break;
    case MainController::SortOutcome::InOrderAlready:
        text = QStringLiteral("The records are stored in this order already.");
        break;
    }
    m_prompter.message(text, Prompter::Buttons::Ok, Prompter::Icon::Information);
}

} // namespace Ledgerly
