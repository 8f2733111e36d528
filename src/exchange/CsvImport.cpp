#include "CsvImport.h"

#include "CsvImporter.h"
#include "CsvNaming.h"
#include "common/Prompter.h"
#include "common/SafeFile.h"
#include "database/PdbDatabase.h"
#include "database/PdbLayout.h"
#include "database/PdbRecordStream.h"
#include "document/Document.h"
#include "grid/TableEditor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>

namespace Ledgerly {

namespace {

const QString &openCsvError()
{
    static const QString text =
        QStringLiteral("Error Opening CSV file.  Check diskspace or read-only status.");
    return text;
}

QString cannotImport(const QString &path, const QString &why)
{
    return QStringLiteral("The file ") + QDir::toNativeSeparators(path) +
           QStringLiteral(" cannot be imported") + why + QStringLiteral(" The table is unchanged.");
}

// A folder, a device or a FIFO is no CSV file; a FIFO would not even let
// the open return until some writer came along.
QString notRegularFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return {};
    return cannotImport(path, info.isDir() ? QStringLiteral(": it is a folder, not a regular file.")
                                           : QStringLiteral(": it is a device or a pipe, not a "
                                                            "regular file."));
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

    // The kind of both files is known before anything is opened.
    for (const QString &path : {checkName, chosenPath}) {
        outcome.message = notRegularFile(path);
        if (!outcome.message.isEmpty())
            return outcome;
    }

    {
        int number = 0;
        QString reason;
        if (!document.openStoredRecords(&number, &reason)) {
            outcome.message =
                databaseOpenError(number, reason,
                                  QStringLiteral("Error opening database.  Ensure this a ") +
                                      appName + QStringLiteral(" Database."));
            return outcome;
        }
    }

    constexpr qint64 anySize = std::numeric_limits<qint64>::max();
    {
        QFile check;
        if (!SafeFile::openForReading(checkName, anySize, check, nullptr, nullptr)) {
            outcome.message = openCsvError();
            return outcome;
        }
    }
    // The chosen file is what is read, as the check name only guards it.
    QFile chosen;
    qint64 size = 0;
    QString why;
    if (!SafeFile::openForReading(chosenPath, anySize, chosen, &size, &why)) {
        outcome.message =
            why.contains(QStringLiteral("not a regular file"))
                ? cannotImport(chosenPath, QStringLiteral(": it is not a regular file."))
                : openCsvError();
        return outcome;
    }

    CsvImporter importer(document.database()->Fields(), CsvRegionalFormat(),
                         QFileInfo(chosenPath).absolutePath());
    const CsvImporter::Status status =
        importer.read(chosen, size, [&step](int share) { step(share * 9 / 10); });
    chosen.close();
    switch (status) {
    case CsvImporter::Status::Ok:
        break;
    case CsvImporter::Status::NotExportLayout:
        outcome.message =
            cannotImport(chosenPath, QStringLiteral(": it needs a line of captions, then a line "
                                                    "naming fields of this database, as Export "
                                                    "CSV writes them."));
        return outcome;
    case CsvImporter::Status::TooManyRecords:
        outcome.message = QStringLiteral("The file ") + QDir::toNativeSeparators(chosenPath) +
                          QStringLiteral(" holds more than %1 records, more than a database "
                                         "can hold. The table is unchanged.")
                              .arg(PdbLayout::maxRecords);
        return outcome;
    case CsvImporter::Status::UnreadableCell:
    case CsvImporter::Status::UnclosedQuote:
    case CsvImporter::Status::RecordTooLong:
    case CsvImporter::Status::ReadFailed:
        outcome.message = cannotImport(chosenPath, QStringLiteral(". ") + importer.problem());
        return outcome;
    }

    step(90);
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

    const int imported = importer.recordCount();
    document.replaceRowsWithRecords(importer.takeRecords(), QStringLiteral("Import CSV"));
    step(100);

    outcome.ok = true;
    outcome.recordLines = imported;
    outcome.emptyDatesAndTimes = importer.emptyDatesAndTimes();
    outcome.message = QDir::toNativeSeparators(checkName) + QStringLiteral(" Imported.") +
                      QLatin1Char('\r') + QString::number(imported) +
                      QStringLiteral(" record(s) Imported");
    return outcome;
}

QString emptyDatesAndTimesNote(int count, bool saved)
{
    if (count == 0)
        return {};
    return QLatin1Char('\r') + QString::number(count) +
           (saved ? QStringLiteral(" empty date(s) and time(s) were set to now")
                  : QStringLiteral(" empty date(s) and time(s) will be set to now when the "
                                   "database is saved"));
}

} // namespace Ledgerly
