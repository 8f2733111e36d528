#include "SchemaDatabase.h"

#include "IniDocument.h"
#include "IniFile.h"
#include "SchemaRules.h"

namespace Ledgerly {

namespace {

const QString databaseNameKey = QStringLiteral("Databasename");

bool hasDuplicates(const QStringList &names)
{
    for (int i = 1; i < names.size(); ++i)
        for (int j = 0; j < i; ++j)
            if (names.at(i).compare(names.at(j), Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

} // namespace

QString SchemaDatabase::roleKey(const QString &field)
{
    return field + QStringLiteral("Hide");
}

QString SchemaDatabase::fieldOfRoleKey(const QString &key, const QStringList &keys)
{
    static const QString suffix = QStringLiteral("Hide");
    if (key.size() <= suffix.size() || !key.endsWith(suffix, Qt::CaseInsensitive))
        return {};
    const QString field = key.chopped(suffix.size());
    for (const QString &other : keys)
        if (other.compare(field, Qt::CaseInsensitive) == 0)
            return other;
    return {};
}

SchemaDatabase SchemaDatabase::read(const IniDocument &document, int section)
{
    SchemaDatabase db;
    db.section = section;
    db.name = document.sectionNames().at(section);
    db.headerLine = document.sectionLine(section);
    db.keys = listIniKeysAt(document, section);
    db.displayName = readIniValueAt(document, section, databaseNameKey);
    const int nameKey = document.findKey(section, databaseNameKey);
    db.displayNameLine = nameKey >= 0 ? document.keyLine(section, nameKey) : -1;

    // As the loader takes them: keys 1..n, n by the field count rule.
    const int count = qMin(schemaFieldCount(int(db.keys.size())), int(db.keys.size()) - 1);
    for (int i = 1; i <= count; ++i) {
        SchemaField field;
        field.name = db.keys.at(i);
        field.caption = readIniValueAt(document, section, field.name);
        field.captionLine = document.keyLine(section, document.findKey(section, field.name));
        field.role = readIniValueAt(document, section, roleKey(field.name));
        const int role = document.findKey(section, roleKey(field.name));
        field.roleLine = role >= 0 ? document.keyLine(section, role) : -1;
        db.fields.append(field);
    }

    db.inOrder = db.keys.size() == document.keyCount(section) && db.keys.size() % 2 == 1 &&
                 db.keys.first().compare(databaseNameKey, Qt::CaseInsensitive) == 0 &&
                 !hasDuplicates(db.keys);
    // With no key twice and 2n + 1 keys, n role keys after the n fields fill
    // the second half exactly.
    for (int i = 0; db.inOrder && i < db.fields.size(); ++i)
        db.inOrder = document.findKey(section, roleKey(db.fields.at(i).name)) > count;
    return db;
}

} // namespace Ledgerly
