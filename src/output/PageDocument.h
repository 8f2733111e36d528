#pragma once

#include "PageInk.h"

#include <QDate>
#include <QDeadlineTimer>
#include <QPageLayout>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QAbstractItemModel;
class QPagedPaintDevice;

namespace Ledgerly {

class PageDrawer;
class PageLayout;
class PageLayoutBuilder;

// Puts every page of a table on a printer or a PDF writer, in steps (see
// SliceRunner): the thread that owns the table composes the pages, one
// after another, and a PageDrawer draws them on the device meanwhile. The
// pages laid out for the preview are used as they are when they were made
// for the device's printable area; otherwise (another paper chosen in the
// print dialog) they are laid out afresh for it, in steps as well.
class PageDocument
{
public:
    // abortDevice: see PageDrawer.
    PageDocument(const QAbstractItemModel &model, const QString &title, QDate printedOn,
                 QPagedPaintDevice &device, std::shared_ptr<const PageLayout> layout = {},
                 std::function<void()> abortDevice = {});
    ~PageDocument();
    PageDocument(const PageDocument &) = delete;
    PageDocument &operator=(const PageDocument &) = delete;

    // Works until the deadline; true once every page is drawn or drawing
    // has failed.
    bool advance(QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever));
    // Ends the document: true when every page was drawn and the device took
    // them all.
    bool finish();
    // Gives the document up; the device is free again when this returns.
    void abandon();

    // 0 while the pages are still being laid out.
    int pageCount() const;
    int pagesDone() const;
    // How far it has got, 0 to 100, laying out included.
    int percent() const;

    // The printable area of a page layout in points, as pages are laid out.
    static QSizeF printableSize(const QPageLayout &page);

private:
    bool drawPages(QDeadlineTimer deadline);

    const QAbstractItemModel &m_model;
    QDate m_printedOn;
    QPagedPaintDevice &m_device;
    std::function<void()> m_abortDevice;
    std::shared_ptr<const PageLayout> m_layout;
    std::unique_ptr<PageLayoutBuilder> m_builder;
    std::unique_ptr<PageDrawer> m_drawer;
    std::optional<PageInk> m_next; // composed, waiting for room at the drawer
    int m_composed = 0;
    bool m_laidOutHere = false;
};

} // namespace Ledgerly
