#pragma once

#include "output/PdfExport.h"
#include "output/SliceRunner.h"

#include <QDialog>
#include <QPrinter>

#include <memory>

class QAbstractItemModel;
class QAction;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QToolBar;

namespace Ledgerly {

class PageDocument;
class PageView;
class Prompter;

// The print preview: the table's pages in a viewer with paging, zoom,
// orientation, printing and PDF export, and a "Return" button. Created for
// one showing; every opening lays the table out afresh.
//
// Printing and the PDF run in slices while the window stays responsive: the
// viewer pages and zooms meanwhile, a bar under the pages shows how far the
// work has got, and Cancel (or Escape) stops it. Closing the window stops
// it too; a stopped PDF leaves no file behind.
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
    // main window's caption.
    PrintPreview(const QAbstractItemModel &model, QString title, const QString &ownerCaption,
                 Prompter &prompter, QWidget *parent = nullptr);
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

    // Export PDF...: asks for the file through the prompter and starts
    // writing it; a failure is reported when it happens. True when writing
    // started (jobFinished() tells how it ended).
    bool exportPdf();
    // Print...: the system's print dialog, then print().
    void printWithDialog();
    // Starts drawing the pages on a printer that is set up (paper, output);
    // the pages are laid out again when its paper is not the preview's.
    bool print(QPrinter &printer);
    bool isBusy() const { return m_runner.isRunning(); }
    // Stops printing or writing the PDF; nothing is left of a PDF.
    void cancelJob();

    QWidget *jobBar() const { return m_jobBar; }
    QLabel *jobText() const { return m_jobText; }
    QProgressBar *jobProgress() const { return m_jobProgress; }
    QPushButton *cancelButton() const { return m_cancel; }

Q_SIGNALS:
    // A print or a PDF ended: written completely, or not (failed or cancelled).
    void jobFinished(bool completed);

public Q_SLOTS:
    void reject() override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void Form_Resize();
    void ShowPrintPreview();
    void Command1_Click();
    void buildToolBar();
    void buildJobBar();
    void updatePageNumber();
    QSizeF sizeInTwips() const;
    void startJob(const QString &doing);
    void showJobProgress();
    void endJob(bool completed, const QString &text);
    void finishPdf();
    void finishPrint();
    void showLayoutProgress(int percent);

    const QAbstractItemModel &m_model;
    QString m_title;
    Prompter &m_prompter;
    QPrinter m_printer;
    QWidget *m_area;
    QToolBar *m_tools;
    PageView *m_viewer;
    QSpinBox *m_pageNumber;
    QLabel *m_pageTotal;
    QPushButton *m_return;
    QWidget *m_jobBar;
    QLabel *m_jobText;
    QProgressBar *m_jobProgress;
    QPushButton *m_cancel;
    QList<QAction *> m_idleOnly; // commands that wait while a job runs
    SliceRunner m_runner;
    QString m_doing; // what the running job does, for its progress text
    std::unique_ptr<PdfExport::Job> m_pdf;
    std::unique_ptr<PageDocument> m_printing;
    QPrinter *m_printingTo = nullptr;
    bool m_loaded = false;
};

} // namespace Ledgerly
