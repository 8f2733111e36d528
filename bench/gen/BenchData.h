#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace Ledgerly {

class PdbDatabase;

namespace Bench {

// The field count of the benchmark databases: every field kind, text most
// often, as real address and expense books mix them.
inline constexpr int BenchFieldCount = 20;

// A database of `records` records with the same content on every run: text
// of realistic, varying length (commas, quotes, line breaks and accents now
// and then), yes/no, dates, times, dates with time, and a small picture on
// one record in 1,000. Without pictures the picture field is left out: CSV
// export writes one bitmap file per record and picture field, which is
// measured apart from the plain table.
std::unique_ptr<PdbDatabase> makeBenchDatabase(int records, bool withPictures);

// The field names in order (also the caption keys of the schema section).
QStringList benchFieldNames(bool withPictures);

// A schema section for the benchmark database: Databasename, one caption and
// one role key per field.
QString benchSchemaSection(const QString &section, bool withPictures);

// A section of 120 keys standing for one of the many other databases a large
// catalogue names.
QString fillerSchemaSection(int number);

// The second data set: 20 text fields, every other one holding numbers
// (whole and decimal), as CSV in the export's layout. The database is made
// from it by the program's own import, as a person would fill one.
inline constexpr int TextFieldCount = 20;
QString textSchemaSection(const QString &section);
QByteArray textBenchCsv(int records);

} // namespace Bench
} // namespace Ledgerly
