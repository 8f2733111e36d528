#include "PdfExport.h"

#include "PageDocument.h"
#include "PageLayout.h"

#include "common/SafeFileDevice.h"

#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>

namespace Ledgerly {

namespace {
// Coordinates are points scaled up to this; 600 keeps sub-point precision
// without making the file larger.
constexpr int pdfResolution = 600;

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}
} // namespace

QPageLayout PdfExport::pageLayout(QPageLayout::Orientation orientation)
{
    return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(15, 15, 15, 15),
                       QPageLayout::Millimeter);
}

bool PdfExport::writeFile(const QAbstractItemModel &model, const Options &options,
                          const QString &path, QString *error)
{
    Job job(model, options, path);
    if (!job.open(error))
        return false;
    job.advance();
    return job.finish(error);
}

PdfExport::Job::Job(const QAbstractItemModel &model, const Options &options, const QString &path,
                    std::shared_ptr<const PageLayout> layout)
    : m_model(model)
    , m_options(options)
    , m_path(QFileInfo(path).absoluteFilePath())
    , m_layout(std::move(layout))
{}

PdfExport::Job::~Job()
{
    cancel();
}

bool PdfExport::Job::open(QString *error)
{
    m_file = std::make_unique<SafeFileDevice>(m_path);
    if (!m_file->openFile()) {
        setError(error, m_file->errorText());
        m_file.reset();
        return false;
    }
    m_writer = std::make_unique<QPdfWriter>(m_file.get());
    m_writer->setResolution(pdfResolution);
    m_writer->setTitle(m_options.title);
    m_writer->setCreator(QStringLiteral("Ledgerly"));
    m_writer->setPageLayout(pageLayout(m_options.orientation));
    m_document = std::make_unique<PageDocument>(m_model, m_options.title, m_options.printedOn,
                                                *m_writer, m_layout);
    return true;
}

bool PdfExport::Job::advance(QDeadlineTimer deadline)
{
    return !m_document || m_document->advance(deadline);
}

bool PdfExport::Job::finish(QString *error)
{
    if (!m_document) {
        setError(error, QStringLiteral("Cannot write \"%1\": it was not opened").arg(m_path));
        return false;
    }
    const bool drawn = m_document->finish();
    m_document.reset();
    m_writer.reset();
    if (!drawn && !m_file->failed()) {
        setError(error, QStringLiteral("Cannot write \"%1\": the pages could not be drawn")
                            .arg(QDir::toNativeSeparators(m_path)));
        cancel();
        return false;
    }
    const bool written = m_file->commit();
    setError(error, m_file->errorText());
    m_file.reset();
    return written;
}

void PdfExport::Job::cancel()
{
    if (m_document)
        m_document->abandon();
    m_document.reset();
    m_writer.reset();
    if (m_file)
        m_file->cancel();
    m_file.reset();
}

int PdfExport::Job::percent() const
{
    return m_document ? m_document->percent() : 0;
}

int PdfExport::Job::pagesDone() const
{
    return m_document ? m_document->pagesDone() : 0;
}

int PdfExport::Job::pageCount() const
{
    return m_document ? m_document->pageCount() : 0;
}

} // namespace Ledgerly
