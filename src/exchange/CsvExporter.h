#pragma once

#include <functional>

#include "CsvRegionalFormat.h"
#include "CsvWriter.h"
#include "common/SafeFile.h"

#include <QStringList>

namespace Ledgerly {

class PdbRecordStream;

// Lays out an export: the caption line, the field-name line, then one line
// per record with a cell per exported field, pictures written as bitmap
// files beside the CSV file. The lines go to the output a block at a time,
// straight from the records' stored bytes.
class CsvExporter
{
public:
    // out is open; the caller commits it after finish().
    explicit CsvExporter(SafeFile::Writer &out,
                         const CsvRegionalFormat &format = CsvRegionalFormat());
    CsvExporter(const CsvExporter &) = delete;
    CsvExporter &operator=(const CsvExporter &) = delete;

    void writeHeaders(const QStringList &captions, const QStringList &names);

    // Writes the first recordLines records of records (never more than it
    // holds). A picture of record i goes to CsvNaming::bitmapPath(
    // bitmapPrefix, bitmapTitle, i, ...). A bitmap that cannot be written is
    // skipped and counted; its cell still names the file.
    // progress, when given, hears the share of lines written (0..100).
    void writeRecords(PdbRecordStream &records, const QStringList &names, int recordLines,
                      const QString &bitmapPrefix, const QString &bitmapTitle,
                      const std::function<void(int)> &progress = {});
    // Hands the last lines to the output.
    void finish();

    int linesWritten() const { return m_lines; }
    int bitmapsWritten() const { return m_bitmaps; }
    int bitmapFailures() const { return m_bitmapFailures; }
    // Why the first bitmap that failed was not written.
    QString firstBitmapError() const { return m_firstBitmapError; }

private:
    void writePicture(const char *data, qsizetype length, const QString &path);
    void handOn();

    SafeFile::Writer &m_out;
    CsvRegionalFormat m_format;
    CsvWriter m_writer;
    int m_lines = 0;
    int m_bitmaps = 0;
    int m_bitmapFailures = 0;
    QString m_firstBitmapError;
};

} // namespace Ledgerly
