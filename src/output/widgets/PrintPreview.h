#pragma once

#include "output/PageLayout.h"

#include <QDialog>
#include <QPrinter>

#include <functional>
#include <memory>

class QAbstractItemModel;
class QLabel;
class QPushButton;
class QSpinBox;
class QToolBar;

namespace Ledgerly {

class PageView;
class Prompter;

// The print preview: the table's pages in a viewer with paging, zoom,
// orientation, printing and PDF export, and a "Return" button. Created for
// one showing; every opening lays the table out afresh.
class PrintPreview : public QDialog
{
    Q_OBJECT
public:
    // Sizes in twips.
    static constexpr double widthAfterClosing = 10445;
    static constexpr double firstOpeningWidth = 12000;
    static constexpr double openingHeight = 9000;
    static constexpr double buttonWidth = 3600;
    static constexpr double buttonHeight = 375;

    // title: the page title (the database's display name); ownerCaption: the
    // main window's caption. progress hears the share of pages done (0..100,
    // then 0) while pages are made: hundreds of pages take seconds.
    PrintPreview(const QAbstractItemModel &model, QString title, const QString &ownerCaption,
                 Prompter &prompter, QWidget *parent = nullptr,
                 std::function<void(int)> progress = {});
    ~PrintPreview() override;

    // The width the next preview opens with: the Print Preview command sets
    // it once a preview has closed.
    static double openingWidthTwips();
    static void setOpeningWidthTwips(double twips);

    QWidget *viewerArea() const { return m_area; } // ARViewer21
    PageView *viewer() const { return m_viewer; }
    QPushButton *returnButton() const { return m_return; }
    QToolBar *viewerToolBar() const { return m_tools; }
    int pageCount() const;
    int currentPage() const;
    // Shows page (from 1; kept within the document).
    void goToPage(int page);
    int twipsToPixels(double twips) const;

    // Export PDF...: asks for the file through the prompter and writes it;
    // a failure is reported. True when a file was written.
    bool exportPdf();
    // Print...: the system's print dialog, then the pages on the printer.
    void printWithDialog();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void Form_Load();
    void Form_Resize();
    void ShowPrintPreview();
    void Command1_Click();
    void buildToolBar();
    void updatePageNumber();
    QSizeF sizeInTwips() const;

    const QAbstractItemModel &m_model;
    std::function<void(int)> m_progress;
    QString m_title;
    Prompter &m_prompter;
    QPrinter m_printer;
    QWidget *m_area;
    QToolBar *m_tools;
    PageView *m_viewer;
    QSpinBox *m_pageNumber;
    QLabel *m_pageTotal;
    QPushButton *m_return;
    bool m_loaded = false;
};

} // namespace Ledgerly
