#include "PrintPreview.h"

// The prompt interface and the twips conversion live in app/ for now; both are
// meant for the shared folder below output/.
#include "common/Prompter.h"
#include "common/Twips.h"
#include "output/PageDocument.h"
#include "output/PageLayout.h"
#include "output/widgets/PageView.h"

#include <QAbstractItemModel>
#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace Ledgerly {

namespace {
double s_openingWidth = PrintPreview::firstOpeningWidth;
} // namespace

PrintPreview::PrintPreview(const QAbstractItemModel &model, QString title,
                           const QString &ownerCaption, Prompter &prompter, QWidget *parent)
    : QDialog(parent)
    , m_model(model)
    , m_title(std::move(title))
    , m_prompter(prompter)
    , m_printer(QPrinter::HighResolution)
    , m_area(new QWidget(this))
    , m_tools(new QToolBar(m_area))
    , m_viewer(nullptr)
    , m_pageNumber(new QSpinBox(m_tools))
    , m_pageTotal(new QLabel(m_tools))
    , m_return(new QPushButton(QStringLiteral("Return"), this))
    , m_jobBar(new QWidget(m_area))
    , m_jobText(new QLabel(m_jobBar))
    , m_jobProgress(new QProgressBar(m_jobBar))
    , m_cancel(new QPushButton(QStringLiteral("Cancel"), m_jobBar))
{
    setObjectName(QStringLiteral("PrintPreview"));
    setWindowTitle(ownerCaption + QStringLiteral(" - PRINT PREVIEW "));
    m_printer.setPageLayout(PdfExport::pageLayout(QPageLayout::Portrait));
    m_printer.setDocName(m_title);
    m_viewer = new PageView(m_model, m_title, m_area);
    m_area->setObjectName(QStringLiteral("ARViewer21"));
    m_viewer->setObjectName(QStringLiteral("viewer"));
    m_return->setObjectName(QStringLiteral("Command1"));
    m_return->setAutoDefault(false);

    auto *layout = new QVBoxLayout(m_area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_tools);
    layout->addWidget(m_viewer, 1);
    layout->addWidget(m_jobBar);
    buildToolBar();
    buildJobBar();

    connect(m_viewer, &PageView::previewChanged, this, &PrintPreview::updatePageNumber);
    connect(m_viewer, &PageView::layoutProgress, this, &PrintPreview::showLayoutProgress);
    connect(&m_runner, &SliceRunner::advanced, this, &PrintPreview::showJobProgress);
    connect(&m_runner, &SliceRunner::finished, this, [this] {
        if (m_pdf)
            finishPdf();
        else if (m_printing)
            finishPrint();
    });
    connect(m_return, &QPushButton::clicked, this, &PrintPreview::Command1_Click);

    resize(twipsToPixels(s_openingWidth), twipsToPixels(openingHeight));
    Form_Load();
}

PrintPreview::~PrintPreview()
{
    cancelJob();
}

double PrintPreview::openingWidthTwips()
{
    return s_openingWidth;
}

void PrintPreview::setOpeningWidthTwips(double twips)
{
    s_openingWidth = twips;
}

int PrintPreview::twipsToPixels(double twips) const
{
    return Twips::toPixels(twips, logicalDpiX());
}

QSizeF PrintPreview::sizeInTwips() const
{
    return {Twips::fromPixels(width(), logicalDpiX()), Twips::fromPixels(height(), logicalDpiY())};
}

void PrintPreview::Form_Load()
{
    ShowPrintPreview();
    const QSizeF size = sizeInTwips();
    m_area->setGeometry(0, 0, std::max(0, twipsToPixels(size.width() - 200)),
                        std::max(0, twipsToPixels(size.height() - 800)));
    m_return->resize(twipsToPixels(buttonWidth), twipsToPixels(buttonHeight));
    m_loaded = true;
}

void PrintPreview::Form_Resize()
{
    // A window made smaller than the margins leaves an empty viewer rather
    // than one of negative size.
    const QSizeF size = sizeInTwips();
    m_area->setGeometry(0, 0, std::max(0, twipsToPixels(size.width() - 325)),
                        std::max(0, twipsToPixels(size.height() - 1400)));
    m_return->move(twipsToPixels(size.width() / 2 - 1800), twipsToPixels(size.height() - 1000));
}

void PrintPreview::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (m_loaded)
        Form_Resize();
}

void PrintPreview::ShowPrintPreview()
{
    // The pages are drawn as they come into view; the first is shown.
    m_viewer->setCurrentPage(1);
}

