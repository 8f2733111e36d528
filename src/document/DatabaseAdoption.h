#pragma once

#include "catalogue/SchemaEdit.h"
#include "common/SafeFile.h"

#include <QList>
#include <QPair>
#include <QString>

namespace Ledgerly {

class IniText;
class RecordServer;

// A database file the schema does not name yet, taken in: a section named
// after the file, a caption per field (the field's name), every field shown,
// and the database's own name as the name the chooser shows.
struct DatabaseAdoption
{
    QString file;
    QString section;
    QString displayName;
    QList<SchemaEdit::NewField> fields;

    // Reads the file's field definitions. Throws PdbError: 13 for a damaged
    // file, whose fields are never taken.
    static DatabaseAdoption read(RecordServer &server, const QString &file);

    // Gives the named field another caption; why not, when there is no such
    // field (case ignored).
    QString setCaption(const QString &field, const QString &caption);
    // Adds the section to the schema text; refuses a section name already
    // there (case ignored), or one that cannot be a file name.
    QString addTo(IniText &schema, int *added = nullptr) const;

    // The file the section's database is opened from for a user whose
    // HotSync folder is folder.
    QString pathIn(const QString &folder) const;
    bool isIn(const QString &folder) const;
    // Copies the file to pathIn(folder), checked to the last byte; never
    // over another file.
    SafeFile::Result copyTo(const QString &folder) const;
};

} // namespace Ledgerly
