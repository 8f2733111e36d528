#include "GridView.h"

#include "GridItemDelegate.h"
#include "common/Twips.h"
#include "grid/GridModel.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace Ledgerly {

namespace {
// A picture row is about half an inch high, enough to recognise a thumbnail.
constexpr double pictureRowTwips = 720;
} // namespace

GridView::GridView(QWidget *parent)
    : QTableView(parent)
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
}

void GridView::setGridModel(GridModel *model)
{
    m_model = model;
    setModel(model);
    if (!model)
        return;
    auto refresh = [this] { applyColumns(); };
    connect(model, &QAbstractItemModel::modelReset, this, refresh);
    connect(model, &QAbstractItemModel::headerDataChanged, this, refresh);
    connect(model, &QAbstractItemModel::columnsInserted, this, refresh);
    connect(model, &QAbstractItemModel::columnsRemoved, this, refresh);
    connect(model, &QAbstractItemModel::layoutChanged, this, refresh);
    applyColumns();
}

bool GridView::showsPictures() const
{
    if (!m_model)
        return false;
    for (int c = 1; c < m_model->columnCount(); ++c) {
        const GridColumn &column = m_model->column(c);
        if (!column.hidden && column.displayType == DisplayPicture && column.pictureCode == 4)
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
    if (!m_model)
        return;
    const double dpi = logicalDpiX();
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const GridColumn &column = m_model->column(c);
        setColumnHidden(c, column.hidden);
        if (!column.hidden)
            setColumnWidth(c, qMax(8, Twips::toPixels(column.widthTwips, dpi)));
    }
    verticalHeader()->setDefaultSectionSize(preferredRowHeight());
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
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        state() != QAbstractItemView::EditingState && modifiers == Qt::NoModifier) {
        const QModelIndex next = moveCursor(QAbstractItemView::MoveNext, Qt::NoModifier);
        if (next.isValid())
            setCurrentIndex(next);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace Ledgerly
