#pragma once

#include <functional>

#include "CsvRegionalFormat.h"
#include "CsvWriter.h"

#include <QStringList>

namespace Ledgerly {

class PdbTable;

// Lays out an export: the caption line, the field-name line, then one line
// per record with a cell per exported field, pictures written as bitmap
// files beside the CSV file. Everything is built in memory; the caller writes
// the bytes out in one go.
class CsvExporter
{
public:
    explicit CsvExporter(const CsvRegionalFormat &format = CsvRegionalFormat());
    CsvExporter(const CsvExporter &) = delete;
    CsvExporter &operator=(const CsvExporter &) = delete;

    void writeHeaders(const QStringList &captions, const QStringList &names);

    // Writes records 1 to recordLines of table (never more than it holds).
    // A picture of record i goes to CsvNaming::bitmapPath(bitmapPrefix,
    // bitmapTitle, i, ...). A bitmap that cannot be written is skipped and
    // counted; its cell still names the file.
    // progress, when given, hears the share of lines written (0..100).
    void writeRecords(const PdbTable &table, const QStringList &names, int recordLines,
                      const QString &bitmapPrefix, const QString &bitmapTitle,
                      const std::function<void(int)> &progress = {});

    int linesWritten() const { return m_lines; }
    int bitmapsWritten() const { return m_bitmaps; }
    int bitmapFailures() const { return m_bitmapFailures; }
    // Why the first bitmap that failed was not written.
    QString firstBitmapError() const { return m_firstBitmapError; }
    QByteArray encoded() const { return m_bytes + m_writer.encoded(); }

    // Writes bytes to path through a temporary file renamed over it, so a
    // failed write never leaves half a file behind.
    static bool writeFileAtomically(const QString &path, const QByteArray &bytes);

private:
    CsvRegionalFormat m_format;
    CsvWriter m_writer;
    QByteArray m_bytes; // the lines encoded so far; the writer holds the rest
    int m_lines = 0;
    int m_bitmaps = 0;
    int m_bitmapFailures = 0;
    QString m_firstBitmapError;
};

} // namespace Ledgerly
