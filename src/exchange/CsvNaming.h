#pragma once

#include <QString>

namespace Ledgerly::CsvNaming {

// The CSV file written or checked for a chosen path: every ".pdb" in it,
// in any letter case and also inside folder names, becomes ".csv", so that
// choosing a database file by mistake never overwrites or reads it as CSV.
QString csvPathFor(const QString &chosenPath);

// The chosen file's folder with a trailing separator, and its bare name with
// extension; bitmaps of an export are named from these, not from the renamed
// CSV path.
QString folderPrefix(const QString &chosenPath);
QString fileTitle(const QString &chosenPath);

// The bitmap written for a picture of record `record` (from 1):
// prefix + title + record + ".bmp". A second or later picture field of the
// same record adds "_" + its position (from 1) so that it does not overwrite
// the first one's file; pass 0 for the first picture field.
QString bitmapPath(const QString &prefix, const QString &title, int record, int laterField = 0);

} // namespace Ledgerly::CsvNaming
