#pragma once

#include <QString>

namespace Ledgerly::CsvNaming {

// The CSV file written or checked for a chosen path: every ".pdb" in its file
// name, in any letter case, becomes ".csv", so that choosing a database file
// by mistake never overwrites or reads it as CSV. Folder names are kept.
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

// The longest file name most file systems take, in bytes.
inline constexpr int maxFileNameBytes = 255;
// False when the name of some bitmap of an export of `records` records with
// `pictureFields` picture fields would be longer than a file name can be.
bool bitmapNamesFit(const QString &title, int records, int pictureFields);

} // namespace Ledgerly::CsvNaming
