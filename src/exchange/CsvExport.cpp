#include "CsvExport.h"

#include "CsvExporter.h"
#include "CsvNaming.h"
#include "database/PdbDatabase.h"
#include "document/Document.h"

#include <QDir>
#include <QSaveFile>

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

CsvOutcome exportCsvFile(const Document &document, const QString &storedPath,
                         const QString &appName, const QString &chosenPath)
{
    CsvOutcome outcome;
    outcome.csvPath = CsvNaming::csvPathFor(chosenPath);
    const QString prefix = CsvNaming::folderPrefix(chosenPath);
    const QString title = CsvNaming::fileTitle(chosenPath);

    // The export reads the file as stored: unsaved edits in the table are not
    // exported.
    const std::unique_ptr<PdbDatabase> database = document.openStored(storedPath);
    if (!database) {
        outcome.message = QStringLiteral("Error opening database.  Ensure this a ") + appName +
                          QStringLiteral("Database.");
        return outcome;
    }

    const QString createError =
        QStringLiteral("Error creating CSV file.  Check diskspace or read-only status.");
    QSaveFile file(outcome.csvPath);
    if (!file.open(QIODevice::WriteOnly)) {
        outcome.message = createError;
        return outcome;
    }

    // The exported fields are the schema's, in schema order: the first N keys
    // after Databasename, captions from their values.
    const SchemaSection &schema = document.schema();
    const int fields = schema.fieldCount();
    QStringList names;
    QStringList captions;
    for (int i = 1; i <= fields; ++i) {
        names.append(schema.key(i));
        captions.append(schema.valueAt(i));
    }

    // As many record lines as the table shows records, never more than the
    // file holds.
    const PdbTable &table = database->Table();
    const int lines = qMin(countRecordRows(document.model()), table.RecordCount());

    CsvExporter exporter;
    exporter.writeHeaders(captions, names);
    exporter.writeRecords(table, names, lines, prefix, title);
    const QByteArray bytes = exporter.encoded();
    // A file that could not be written in full is reported, not announced as
    // created: the old file, if any, stays as it was.
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        file.cancelWriting();
        outcome.message = createError;
        return outcome;
    }

    outcome.ok = true;
    outcome.recordLines = exporter.linesWritten();
    outcome.message = QDir::toNativeSeparators(outcome.csvPath) + QStringLiteral(" created.") +
                      QLatin1Char('\r') + QString::number(table.RecordCount()) +
                      QStringLiteral(" record(s) exported");
    return outcome;
}

} // namespace Ledgerly
