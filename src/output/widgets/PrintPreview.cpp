#include "PrintPreview.h"

// The prompt interface and the twips conversion live in app/ for now; both are
// meant for the shared folder below output/.
#include "common/Prompter.h"
#include "common/Twips.h"
#include "output/PagePainter.h"
#include "output/PdfExport.h"
#include "output/widgets/PageView.h"

#include <QAbstractItemModel>
#include <QLabel>
#include <QPrintDialog>
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
                           const QString &ownerCaption, Prompter &prompter, QWidget *parent,
                           std::function<void(int)> progress)
    : QDialog(parent)
    , m_model(model)
    , m_progress(std::move(progress))
    , m_title(std::move(title))
    , m_prompter(prompter)
    , m_printer(QPrinter::HighResolution)
    , m_area(new QWidget(this))
    , m_tools(new QToolBar(m_area))
    , m_viewer(nullptr)
    , m_pageNumber(new QSpinBox(m_tools))
    , m_pageTotal(new QLabel(m_tools))
    , m_return(new QPushButton(QStringLiteral("Return"), this))
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
    buildToolBar();

    connect(m_viewer, &PageView::previewChanged, this, &PrintPreview::updatePageNumber);
    connect(m_return, &QPushButton::clicked, this, &PrintPreview::Command1_Click);

    resize(twipsToPixels(s_openingWidth), twipsToPixels(openingHeight));
    Form_Load();
}

PrintPreview::~PrintPreview() = default;

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
    add(QStringLiteral("Portrait"), [this] { m_viewer->setPortraitOrientation(); });
    add(QStringLiteral("Landscape"), [this] { m_viewer->setLandscapeOrientation(); });
    m_tools->addSeparator();
    add(QStringLiteral("Print..."), [this] { printWithDialog(); });
    add(QStringLiteral("Export PDF..."), [this] { exportPdf(); });
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
    QPrintDialog dialog(&m_printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_viewer->print(m_printer, m_progress);
    if (m_progress)
        m_progress(0);
}

bool PrintPreview::exportPdf()
{
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
    QString error;
    const bool written = PdfExport::writeFile(m_model, options, path, &error, m_progress);
    if (m_progress)
        m_progress(0);
    if (!written) {
        m_prompter.message(error, Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return false;
    }
    return true;
}

} // namespace Ledgerly
