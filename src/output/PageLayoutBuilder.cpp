#include "PageLayoutBuilder.h"

#include "PrintedCell.h"

#include <QAbstractItemModel>

#include <algorithm>
#include <cmath>

namespace Ledgerly {

namespace {

using RowKind = GridRoles::RowKind;
using Font = PageStyle::Font;

// Markers in the cell widths: the text has line breaks, or the picture
// cell holds a picture.
constexpr float multiLine = -1;
constexpr float picture = -2;
// How many rows pass between looks at the clock.
constexpr int rowsPerCheck = 64;
constexpr double padX = 2 * PageStyle::cellPaddingX;
constexpr double padY = 2 * PageStyle::cellPaddingY;
constexpr double slack = 1e-6;

RowKind kindOf(const QAbstractItemModel &model, int row)
{
    const QVariant kind = model.index(row, 0).data(GridRoles::RowKindRole);
    return kind.isValid() ? RowKind(kind.toInt()) : RowKind::Record;
}

} // namespace

PageLayoutBuilder::PageLayoutBuilder(const QAbstractItemModel &model, QSizeF pageSize,
                                     const QString &title, std::shared_ptr<const PageStyle> style)
    : m_layout(model, pageSize, title, style ? std::move(style) : std::make_shared<PageStyle>())
    , m_cell(m_layout.style().metrics(Font::Cell))
{
    start();
}

void PageLayoutBuilder::start()
{
    const QAbstractItemModel &model = m_layout.model();
    const PageStyle &style = m_layout.style();
    const double width = m_layout.m_pageSize.width();
    const TextMetrics &titleFont = style.metrics(Font::Title);
    m_layout.m_titleLines = TextWrap::lines(m_layout.m_title, width, titleFont);
    m_layout.m_titleHeight =
        m_layout.m_titleLines.size() * titleFont.lineHeight() + PageStyle::titleGap;
    m_layout.m_footHeight = PageStyle::footGap + style.metrics(Font::Foot).lineHeight();

    const TextMetrics &captionFont = style.metrics(Font::Caption);
    for (int c = 0; c < model.columnCount(); ++c) {
        if (model.headerData(c, Qt::Horizontal, GridRoles::HiddenRole).toBool())
            continue;
        Column column;
        column.column = c;
        column.kind = GridRoles::kindOf(model, c);
        column.caption = model.headerData(c, Qt::Horizontal).toString();
        const TextWrap::Extent caption =
            TextWrap::extent(column.caption, captionFont, false, PageStyle::wordCap);
        column.full = caption.full;
        column.minimum = caption.minimum;
        column.right = c == 0;
        if (column.kind == ColumnKind::Picture) {
            column.full = std::max(column.full, PageStyle::pictureWidth);
            column.minimum = std::max(column.minimum, PageStyle::pictureWidth / 2);
        }
        m_columns.append(column);
    }
    m_rowCount = model.rowCount();
    m_kinds.resize(m_rowCount);
    m_widths.assign(size_t(m_rowCount) * size_t(m_columns.size()), 0);
}

bool PageLayoutBuilder::advance(QDeadlineTimer deadline)
{
    while (m_phase != Phase::Done) {
        if (m_next >= m_rowCount) {
            if (m_phase == Phase::Measure) {
                fitColumns();
                m_phase = Phase::Rows;
            } else {
                if (m_layout.m_rowPageStarts.isEmpty())
                    m_layout.m_rowPageStarts.append(0);
                m_widths = {};
                m_phase = Phase::Done;
                return true;
            }
            m_next = 0;
            continue;
        }
        const int end = std::min(m_rowCount, m_next + rowsPerCheck);
        for (; m_next < end; ++m_next) {
            if (m_phase == Phase::Measure)
                measureRow(m_next);
            else
                layOutRow(m_next);
        }
        if (deadline.hasExpired())
            break;
    }
    return m_phase == Phase::Done;
}

int PageLayoutBuilder::percent() const
{
    if (m_phase == Phase::Done)
        return 100;
    const qint64 done = (m_phase == Phase::Rows ? m_rowCount : 0) + qint64(m_next);
    return int(done * 100 / std::max<qint64>(1, 2 * qint64(m_rowCount)));
}

void PageLayoutBuilder::measureRow(int row)
{
    const RowKind kind = kindOf(m_layout.model(), row);
    m_kinds[row] = kind;
    if (kind != RowKind::Record)
        return;
    const QAbstractItemModel &model = m_layout.model();
    for (qsizetype v = 0; v < m_columns.size(); ++v) {
        Column &column = m_columns[v];
        const QModelIndex index = model.index(row, column.column);
        if (column.kind == ColumnKind::Picture) {
            cellWidth(row, int(v)) = PrintedCell::holdsPicture(index) ? picture : 0;
            continue;
        }
        const QString text = PrintedCell::text(index, column.kind);
        if (text.isEmpty())
            continue;
        const bool right = PrintedCell::alignedRight(index);
        column.right = column.right || right;
        const TextWrap::Extent extent = TextWrap::extent(
            text, m_cell, PrintedCell::keptWhole(column.kind, column.column, right),
            PageStyle::wordCap);
        column.full = std::max(column.full, extent.full);
        column.minimum = std::max(column.minimum, extent.minimum);
        cellWidth(row, int(v)) = extent.multiLine ? multiLine : float(extent.full);
    }
}

void PageLayoutBuilder::fitColumns()
{
    QList<ColumnNeed> needs;
    for (const Column &column : std::as_const(m_columns)) {
        ColumnNeed need;
        need.column = column.column;
        need.natural = column.full + padX;
        need.minimum = column.minimum + padX;
        need.right = column.right;
        need.repeated = column.column == 0;
        need.stretches = column.kind == ColumnKind::Text && !column.right;
        needs.append(need);
    }
    m_layout.m_bands = ColumnFit::bands(needs, m_layout.m_pageSize.width());
    if (m_layout.m_bands.isEmpty())
        m_layout.m_bands.append(QList<PageColumn>());

    // Every column's text width, and the caption row as high as its
    // tallest caption on any band, so that every band's pages hold the
    // same rows.
    m_inner.fill(0, m_columns.size());
    const TextMetrics &captionFont = m_layout.style().metrics(Font::Caption);
    qsizetype captionLines = 1;
    for (const QList<PageColumn> &band : std::as_const(m_layout.m_bands)) {
        for (const PageColumn &placed : band) {
            const auto found =
                std::find_if(m_columns.cbegin(), m_columns.cend(),
                             [&](const Column &c) { return c.column == placed.column; });
            const double inner = std::max(0.0, placed.width - padX);
            m_inner[found - m_columns.cbegin()] = inner;
            captionLines =
                std::max(captionLines, TextWrap::lines(found->caption, inner, captionFont).size());
        }
    }
    m_layout.m_headerHeight = captionLines * captionFont.lineHeight() + padY;
}

double PageLayoutBuilder::recordLines(int row, bool *hasPicture)
{
    const QAbstractItemModel &model = m_layout.model();
    qsizetype lines = 1;
    for (qsizetype v = 0; v < m_columns.size(); ++v) {
        const float width = cellWidth(row, int(v));
        if (width == picture) {
            *hasPicture = true;
            continue;
        }
        if (width != multiLine && width <= m_inner.at(v) + slack)
            continue;
        const Column &column = m_columns.at(v);
        const QModelIndex index = model.index(row, column.column);
        const QString text = PrintedCell::text(index, column.kind);
        lines = std::max(lines, TextWrap::lines(text, m_inner.at(v), m_cell).size());
    }
    return double(lines);
}

void PageLayoutBuilder::layOutRow(int row)
{
    const RowKind kind = m_kinds.at(row);
    if (kind == RowKind::NewRecord)
        return;
    PrintedRow printed;
    printed.row = row;
    printed.kind = kind;
    if (kind == RowKind::Record) {
        bool hasPicture = false;
        const double lines = recordLines(row, &hasPicture);
        printed.lineCount = int(lines);
        printed.height =
            std::max(lines * m_cell.lineHeight(), hasPicture ? PageStyle::pictureHeight : 0.0) +
            padY;
        place(printed, m_cell.lineHeight());
        return;
    }
    const QModelIndex index = m_layout.model().index(row, 0);
    printed.level = std::clamp(index.data(GridRoles::GroupLevelRole).toInt(), 0, 8);
    const TextMetrics &font = m_layout.style().metrics(
        kind == RowKind::GroupHeader ? Font::GroupHeader : Font::GroupFooter);
    // Group rows span the page, whatever band of columns is below them.
    const double room = m_layout.m_pageSize.width() - printed.level * PageStyle::groupIndent - padX;
    printed.lineCount = int(TextWrap::lines(PrintedCell::groupText(index), room, font).size());
    printed.height = printed.lineCount * font.lineHeight() + padY;
    place(printed, font.lineHeight());
}

void PageLayoutBuilder::place(const PrintedRow &printed, double lineHeight)
{
    QList<PrintedRow> &rows = m_layout.m_rows;
    const double room = bodyRoom();
    if (printed.height <= room + slack || printed.lineCount <= 1) {
        if (m_layout.m_rowPageStarts.isEmpty() ||
            (m_used + printed.height > room + slack && m_used > 0))
            startPage(rows.size());
        rows.append(printed);
        m_used += printed.height;
        return;
    }
    // Taller than a page: the row goes on over as many pages as its lines
    // need, each part with the lines that fit (its picture in the first).
    const int perPage = std::max(1, int(std::floor((room - padY + slack) / lineHeight)));
    const int total = printed.lineCount;
    for (int first = 0; first < total; first += perPage) {
        PrintedRow part = printed;
        part.firstLine = first;
        part.lineCount = std::min(perPage, total - first);
        part.height = part.lineCount * lineHeight + padY;
        if (first == 0)
            part.height = std::max(part.height, std::min(room, printed.height));
        if (m_layout.m_rowPageStarts.isEmpty() || m_used > 0)
            startPage(rows.size());
        rows.append(part);
        m_used += part.height;
    }
}

void PageLayoutBuilder::startPage(qsizetype at)
{
    QList<PrintedRow> &rows = m_layout.m_rows;
    QList<int> &starts = m_layout.m_rowPageStarts;
    // A group's header never stays alone at the foot of a page: it goes on
    // with the first row of its group.
    qsizetype start = at;
    const qsizetype pageStart = starts.isEmpty() ? 0 : starts.last();
    while (start - 1 > pageStart && rows.at(start - 1).kind == RowKind::GroupHeader)
        --start;
    starts.append(int(start));
    m_used = 0;
    for (qsizetype i = start; i < at; ++i)
        m_used += rows.at(i).height;
}

} // namespace Ledgerly