void PrintPreview::Command1_Click()
{
    close();
}

void PrintPreview::closeEvent(QCloseEvent *event)
{
    cancelJob();
    QDialog::closeEvent(event);
}

void PrintPreview::reject()
{
    // Escape stops a running print first; pressed again it closes.
    if (isBusy()) {
        cancelJob();
        return;
    }
    QDialog::reject();
}

int PrintPreview::pageCount() const
{
    return m_viewer->pageCount();
}

void PrintPreview::buildToolBar()
{
    m_tools->setObjectName(QStringLiteral("viewerTools"));
    auto add = [this](const QString &text, auto slot) {
        QAction *action = m_tools->addAction(text);
        action->setObjectName(text);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(QStringLiteral("First"), [this] { goToPage(1); });
    add(QStringLiteral("Previous"), [this] { goToPage(m_viewer->currentPage() - 1); });
    m_tools->addWidget(m_pageNumber);
    m_tools->addWidget(m_pageTotal);
    m_pageNumber->setObjectName(QStringLiteral("pageNumber"));
    m_pageNumber->setMinimum(1);
    connect(m_pageNumber, &QSpinBox::valueChanged, this, [this](int page) { goToPage(page); });
    add(QStringLiteral("Next"), [this] { goToPage(m_viewer->currentPage() + 1); });
    add(QStringLiteral("Last"), [this] { goToPage(m_viewer->pageCount()); });
    m_tools->addSeparator();
    add(QStringLiteral("Zoom In"), [this] { m_viewer->zoomIn(); });
    add(QStringLiteral("Zoom Out"), [this] { m_viewer->zoomOut(); });
    add(QStringLiteral("Fit Width"), [this] { m_viewer->fitToWidth(); });
    add(QStringLiteral("Fit Page"), [this] { m_viewer->fitInView(); });
    m_tools->addSeparator();
    m_idleOnly << add(QStringLiteral("Portrait"), [this] { m_viewer->setPortraitOrientation(); });
    m_idleOnly << add(QStringLiteral("Landscape"), [this] { m_viewer->setLandscapeOrientation(); });
    m_tools->addSeparator();
    m_idleOnly << add(QStringLiteral("Print..."), [this] { printWithDialog(); });
    m_idleOnly << add(QStringLiteral("Export PDF..."), [this] { exportPdf(); });
}

void PrintPreview::buildJobBar()
{
    m_jobBar->setObjectName(QStringLiteral("jobBar"));
    m_jobText->setObjectName(QStringLiteral("jobText"));
    m_jobProgress->setObjectName(QStringLiteral("jobProgress"));
    m_cancel->setObjectName(QStringLiteral("cancelJob"));
    m_cancel->setAutoDefault(false);
    m_jobProgress->setRange(0, 100);
    auto *row = new QHBoxLayout(m_jobBar);
    row->setContentsMargins(6, 3, 6, 3);
    row->addWidget(m_jobText, 1);
    row->addWidget(m_jobProgress);
    row->addWidget(m_cancel);
    connect(m_cancel, &QPushButton::clicked, this, &PrintPreview::cancelJob);
    m_jobProgress->hide();
    m_cancel->hide();
    m_jobBar->setVisible(!m_viewer->isLaidOut());
    showLayoutProgress(m_viewer->layoutPercent());
}

void PrintPreview::showLayoutProgress(int percent)
{
    if (isBusy())
        return;
    const bool laying = percent < 100;
    m_jobBar->setVisible(laying || !m_jobText->text().isEmpty());
    m_jobProgress->setVisible(laying);
    m_jobProgress->setValue(percent);
    if (laying)
        m_jobText->setText(QStringLiteral("Laying out the pages..."));
    else if (m_jobText->text() == QStringLiteral("Laying out the pages..."))
        m_jobBar->hide();
}

void PrintPreview::updatePageNumber()
{
    const QSignalBlocker blocker(m_pageNumber);
    m_pageNumber->setMaximum(std::max(1, m_viewer->pageCount()));
    m_pageNumber->setValue(m_viewer->currentPage());
    m_pageTotal->setText(QStringLiteral(" of %1 ").arg(m_viewer->pageCount()));
}

void PrintPreview::goToPage(int page)
{
    m_viewer->setCurrentPage(std::clamp(page, 1, std::max(1, m_viewer->pageCount())));
    updatePageNumber();
}

int PrintPreview::currentPage() const
{
    return m_viewer->currentPage();
}

void PrintPreview::printWithDialog()
{
    if (isBusy())
        return;
    m_printer.setPageOrientation(m_viewer->orientation());
    QPrintDialog dialog(&m_printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    print(m_printer);
}

bool PrintPreview::print(QPrinter &printer)
{
    if (isBusy())
        return false;
    printer.setDocName(m_title);
    m_printing = std::make_unique<PageDocument>(m_model, m_title, QDate::currentDate(), printer,
                                                m_viewer->pages(), [&printer] { printer.abort(); });
    m_printingTo = &printer;
    startJob(QStringLiteral("Printing"));
    m_runner.start([this](QDeadlineTimer deadline) { return m_printing->advance(deadline); });
    return true;
}

void PrintPreview::finishPrint()
{
    const bool printed = m_printing && m_printing->finish();
    m_printing.reset();
    m_printingTo = nullptr;
    if (!printed)
        m_prompter.message(QStringLiteral("The pages could not be printed."), Prompter::Buttons::Ok,
                           Prompter::Icon::Exclamation);
    endJob(printed, printed ? QStringLiteral("Sent to the printer.") : QString());
}

bool PrintPreview::exportPdf()
{
    if (isBusy())
        return false;
    Prompter::FileRequest request;
    request.title = QStringLiteral("Export PDF");
    request.fileName = m_title + QStringLiteral(".pdf");
    request.defaultSuffix = QStringLiteral("pdf");
    request.filter = QStringLiteral("PDF - Portable Document Format (*.pdf *.PDF)");
    const QString path = m_prompter.fileName(request);
    if (path.isEmpty())
        return false;
    PdfExport::Options options;
    options.title = m_title;
    options.orientation = m_viewer->orientation();
    m_pdf = std::make_unique<PdfExport::Job>(m_model, options, path, m_viewer->pages());
    QString error;
    if (!m_pdf->open(&error)) {
        m_pdf.reset();
        m_prompter.message(error, Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return false;
    }
    startJob(QStringLiteral("Writing the PDF"));
    m_runner.start([this](QDeadlineTimer deadline) { return m_pdf->advance(deadline); });
    return true;
}

void PrintPreview::finishPdf()
{
    QString error;
    const QString path = m_pdf ? m_pdf->path() : QString();
    const bool written = m_pdf && m_pdf->finish(&error);
    m_pdf.reset();
    if (!written)
        m_prompter.message(error, Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
    endJob(written, written ? QStringLiteral("Written to %1").arg(path) : QString());
}

void PrintPreview::startJob(const QString &doing)
{
    m_doing = doing;
    for (QAction *action : std::as_const(m_idleOnly))
        action->setEnabled(false);
    m_jobProgress->setValue(0);
    m_jobProgress->show();
    m_cancel->show();
    m_jobBar->show();
    showJobProgress();
}

void PrintPreview::showJobProgress()
{
    const PageDocument *document = m_printing.get();
    const int done = m_pdf ? m_pdf->pagesDone() : document ? document->pagesDone() : 0;
    const int count = m_pdf ? m_pdf->pageCount() : document ? document->pageCount() : 0;
    const int percent = m_pdf ? m_pdf->percent() : document ? document->percent() : 0;
    m_jobProgress->setValue(percent);
    m_jobText->setText(count > 0
                           ? QStringLiteral("%1: page %2 of %3").arg(m_doing).arg(done).arg(count)
                           : QStringLiteral("%1: laying out the pages...").arg(m_doing));
}

void PrintPreview::endJob(bool completed, const QString &text)
{
    m_runner.stop();
    for (QAction *action : std::as_const(m_idleOnly))
        action->setEnabled(true);
    m_jobProgress->hide();
    m_cancel->hide();
    m_jobText->setText(text);
    m_jobBar->setVisible(!text.isEmpty());
    Q_EMIT jobFinished(completed);
}

void PrintPreview::cancelJob()
{
    if (!m_pdf && !m_printing)
        return;
    m_runner.stop();
    if (m_pdf) {
        m_pdf->cancel();
        m_pdf.reset();
    }
    if (m_printing) {
        m_printing->abandon();
        m_printing.reset();
        // Printed to a file, what was written so far is a torn document.
        if (m_printingTo && m_printingTo->outputFormat() == QPrinter::PdfFormat &&
            !m_printingTo->outputFileName().isEmpty())
            QFile::remove(m_printingTo->outputFileName());
    }
    m_printingTo = nullptr;
    endJob(false, QStringLiteral("Cancelled."));
}

} // namespace Ledgerly
