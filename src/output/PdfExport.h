#pragma once

#include <QDate>
#include <QDeadlineTimer>
#include <QPageLayout>
#include <QString>

#include <memory>

class QAbstractItemModel;
class QPdfWriter;

namespace Ledgerly {

class PageDocument;
class PageLayout;
class SafeFileDevice;

// The pages of a table as a PDF file. The file is replaced only once the
// whole document is written and every byte has reached it: a failure or a
// cancelled export leaves nothing behind and an older file at the path as
// it was.
class PdfExport
{
public:
    struct Options
    {
        QString title; // the page title, also the document's title
        QPageLayout::Orientation orientation = QPageLayout::Portrait;
        QDate printedOn = QDate::currentDate();
    };

    // A4 with 15 mm margins, in the given orientation.
    static QPageLayout pageLayout(QPageLayout::Orientation orientation);

    // Lays the table out and writes the file straight through. False (and
    // error set, naming the file) when anything went wrong.
    static bool writeFile(const QAbstractItemModel &model, const Options &options,
                          const QString &path, QString *error = nullptr);

    // The same in steps, for the window: open(), advance() until it gives
    // true, then finish() (or cancel() at any time).
    class Job
    {
    public:
        // layout: the pages already laid out for this paper, when there are.
        Job(const QAbstractItemModel &model, const Options &options, const QString &path,
            std::shared_ptr<const PageLayout> layout = {});
        ~Job();
        Job(const Job &) = delete;
        Job &operator=(const Job &) = delete;

        bool open(QString *error);
        bool advance(QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever));
        bool finish(QString *error);
        void cancel();

        const QString &path() const { return m_path; }
        int percent() const;
        int pagesDone() const;
        int pageCount() const;

    private:
        const QAbstractItemModel &m_model;
        Options m_options;
        QString m_path;
        std::shared_ptr<const PageLayout> m_layout;
        std::unique_ptr<SafeFileDevice> m_file;
        std::unique_ptr<QPdfWriter> m_writer;
        std::unique_ptr<PageDocument> m_document;
    };
};

} // namespace Ledgerly
