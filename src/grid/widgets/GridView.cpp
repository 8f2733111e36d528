#include "GridView.h"

#include "GridItemDelegate.h"
#include "common/Twips.h"
#include "grid/GridColumn.h"
#include "grid/GridRoles.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>

namespace Ledgerly {

namespace {
// A picture row is about half an inch high, enough to recognise a thumbnail.
constexpr double pictureRowTwips = 720;
constexpr double fieldColumnTwips = 1200;

QVariant columnRole(const QAbstractItemModel *model, int column, int role)
{
    return model->headerData(column, Qt::Horizontal, role);
}

GridRoles::RowKind rowKind(const QAbstractItemModel *model, int row)
{
    return GridRoles::RowKind(model->index(row, 0).data(GridRoles::RowKindRole).toInt());
}

bool isGroupRow(GridRoles::RowKind kind)
{
    return kind == GridRoles::RowKind::GroupHeader || kind == GridRoles::RowKind::GroupFooter;
}
} // namespace

GridView::GridView(QWidget *parent)
    : QTableView(parent)
    , m_collapseAll(new QAction(QStringLiteral("Collapse All Groups"), this))
    , m_expandAll(new QAction(QStringLiteral("Expand All Groups"), this))
{
    setObjectName(QStringLiteral("SGGrid1"));
    setItemDelegate(new GridItemDelegate(this));
    setAlternatingRowColors(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    setWordWrap(false);
    verticalHeader()->hide(); // column 0 carries the record numbers
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_collapseAll->setObjectName(QStringLiteral("collapseAllGroups"));
    m_expandAll->setObjectName(QStringLiteral("expandAllGroups"));
    connect(m_collapseAll, &QAction::triggered, this, &GridView::collapseAllGroups);
    connect(m_expandAll, &QAction::triggered, this, &GridView::expandAllGroups);
    addAction(m_collapseAll);
    addAction(m_expandAll);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void GridView::setModel(QAbstractItemModel *newModel)
{
    for (const QMetaObject::Connection &c : std::as_const(m_modelConnections))
        disconnect(c);
    m_modelConnections.clear();
    QTableView::setModel(newModel);
    if (newModel) {
        auto refresh = [this] { applyColumns(); };
        // Spans of the rows around move with them; only new rows need theirs.
        auto spans = [this](const QModelIndex &, int first, int last) { applySpans(first, last); };
        using M = QAbstractItemModel;
        m_modelConnections = {
            connect(newModel, &M::modelReset, this, refresh),
            connect(newModel, &M::headerDataChanged, this, refresh),
            connect(newModel, &M::columnsInserted, this, refresh),
            connect(newModel, &M::columnsRemoved, this, refresh),
            connect(newModel, &M::layoutChanged, this, refresh),
            connect(newModel, &M::rowsInserted, this, spans),
        };
    }
    applyColumns();
}

bool GridView::showsPictures() const
{
    const QAbstractItemModel *m = model();
    if (!m)
        return false;
    for (int c = 1; c < m->columnCount(); ++c) {
        if (!columnRole(m, c, GridRoles::HiddenRole).toBool() &&
            GridRoles::kindOf(*m, c) == ColumnKind::Picture)
            return true;
    }
    return false;
}

int GridView::preferredRowHeight() const
{
    const int text = fontMetrics().height() + 8;
    if (!showsPictures())
        return text;
    return qMax(text, Twips::toPixels(pictureRowTwips, logicalDpiY()));
}

void GridView::applyColumns()
{
    const QAbstractItemModel *m = model();
    if (!m)
        return;
    for (int c = 0; c < m->columnCount(); ++c)
        setColumnHidden(c, columnRole(m, c, GridRoles::HiddenRole).toBool());
    clearSpans();
    // Grouped, the last column reaches to the right edge, so a footer's
    // figures have the whole width of the table to show in. Set before the
    // widths: switching it off gives the last column back an older width.
    horizontalHeader()->setStretchLastSection(applySpans(0, m->rowCount() - 1));
    applyWidthsForNewColumns();
    verticalHeader()->setDefaultSectionSize(preferredRowHeight());
}

// Widths are the view's own: a person's widths stay while the same columns
// are shown (grouped or not); another database's columns start afresh.
void GridView::applyWidthsForNewColumns()
{
    const QAbstractItemModel *m = model();
    QStringList keys;
    for (int c = 0; c < m->columnCount(); ++c)
        keys.append(columnRole(m, c, GridRoles::KeyRole).toString());
    if (keys == m_widthKeys)
        return;
    m_widthKeys = keys;
    const double dpi = logicalDpiX();
    for (int c = 0; c < m->columnCount(); ++c)
        setColumnWidth(c,
                       Twips::toPixels(c == 0 ? RecordNumberColumnTwips : fieldColumnTwips, dpi));
}

// A group row is one cell wide across the visible columns, so its text is
// never cut at the first column's edge.
bool GridView::applySpans(int firstRow, int lastRow)
{
    const QAbstractItemModel *m = model();
    if (!m)
        return false;
    const int columns = m->columnCount();
    int first = 0;
    while (first < columns && isColumnHidden(first))
        ++first;
    bool found = false;
    for (int row = qMax(0, firstRow); row <= lastRow && row < m->rowCount(); ++row) {
        if (!isGroupRow(rowKind(m, row)))
            continue;
        found = true;
        if (columns - first > 1)
            setSpan(row, first, 1, columns - first);
    }
    return found;
}

bool GridView::isGroupHeader(int row) const
{
    return model() && rowKind(model(), row) == GridRoles::RowKind::GroupHeader;
}

void GridView::setGroupCollapsed(int row, bool collapsed)
{
    const QModelIndex header = model()->index(row, 0);
    if (header.data(GridRoles::GroupCollapsedRole).toBool() != collapsed)
        model()->setData(header, collapsed, GridRoles::GroupCollapsedRole);
}

void GridView::collapseAllGroups()
{
    if (!model())
        return;
    // From the bottom, so folding a group never moves the rows still to visit.
    for (int row = model()->rowCount() - 1; row >= 0; --row)
        if (isGroupHeader(row))
            setGroupCollapsed(row, true);
}

void GridView::expandAllGroups()
{
    if (!model())
        return;
    // From the top: opening a group shows the inner headers that come next.
    for (int row = 0; row < model()->rowCount(); ++row)
        if (isGroupHeader(row))
            setGroupCollapsed(row, false);
}

bool GridView::commitOpenEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return false;
    QWidget *editor = indexWidget(currentIndex());
    if (!editor)
        return false;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

void GridView::keyPressEvent(QKeyEvent *event)
{
    // Outside an edit, Enter moves on to the next cell as Tab does. The
    // keypad's Enter comes with the keypad modifier, which does not count.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool editing = state() == QAbstractItemView::EditingState;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !editing &&
        modifiers == Qt::NoModifier) {
        const QModelIndex next = moveCursor(QAbstractItemView::MoveNext, Qt::NoModifier);
        if (next.isValid())
            setCurrentIndex(next);
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) && !editing &&
        modifiers == Qt::NoModifier && currentIndex().isValid() &&
        isGroupHeader(currentIndex().row())) {
        setGroupCollapsed(currentIndex().row(), event->key() == Qt::Key_Left);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace Ledgerly
