#include "CsvExport.h"

#include "CsvExporter.h"
#include "CsvNaming.h"
#include "catalogue/SchemaSection.h"
#include "common/SafeFile.h"
#include "database/FieldType.h"
#include "database/PdbError.h"
#include "database/RecordServer.h"
#include "document/Document.h"
#include "grid/GridModel.h"

#include <QDir>

namespace Ledgerly {

int countRecordRows(const GridModel &grid)
{
    int rows = 0;
    for (int r = 0; r < grid.rowCount(); ++r) {
        if (grid.gridRow(r).rowType == 0)
            ++rows;
    }
    return rows;
}

namespace {

QString damagedDatabase(const QString &appName)
{
    return QStringLiteral("Error opening database.  Ensure this a ") + appName +
           QStringLiteral("Database.");
}

// The export of records read as stored, at most tableRecords lines (-1: all).
CsvOutcome exportRecords(PdbRecordStream &records, const SchemaSection &schema, int tableRecords,
                         const QString &appName, const QString &chosenPath,
                         const std::function<void(int)> &progress)
{
    CsvOutcome outcome;
    outcome.csvPath = CsvNaming::csvPathFor(chosenPath);
    const QString prefix = CsvNaming::folderPrefix(chosenPath);
    const QString title = CsvNaming::fileTitle(chosenPath);

    const QString createError =
        QStringLiteral("Error creating CSV file.  Check diskspace or read-only status.");

    // The exported fields are the schema's, in schema order: the first N keys
    // after Databasename, captions from their values.
    const int fields = schema.fieldCount();
    QStringList names;
    QStringList captions;
    for (int i = 1; i <= fields; ++i) {
        names.append(schema.key(i));
        captions.append(schema.valueAt(i));
    }

    // As many record lines as the table shows records, never more than the
    // file holds.
    const int stored = records.recordCount();
    const int lines = tableRecords < 0 ? stored : qMin(tableRecords, stored);

    // Bitmap names grow with the CSV's name; one too long for the file
    // system would fail for every picture, so nothing is written at all.
    const PdbFieldList &defs = records.fields();
    int pictureFields = 0;
    for (const QString &name : names) {
        const int position = defs.indexOf(name);
        if (position >= 0 && defs.Item(position).Type == FieldPicture)
            ++pictureFields;
    }
    if (pictureFields > 0 && !CsvNaming::bitmapNamesFit(title, lines, pictureFields)) {
        outcome.message = QStringLiteral("The name \"%1\" is too long: the bitmap files named "
                                         "from it would exceed %2 bytes. Nothing was written.")
                              .arg(title)
                              .arg(CsvNaming::maxFileNameBytes);
        return outcome;
    }

    // A file that could not be written in full is reported, not announced as
    // created: the old file, if any, stays as it was.
    SafeFile::Writer out(outcome.csvPath);
    if (!out.open()) {
        outcome.message = createError;
        return outcome;
    }
    CsvExporter exporter(out);
    exporter.writeHeaders(captions, names);
    try {
        exporter.writeRecords(records, names, lines, prefix, title, progress);
    } catch (const PdbError &) {
        // The file changed under the export after it had been checked.
        outcome.message = damagedDatabase(appName);
        return outcome;
    }
    exporter.finish();
    if (!out.commit()) {
        outcome.message = createError;
        return outcome;
    }
    if (exporter.bitmapFailures() > 0) {
        outcome.message = QDir::toNativeSeparators(outcome.csvPath) +
                          QStringLiteral(" created, but %1 of %2 bitmap(s) could not be written. ")
                              .arg(exporter.bitmapFailures())
                              .arg(exporter.bitmapFailures() + exporter.bitmapsWritten()) +
                          exporter.firstBitmapError();
        return outcome;
    }

    outcome.ok = true;
    outcome.recordLines = exporter.linesWritten();
    outcome.message = QDir::toNativeSeparators(outcome.csvPath) + QStringLiteral(" created.") +
                      QLatin1Char('\r') + QString::number(stored) +
                      QStringLiteral(" record(s) exported");
    return outcome;
}

} // namespace

CsvOutcome exportCsvFile(const Document &document, const QString &appName,
                         const QString &chosenPath, const std::function<void(int)> &progress)
{
    int number = 0;
    QString reason;
    const std::unique_ptr<PdbRecordStream> records = document.openStoredRecords(&number, &reason);
    if (!records) {
        CsvOutcome outcome;
        outcome.csvPath = CsvNaming::csvPathFor(chosenPath);
        outcome.message = databaseOpenError(number, reason, damagedDatabase(appName));
        return outcome;
    }
    return exportRecords(*records, document.schema(), countRecordRows(document.model()), appName,
                         chosenPath, progress);
}

CsvOutcome exportStoredCsv(RecordServer &server, const QString &storedPath,
                           const SchemaSection &schema, const QString &appName,
                           const QString &chosenPath)
{
    std::unique_ptr<PdbRecordStream> records;
    try {
        records = server.OpenStream(storedPath);
    } catch (const PdbError &e) {
        CsvOutcome outcome;
        outcome.csvPath = CsvNaming::csvPathFor(chosenPath);
        outcome.message = databaseOpenError(e.number(), e.message(), damagedDatabase(appName));
        return outcome;
    }
    return exportRecords(*records, schema, -1, appName, chosenPath, {});
}

} // namespace Ledgerly
