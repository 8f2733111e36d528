#include "GridView.h"

#include "FilterHeader.h"
#include "GridItemDelegate.h"
#include "common/Twips.h"
#include "grid/GridColumn.h"
#include "grid/GridRoles.h"

#include <QAction>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>

namespace Ledgerly {

namespace {
// A picture row is about half an inch high, enough to recognise a thumbnail.
constexpr double pictureRowTwips = 720;
constexpr double fieldColumnTwips = 1200;
// A column fits the values of this many rows: enough to see what a column
// holds, few enough that opening 65,535 records stays instant.
constexpr int fittedRows = 300;

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
    // Its captions sort and carry the filter row; a click on one no longer
    // selects the column.
    setHorizontalHeader(new FilterHeader(this));
    QObject::disconnect(horizontalHeader(), SIGNAL(sectionPressed(int)), this,
                        SLOT(selectColumn(int)));
    QObject::disconnect(horizontalHeader(), SIGNAL(sectionEntered(int)), this, nullptr);
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

    // A width a person sets (dragging a header edge, or double-clicking it
    // to fit) is theirs: kept through grouping, remembered for the database.
    // Widths the view sets itself, or the stretch of the last column while
    // grouped, are not.
    horizontalHeader()->viewport()->installEventFilter(this);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int logical, int, int newSize) {
                if (m_draggingEdge)
                    rememberWidth(logical, newSize);
            });
    // Connected after the table's own fit, so the fitted width is the one kept.
    connect(horizontalHeader(), &QHeaderView::sectionHandleDoubleClicked, this,
            [this](int logical) { rememberWidth(logical, columnWidth(logical)); });
    m_collapseAll->setObjectName(QStringLiteral("collapseAllGroups"));
    m_expandAll->setObjectName(QStringLiteral("expandAllGroups"));
    connect(m_collapseAll, &QAction::triggered, this, &GridView::collapseAllGroups);
    connect(m_expandAll, &QAction::triggered, this, &GridView::expandAllGroups);
    addAction(m_collapseAll);
    addAction(m_expandAll);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

FilterHeader *GridView::filterHeader() const
{
    return static_cast<FilterHeader *>(horizontalHeader());
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
    const bool grouped = applySpans(0, m->rowCount() - 1);
    horizontalHeader()->setStretchLastSection(grouped);
    m_collapseAll->setEnabled(grouped);
    m_expandAll->setEnabled(grouped);
    applyWidthsForNewColumns();
    verticalHeader()->setDefaultSectionSize(preferredRowHeight());
}

// Widths are the view's own: a person's widths stay while the same columns
// are shown (grouped or not); another database's columns fit their content,
// or take the widths the person gave them before.
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
    m_settingWidths = true;
    for (int c = 0; c < m->columnCount(); ++c) {
        const auto remembered = m_remembered.constFind(keys.at(c));
        if (c == 0)
            setColumnWidth(c, Twips::toPixels(RecordNumberColumnTwips, dpi));
        else if (remembered != m_remembered.constEnd() && !keys.at(c).isEmpty())
            setColumnWidth(c, qMax(8, Twips::toPixels(*remembered, dpi)));
        else
            setColumnWidth(c, fittedWidth(c));
    }
    m_settingWidths = false;
}

void GridView::rememberWidth(int column, int pixels)
{
    const QAbstractItemModel *m = model();
    if (m_settingWidths || !m || column <= 0 || pixels <= 0)
        return;
    const QString key = columnRole(m, column, GridRoles::KeyRole).toString();
    if (key.isEmpty())
        return;
    m_remembered.insert(key, Twips::fromPixels(pixels, logicalDpiX()));
    Q_EMIT columnWidthSetByHand();
}

bool GridView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == horizontalHeader()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress)
            m_draggingEdge = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            m_draggingEdge = false;
    }
    return QTableView::eventFilter(watched, event);
}

void GridView::setRememberedWidths(const QHash<QString, double> &twipsByKey)
{
    m_remembered = twipsByKey;
    m_widthKeys.clear(); // the next columns take them
}

int GridView::fittedWidth(int column) const
{
    const QAbstractItemModel *m = model();
    if (!m || column < 0 || column >= m->columnCount())
        return 0;
    const ColumnKind kind = GridRoles::kindOf(*m, column);
    const int padding = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8;
    int widest = horizontalHeader()->sectionSizeHint(column);
    if (kind == ColumnKind::Picture)
        return qMax(widest, Twips::toPixels(fieldColumnTwips, logicalDpiX()));
    if (kind == ColumnKind::YesNo)
        return qMax(widest, style()->pixelMetric(QStyle::PM_IndicatorWidth) + padding);
    const QFontMetrics metrics(font());
    const int rows = qMin(m->rowCount(), fittedRows);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = m->index(row, column);
        if (isGroupRow(GridRoles::RowKind(index.data(GridRoles::RowKindRole).toInt())))
            continue;
        widest = qMax(widest, metrics.horizontalAdvance(index.data().toString()) + padding);
    }
    // One long text must not take the whole window.
    const int cap = qMax(Twips::toPixels(fieldColumnTwips, logicalDpiX()),
                         viewport()->width() > 0 ? viewport()->width() / 3 : 0);
    return qMin(widest, cap);
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

void GridView::focusFirstCell()
{
    const QAbstractItemModel *m = model();
    if (!m)
        return;
    int column = 1;
    while (column < m->columnCount() && isColumnHidden(column))
        ++column;
    int row = 0;
    while (row < m->rowCount() && isGroupRow(rowKind(m, row)))
        ++row;
    if (column < m->columnCount() && row < m->rowCount())
        setCurrentIndex(m->index(row, column));
    setFocus(Qt::OtherFocusReason);
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

void GridView::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex at = indexAt(event->position().toPoint());
    QTableView::mousePressEvent(event);
    // A click on a cell makes it the current one, also where the cell took
    // the click itself (a check box ticked in place): Space and typing then
    // go to the cell clicked.
    if (event->button() == Qt::LeftButton && at.isValid() && at != currentIndex() &&
        !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) &&
        (at.flags() & Qt::ItemIsSelectable))
        setCurrentIndex(at);
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
