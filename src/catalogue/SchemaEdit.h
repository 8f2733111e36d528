#pragma once

#include "SchemaDatabase.h"
#include "SchemaRules.h"

namespace Ledgerly {

class IniText;

// The role values the editor writes, the ones the program's own files use.
QString roleValue(FieldRole role); // "False", "True", "Group", "Calc"
QString roleName(FieldRole role);  // "Shown", "Hidden", "Group", "Calc"

// Changes to the databases of a schema file, in the terms the program reads
// it by. Fields are addressed by their position among the fields the section
// gives (SchemaDatabase::read), sections by their position in the file. A
// change that adds, removes, renames or moves keys checks that the section
// then reads as the intended fields; when it would not (the keys are not in
// the order the program reads them) it is refused and the text is left as
// it was. Each returns why it was refused, or an empty string.
namespace SchemaEdit {

QString setDisplayName(IniText &text, int section, const QString &name);
QString setCaption(IniText &text, int section, int field, const QString &caption);
// Writes the role's own value ("False", "True", "Group", "Calc") unless the
// role key already holds it, in any letter case.
QString setRole(IniText &text, int section, int field, FieldRole role);
// A new field at position `at` (the field count appends): its caption key
// after the captions before it, its role key after the other role keys.
QString addField(IniText &text, int section, int at, const QString &name, const QString &caption,
                 FieldRole role);
QString renameField(IniText &text, int section, int field, const QString &name);
QString removeField(IniText &text, int section, int field);
QString moveField(IniText &text, int section, int field, int to);

struct NewField
{
    QString name;
    QString caption;
    FieldRole role = FieldRole::Shown;
};
// A new section at the end of the file, keys in the order the program reads.
QString addDatabase(IniText &text, const QString &name, const QString &displayName,
                    const QList<NewField> &fields, int *section = nullptr);
QString renameDatabase(IniText &text, int section, const QString &name);
QString removeDatabase(IniText &text, int section);

// Rewrites the section's keys in the order the program reads them, from
// what they say: Databasename (added with the section's name when missing),
// the caption keys in their order, then each field's role key; a field
// without one gets "True", which is how a missing role key reads. Keys the
// program could not read as either (a repeated key, a role key of no field)
// are kept as comments. Lines are moved, never retyped.
QString putKeysInOrder(IniText &text, int section);

} // namespace SchemaEdit

} // namespace Ledgerly
