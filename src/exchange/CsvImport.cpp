#include "CsvImport.h"

#include "CsvImporter.h"
#include "CsvNaming.h"
#include "CsvReader.h"
#include "common/Prompter.h"
#include "database/PdbDatabase.h"
#include "database/PdbLayout.h"
#include "document/Document.h"
#include "grid/TableEditor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Ledgerly {

namespace {

const QString &openCsvError()
{
    static const QString text =
        QStringLiteral("Error Opening CSV file.  Check diskspace or read-only status.");
    return text;
}

} // namespace

CsvOutcome importCsvFile(Document &document, Prompter &prompter, const QString &appName,
                         const QString &chosenPath, const std::function<void(int)> &progress)
{
    const auto step = [&progress](int value) {
        if (progress)
            progress(value);
    };
    CsvOutcome outcome;
    const QString checkName = CsvNaming::csvPathFor(chosenPath);
    outcome.csvPath = chosenPath;

    int number = 0;
    QString reason;
    const std::unique_ptr<PdbDatabase> database =
        document.openStored(document.CurrentPath(), &number, &reason);
    if (!database) {
        outcome.message =
            databaseOpenError(number, reason,
                              QStringLiteral("Error opening database.  Ensure this a ") + appName +
                                  QStringLiteral(" Database."));
        return outcome;
    }

    QFile check(checkName);
    if (!check.open(QIODevice::ReadOnly)) {
        outcome.message = openCsvError();
        return outcome;
    }
    check.close();

    // The chosen file is what is read, as the check name only guards it.
    QFile chosen(chosenPath);
    if (!QFileInfo(chosenPath).isFile() || !chosen.open(QIODevice::ReadOnly)) {
        outcome.message = openCsvError();
        return outcome;
    }
    const QString text = CsvReader::decode(chosen.readAll());
    chosen.close();
    step(20);

    GridModel &grid = document.model();
    CsvImporter importer(grid, database->Fields(), CsvRegionalFormat(),
                         QFileInfo(chosenPath).absolutePath());
    switch (importer.read(text)) {
    case CsvImporter::Status::Ok:
        break;
    case CsvImporter::Status::NotExportLayout:
        outcome.message = QStringLiteral("The file ") + QDir::toNativeSeparators(chosenPath) +
                          QStringLiteral(" cannot be imported: it needs a line of captions, "
                                         "then a line naming fields of this database, as "
                                         "Export CSV writes them. The table is unchanged.");
        return outcome;
    case CsvImporter::Status::TooManyRecords:
        outcome.message = QStringLiteral("The file ") + QDir::toNativeSeparators(chosenPath) +
                          QStringLiteral(" holds more than %1 records, more than a database "
                                         "can hold. The table is unchanged.")
                              .arg(PdbLayout::maxRecords);
        return outcome;
    case CsvImporter::Status::UnreadableCell:
        outcome.message = QStringLiteral("The file ") + QDir::toNativeSeparators(chosenPath) +
                          QStringLiteral(" cannot be imported. ") + importer.problem() +
                          QStringLiteral(" The table is unchanged.");
        return outcome;
    }

    step(70);
    // The import replaces the records: fields the file does not carry would
    // be emptied in every one of them.
    const QStringList missing = importer.missingFields();
    if (!missing.isEmpty()) {
        const int answer = prompter.message(
            QStringLiteral("%1 field(s) of the database are not in the file and will be "
                           "emptied: %2. Import anyway?")
                .arg(missing.size())
                .arg(missing.join(QStringLiteral(", "))),
            Prompter::Buttons::YesNo, Prompter::Icon::Question);
        if (answer != Prompter::Yes) {
            outcome.message = QStringLiteral("Nothing was imported. The table is unchanged.");
            return outcome;
        }
    }

    document.editor().replaceRows(importer.rows(), QStringLiteral("Import CSV"));
    step(100);

    outcome.ok = true;
    outcome.recordLines = int(importer.rows().size());
    outcome.message = QDir::toNativeSeparators(checkName) + QStringLiteral(" Imported.") +
                      QLatin1Char('\r') + QString::number(importer.rows().size()) +
                      QStringLiteral(" record(s) Imported");
    return outcome;
}

} // namespace Ledgerly
