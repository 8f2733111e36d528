#include "FilterHeader.h"

#include "grid/GridRoles.h"

#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace Ledgerly {

FilterHeader::FilterHeader(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setObjectName(QStringLiteral("FilterHeader"));
    setSectionsClickable(true);
    // The keys' arrows are drawn here, every key alike (styles draw the
    // header's own one where a narrow column shows none of it).
    setSortIndicatorShown(false);
    setSortIndicator(-1, Qt::AscendingOrder);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &FilterHeader::showMenu);
    connect(this, &QHeaderView::sectionClicked, this, [this](int logical) {
        if (logical >= 1)
            Q_EMIT sortKeysRequested(SortKeyList::clicked(m_keys, logical, m_extendClick));
    });
    connect(this, &QHeaderView::sectionResized, this, &FilterHeader::placeBoxes);
    connect(this, &QHeaderView::sectionMoved, this, &FilterHeader::placeBoxes);
}

void FilterHeader::setModel(QAbstractItemModel *newModel)
{
    for (const QMetaObject::Connection &c : std::as_const(m_modelConnections))
        disconnect(c);
    m_modelConnections.clear();
    QHeaderView::setModel(newModel);
    if (newModel) {
        using M = QAbstractItemModel;
        auto rebuild = [this] { rebuildBoxes(); };
        m_modelConnections = {
            connect(newModel, &M::columnsInserted, this, rebuild),
            connect(newModel, &M::columnsRemoved, this, rebuild),
            connect(newModel, &M::modelReset, this, rebuild),
        };
    }
    rebuildBoxes();
}

int FilterHeader::boxHeight() const
{
    return fontMetrics().height() + 10;
}

QSize FilterHeader::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    if (m_shown)
        size.setHeight(size.height() + boxHeight());
    return size;
}

void FilterHeader::setFiltersShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    updateGeometry();
    // The view lays its header out again only when asked.
    if (QAbstractItemView *view = qobject_cast<QAbstractItemView *>(parentWidget()))
        QMetaObject::invokeMethod(view, "updateGeometries");
    rebuildBoxes();
}

QLineEdit *FilterHeader::filterBox(int logical) const
{
    return m_boxes.value(logical);
}

// The boxes follow the columns: another database's columns get new, empty
// boxes, and the view's filter starts afresh with them. A hidden row has no
// boxes at all, so nothing takes them for a cell's editor.
void FilterHeader::rebuildBoxes()
{
    const int columns = model() && m_shown ? model()->columnCount() : 0;
    if (m_boxes.size() == columns) {
        placeBoxes();
        return;
    }
    qDeleteAll(m_boxes);
    m_boxes.clear();
    for (int c = 0; c < columns; ++c) {
        auto *box = new QLineEdit(viewport());
        box->setObjectName(QStringLiteral("filter%1").arg(c));
        box->setClearButtonEnabled(c > 0);
        box->setPlaceholderText(c == 0 ? QStringLiteral("any") : QStringLiteral("filter"));
        box->setToolTip(c == 0 ? QStringLiteral("Matches any column") : QString());
        connect(box, &QLineEdit::textChanged, this,
                [this, c](const QString &text) { Q_EMIT filterTextChanged(c, text); });
        m_boxes.append(box);
    }
    placeBoxes();
}

void FilterHeader::placeBoxes()
{
    const int top = QHeaderView::sizeHint().height();
    for (int c = 0; c < m_boxes.size(); ++c) {
        QLineEdit *box = m_boxes.at(c);
        const bool visible = m_shown && !isSectionHidden(c) && sectionSize(c) > 0;
        box->setVisible(visible);
        if (visible)
            box->setGeometry(sectionViewportPosition(c), top, sectionSize(c), boxHeight());
    }
}

void FilterHeader::updateGeometries()
{
    QHeaderView::updateGeometries();
    placeBoxes();
}

