#pragma once

#include <QAbstractScrollArea>
#include <QPageLayout>

#include <functional>
#include <memory>

class QAbstractItemModel;
class QPrinter;

namespace Ledgerly {

class PageLayout;

// The pages of a table one below the other, each drawn only while it is in
// view: a table of thousands of records opens, scrolls and zooms as quickly
// as one of a single page. Pages are laid out for A4 in the chosen
// orientation, as they are printed and exported.
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

    // Every page on the printer, laid out for its paper; progress hears the
    // share of pages done (0..100). False when printing failed.
    bool print(QPrinter &printer, const std::function<void(int)> &progress = {}) const;

Q_SIGNALS:
    // The pages, the zoom or the page in view changed.
    void previewChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    static constexpr qreal zoomStep = 1.25;
    static constexpr int gap = 12; // pixels around and between pages

    void relayout();
    void updateScrollBars();
    qreal pixelsPerPoint() const;
    QSizeF paperPixels() const;
    int pageTop(int index) const;

    const QAbstractItemModel &m_model;
    QString m_title;
    QPageLayout m_pageLayout;
    std::unique_ptr<PageLayout> m_layout;
    qreal m_zoom = 1;
    bool m_fitWidth = true; // keep fitting the width as the view is resized
};

} // namespace Ledgerly
