#pragma once

#include <QPageLayout>
#include <QString>

#include <functional>

class QAbstractItemModel;
class QIODevice;

namespace Ledgerly {

// The pages of a table as a PDF document. The file is replaced atomically:
// it keeps its old content unless the whole document was written.
class PdfExport
{
public:
    struct Options
    {
        QString title; // the page title, also the document's title
        QPageLayout::Orientation orientation = QPageLayout::Portrait;
    };

    // Writes to a device already open for writing. False (and error set) when
    // painting failed.
    // progress, when given, hears the share of pages done (0..100).
    static bool write(const QAbstractItemModel &model, const Options &options, QIODevice &device,
                      QString *error = nullptr, const std::function<void(int)> &progress = {});
    // False (and error set, naming the file) when anything went wrong; the
    // file is then left as it was.
    static bool writeFile(const QAbstractItemModel &model, const Options &options,
                          const QString &path, QString *error = nullptr,
                          const std::function<void(int)> &progress = {});

    // A4 with 15 mm margins, in the given orientation.
    static QPageLayout pageLayout(QPageLayout::Orientation orientation);
};

} // namespace Ledgerly
