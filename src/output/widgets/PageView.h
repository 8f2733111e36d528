#pragma once

#include "output/SliceRunner.h"

#include <QAbstractScrollArea>
#include <QDate>
#include <QPageLayout>

#include <memory>

class QAbstractItemModel;

namespace Ledgerly {

class InkPainter;
class PageLayout;
class PageLayoutBuilder;

// The pages of a table one below the other, each drawn only while it is in
// view: a table of thousands of records scrolls and zooms as quickly as one
// of a single page. Pages are laid out for A4 in the chosen orientation, as
// they are printed and exported, once per orientation; a large table is
// laid out in slices while the view stays responsive, a small one at once.
class PageView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    PageView(const QAbstractItemModel &model, QString title, QWidget *parent = nullptr);
    ~PageView() override;

    QPageLayout::Orientation orientation() const { return m_pageLayout.orientation(); }
    void setOrientation(QPageLayout::Orientation orientation);
    void setPortraitOrientation() { setOrientation(QPageLayout::Portrait); }
    void setLandscapeOrientation() { setOrientation(QPageLayout::Landscape); }

    // The pages laid out for the view's paper; null while that is going on.
    std::shared_ptr<const PageLayout> pages() const { return m_layout; }
    bool isLaidOut() const { return m_layout != nullptr; }
    int layoutPercent() const;
    // 0 while the pages are being laid out.
    int pageCount() const;
    // From 1: the page the view shows at its top.
    int currentPage() const;
    void setCurrentPage(int page);

    // 1 shows a page at its printed size.
    qreal zoomFactor() const { return m_zoom; }
    void setZoomFactor(qreal zoom);
    void zoomIn() { setZoomFactor(m_zoom * zoomStep); }
    void zoomOut() { setZoomFactor(m_zoom / zoomStep); }
    void fitToWidth();
    void fitInView();

    const QPageLayout &paper() const { return m_pageLayout; }

Q_SIGNALS:
    // The pages, the zoom or the page in view changed.
    void previewChanged();
    // Laying the pages out has got this far (0..100) / is done.
    void layoutProgress(int percent);
    void laidOut();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    static constexpr qreal zoomStep = 1.25;
    static constexpr int gap = 12; // pixels around and between pages

    void relayout();
    void adoptLayout();
    void updateScrollBars();
    void paintLayingOut(QPainter &painter, const QRectF &sheet) const;
    qreal pixelsPerPoint() const;
    QSizeF paperPixels() const;
    int pageTop(int index) const;

    const QAbstractItemModel &m_model;
    QString m_title;
    QPageLayout m_pageLayout;
    QDate m_printedOn;
    std::shared_ptr<const PageLayout> m_layout;
    std::unique_ptr<PageLayoutBuilder> m_builder;
    std::unique_ptr<InkPainter> m_ink; // its fonts are made once, for the pages in view
    SliceRunner m_runner;
    qreal m_zoom = 1;
    bool m_fitWidth = true; // keep fitting the width as the view is resized
};

} // namespace Ledgerly