void FilterHeader::setFilterError(int logical, const QString &error)
{
    QLineEdit *box = filterBox(logical);
    if (!box)
        return;
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base,
                     error.isEmpty() ? QPalette().color(QPalette::Base) : QColor(255, 205, 205));
    box->setPalette(palette);
    box->setProperty("invalid", !error.isEmpty());
    if (logical > 0)
        box->setToolTip(error);
    else
        box->setToolTip(error.isEmpty() ? QStringLiteral("Matches any column") : error);
}

void FilterHeader::clearFilters()
{
    for (int c = 0; c < m_boxes.size(); ++c) {
        QLineEdit *box = m_boxes.at(c);
        const QSignalBlocker blocker(box);
        box->clear();
        setFilterError(c, {});
    }
}

void FilterHeader::setSortKeys(const SortKeys &keys)
{
    m_keys = keys;
    if (keys.isEmpty())
        setSortIndicator(-1, Qt::AscendingOrder);
    else
        setSortIndicator(keys.first().column, keys.first().order);
    viewport()->update();
}

void FilterHeader::mousePressEvent(QMouseEvent *event)
{
    m_extendClick = event->modifiers() & Qt::ShiftModifier;
    QHeaderView::mousePressEvent(event);
}

void FilterHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    // The captions take the top; the filter boxes lie below them.
    QRect caption = rect;
    if (m_shown)
        caption.setHeight(qMax(0, rect.height() - boxHeight()));
    // The style leaves the painter clipped when it is done with a section
    // (to an empty region where there was no clip), so it paints in a state
    // of its own.
    painter->save();
    QHeaderView::paintSection(painter, caption, logicalIndex);
    painter->restore();
    // With more than one key, each arrow has its place beside it ("2" for
    // the second key).
    for (qsizetype i = 0; i < m_keys.size(); ++i) {
        if (m_keys.at(i).column != logicalIndex)
            continue;
        const int size = fontMetrics().height();
        const int place = m_keys.size() > 1 ? fontMetrics().horizontalAdvance(u'9') + 2 : 0;
        // A triangle of its own: styles differ in where, or whether, they
        // draw the header's arrow in a narrow column.
        const QRectF mark(caption.right() - 4 - place - size * 0.6,
                          caption.center().y() - size * 0.18, size * 0.6, size * 0.36);
        QPolygonF triangle;
        if (m_keys.at(i).order == Qt::AscendingOrder)
            triangle << mark.bottomLeft() << mark.bottomRight()
                     << QPointF(mark.center().x(), mark.top());
        else
            triangle << mark.topLeft() << mark.topRight()
                     << QPointF(mark.center().x(), mark.bottom());
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(palette().color(QPalette::ButtonText));
        painter->drawPolygon(triangle);
        if (place > 0) {
            painter->setPen(palette().color(QPalette::ButtonText));
            painter->drawText(QRectF(mark.right() + 1, caption.top(), place, caption.height()),
                              Qt::AlignLeft | Qt::AlignVCenter, QString::number(i + 1));
        }
        painter->restore();
    }
}

void FilterHeader::showMenu(const QPoint &position)
{
    const int logical = logicalIndexAt(position);
    QMenu menu(this);
    if (logical >= 1) {
        menu.addAction(QStringLiteral("Sort Ascending"), this, [this, logical] {
            Q_EMIT sortKeysRequested({{logical, Qt::AscendingOrder}});
        });
        menu.addAction(QStringLiteral("Sort Descending"), this, [this, logical] {
            Q_EMIT sortKeysRequested({{logical, Qt::DescendingOrder}});
        });
    }
    QAction *stored = menu.addAction(QStringLiteral("Stored Order"), this,
                                     [this] { Q_EMIT sortKeysRequested({}); });
    stored->setEnabled(!m_keys.isEmpty());
    Q_EMIT contextMenuAboutToShow(&menu);
    menu.exec(mapToGlobal(position));
}

} // namespace Ledgerly
