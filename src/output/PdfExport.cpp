#include "PdfExport.h"

#include "PageLayout.h"
#include "PagePainter.h"

#include <QAbstractItemModel>
#include <QPdfWriter>
#include <QSaveFile>

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

bool PdfExport::write(const QAbstractItemModel &model, const Options &options, QIODevice &device,
                      QString *error, const std::function<void(int)> &progress)
{
    QPdfWriter writer(&device);
    writer.setResolution(pdfResolution);
    writer.setTitle(options.title);
    writer.setCreator(QStringLiteral("Ledgerly"));
    writer.setPageLayout(pageLayout(options.orientation));
    const PageLayout layout(model, writer.pageLayout().paintRectPoints().size());
    if (!PagePainter(layout, options.title).paintDocument(writer, progress)) {
        setError(error, QStringLiteral("The pages could not be drawn."));
        return false;
    }
    return true;
}

bool PdfExport::writeFile(const QAbstractItemModel &model, const Options &options,
                          const QString &path, QString *error,
                          const std::function<void(int)> &progress)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error,
                 QStringLiteral("%1 could not be written: %2").arg(path, file.errorString()));
        return false;
    }
    QString painted;
    if (!write(model, options, file, &painted, progress)) {
        file.cancelWriting();
        setError(error, QStringLiteral("%1 could not be written: %2").arg(path, painted));
        return false;
    }
    // Every byte must have reached the file before it replaces the old one.
    if (file.error() != QFileDevice::NoError || !file.flush() || !file.commit()) {
        setError(error,
                 QStringLiteral("%1 could not be written: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

} // namespace Ledgerly
