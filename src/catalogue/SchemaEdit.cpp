#include "SchemaEdit.h"

#include "IniDocument.h"
#include "IniEdit.h"
#include "IniText.h"
#include "SchemaRules.h"

#include <QHash>

#include <algorithm>

namespace Ledgerly {

QString roleValue(FieldRole role)
{
    switch (role) {
    case FieldRole::Shown:
        return QStringLiteral("False");
    case FieldRole::Hidden:
        break;
    case FieldRole::Group:
        return QStringLiteral("Group");
    case FieldRole::Calc:
        return QStringLiteral("Calc");
    }
    return QStringLiteral("True");
}

QString roleName(FieldRole role)
{
    switch (role) {
    case FieldRole::Shown:
        return QStringLiteral("Shown");
    case FieldRole::Hidden:
        break;
    case FieldRole::Group:
        return QStringLiteral("Group");
    case FieldRole::Calc:
        return QStringLiteral("Calc");
    }
    return QStringLiteral("Hidden");
}

namespace SchemaEdit {

namespace {

SchemaDatabase database(const IniText &text, int section)
{
    return SchemaDatabase::read(text.document(), section);
}

QStringList fieldNames(const SchemaDatabase &db)
{
    QStringList names;
    for (const SchemaField &field : db.fields)
        names << field.name;
    return names;
}

// A change to the keys is kept only when the section then reads as the
// fields it was meant to give.
QString keptIfRead(IniText &text, const IniText &before, int section, const QStringList &expected)
{
    if (fieldNames(database(text, section)) == expected)
        return {};
    text = before;
    return QStringLiteral("The keys of [%1] are not in the order the program reads them, so this "
                          "change would make it read other fields. Choose Put Keys in Order "
                          "first.")
        .arg(text.document().sectionNames().at(section));
}

QString newFieldProblem(const IniText &text, const SchemaDatabase &db, const QString &name,
                        int except = -1)
{
    if (QString problem = text.keyNameProblem(name); !problem.isEmpty())
        return problem;
    if (QString problem = text.keyNameProblem(SchemaDatabase::roleKey(name)); !problem.isEmpty())
        return problem;
    const QString role = SchemaDatabase::roleKey(name);
    for (int i = 0; i < db.keys.size(); ++i) {
        const QString &key = db.keys.at(i);
        const bool own = except >= 0 && (key == db.fields.at(except).name ||
                                         key == SchemaDatabase::roleKey(db.fields.at(except).name));
        if (own)
            continue;
        if (key.compare(name, Qt::CaseInsensitive) == 0 ||
            key.compare(role, Qt::CaseInsensitive) == 0 ||
            SchemaDatabase::roleKey(key).compare(name, Qt::CaseInsensitive) == 0)
            return QStringLiteral("[%1] already has a key \"%2\"").arg(db.name, key);
    }
    return {};
}

} // namespace

QString setDisplayName(IniText &text, int section, const QString &name)
{
    if (QString problem = text.valueProblem(name); !problem.isEmpty())
        return problem;
    const SchemaDatabase db = database(text, section);
    if (db.displayNameLine >= 0)
        text.setValue(db.displayNameLine, name);
    else
        text.insertLines(db.headerLine + 1,
                         {IniText::entryLine(QStringLiteral("Databasename"), name)});
    return {};
}

QString setCaption(IniText &text, int section, int field, const QString &caption)
{
    if (QString problem = text.valueProblem(caption); !problem.isEmpty())
        return problem;
    text.setValue(database(text, section).fields.at(field).captionLine, caption);
    return {};
}

QString setRole(IniText &text, int section, int field, FieldRole role)
{
    const SchemaDatabase db = database(text, section);
    const SchemaField &f = db.fields.at(field);
    if (f.roleLine >= 0) {
        // The program's own word stays as it was written ("false" too); any
        // other value that merely reads so ("0") becomes that word.
        if (f.role.trimmed().compare(roleValue(role), Qt::CaseInsensitive) != 0)
            text.setValue(f.roleLine, roleValue(role));
        return {};
    }
    const IniText before = text;
    text.insertLines(IniEdit::endOfSection(text, section),
                     {IniText::entryLine(SchemaDatabase::roleKey(f.name), roleValue(role))});
    return keptIfRead(text, before, section, fieldNames(db));
}

QString addField(IniText &text, int section, int at, const QString &name, const QString &caption,
                 FieldRole role)
{
    const SchemaDatabase db = database(text, section);
    if (QString problem = newFieldProblem(text, db, name); !problem.isEmpty())
        return problem;
    if (QString problem = text.valueProblem(caption); !problem.isEmpty())
        return problem;
    const IniText before = text;
    int captionAt = db.displayNameLine >= 0 ? db.displayNameLine + 1 : db.headerLine + 1;
    if (at < db.fields.size())
        captionAt = db.fields.at(at).captionLine;
    else if (!db.fields.isEmpty())
        captionAt = db.fields.last().captionLine + 1;
    text.insertLines(captionAt, {IniText::entryLine(name, caption)});

    int roleAt = captionAt + 1;
    for (const SchemaField &f : database(text, section).fields)
        if (f.name != name)
            roleAt = std::max({roleAt, f.captionLine + 1, f.roleLine + 1});
    text.insertLines(roleAt, {IniText::entryLine(SchemaDatabase::roleKey(name), roleValue(role))});

    QStringList expected = fieldNames(db);
    expected.insert(qMin(at, int(expected.size())), name);
    return keptIfRead(text, before, section, expected);
}

QString renameField(IniText &text, int section, int field, const QString &name)
{
    const SchemaDatabase db = database(text, section);
    if (QString problem = newFieldProblem(text, db, name, field); !problem.isEmpty())
        return problem;
    const IniText before = text;
    const SchemaField &f = db.fields.at(field);
    text.renameKey(f.captionLine, name);
    if (f.roleLine >= 0)
        text.renameKey(f.roleLine, SchemaDatabase::roleKey(name));
    QStringList expected = fieldNames(db);
    expected[field] = name;
    return keptIfRead(text, before, section, expected);
}

QString removeField(IniText &text, int section, int field)
{
    const SchemaDatabase db = database(text, section);
    const IniText before = text;
    const SchemaField &f = db.fields.at(field);
    if (f.roleLine > f.captionLine)
        text.removeLines(f.roleLine, 1);
    text.removeLines(f.captionLine, 1);
    if (f.roleLine >= 0 && f.roleLine < f.captionLine)
        text.removeLines(f.roleLine, 1);
    QStringList expected = fieldNames(db);
    expected.removeAt(field);
    return keptIfRead(text, before, section, expected);
}

QString moveField(IniText &text, int section, int field, int to)
{
    SchemaDatabase db = database(text, section);
    if (to < 0 || to >= db.fields.size() || to == field)
        return {};
    const IniText before = text;
    QStringList expected = fieldNames(db);
    expected.move(field, to);
    const int step = to > field ? 1 : -1;
    for (int i = field; i != to; i += step) {
        const SchemaField &a = db.fields.at(i);
        const SchemaField &b = db.fields.at(i + step);
        text.swapLines(a.captionLine, b.captionLine);
        // Role keys may stand in any order; swapped too, they keep the
        // fields' order, as a person reading the file expects.
        if (a.roleLine >= 0 && b.roleLine >= 0)
            text.swapLines(a.roleLine, b.roleLine);
        db = database(text, section);
    }
    return keptIfRead(text, before, section, expected);
}

QString addDatabase(IniText &text, const QString &name, const QString &displayName,
                    const QList<NewField> &fields, int *section)
{
    if (!isSafeSectionName(name))
        return QStringLiteral("\"%1\" cannot be a file name, and the section's name is the name "
                              "of its database file")
            .arg(name);
    if (QString problem = text.valueProblem(displayName); !problem.isEmpty())
        return problem;
    QStringList lines{IniText::entryLine(QStringLiteral("Databasename"), displayName)};
    QStringList roles;
    QStringList expected;
    for (const NewField &field : fields) {
        if (QString problem = text.keyNameProblem(field.name); !problem.isEmpty())
            return QStringLiteral("Field \"%1\": %2").arg(field.name, problem);
        if (QString problem = text.valueProblem(field.caption); !problem.isEmpty())
            return QStringLiteral("Field \"%1\": %2").arg(field.name, problem);
        lines << IniText::entryLine(field.name, field.caption);
        roles << IniText::entryLine(SchemaDatabase::roleKey(field.name), roleValue(field.role));
        expected << field.name;
    }
    const IniText before = text;
    int added = -1;
    if (QString problem = IniEdit::addSection(text, name, lines + roles, &added);
        !problem.isEmpty())
        return problem;
    // Field names that clash with each other or with their role keys read
    // as other fields.
    const SchemaDatabase db = database(text, added);
    if (fieldNames(db) != expected || !db.inOrder) {
        text = before;
        return QStringLiteral("The field names of [%1] clash (a name repeats, or one is another's "
                              "role key), so the program would read other fields")
            .arg(name);
    }
    if (section)
        *section = added;
    return {};
}

QString renameDatabase(IniText &text, int section, const QString &name)
{
    if (!isSafeSectionName(name))
        return QStringLiteral("\"%1\" cannot be a file name, and the section's name is the name "
                              "of its database file")
            .arg(name);
    return IniEdit::renameSection(text, section, name);
}

QString removeDatabase(IniText &text, int section)
{
    return IniEdit::removeSection(text, section);
}

QString putKeysInOrder(IniText &text, int section)
{
    const IniText before = text;
    const IniDocument &doc = before.document();
    const QStringList names = doc.keyNames(section);
    const auto lineOf = [&](int key) { return before.lineText(doc.keyLine(section, key)); };

    int databaseName = -1;
    QList<int> captions;
    QHash<QString, int> roleOf; // folded field name -> key position
    QList<int> unread;
    QHash<QString, int> seen;
    for (int i = 0; i < names.size(); ++i) {
        const QString &name = names.at(i);
        const QString folded = name.toCaseFolded();
        const QString owner = SchemaDatabase::fieldOfRoleKey(name, names);
        const bool roleLike =
            name.size() > 4 && name.endsWith(QLatin1String("Hide"), Qt::CaseInsensitive);
        if (name.isEmpty() || seen.contains(folded) || (roleLike && owner.isEmpty()))
            unread << i;
        else if (databaseName < 0 &&
                 name.compare(QLatin1String("Databasename"), Qt::CaseInsensitive) == 0)
            databaseName = i;
        else if (!owner.isEmpty())
            roleOf.insert(owner.toCaseFolded(), i);
        else
            captions << i;
        seen.insert(folded, i);
    }

    QStringList ordered;
    ordered << (databaseName >= 0 ? lineOf(databaseName)
                                  : IniText::entryLine(QStringLiteral("Databasename"),
                                                       doc.sectionNames().at(section)));
    QStringList fields;
    for (int i : std::as_const(captions)) {
        ordered << lineOf(i);
        fields << names.at(i);
    }
    for (const QString &field : std::as_const(fields)) {
        const QString folded = field.toCaseFolded();
        const int role = roleOf.contains(folded) ? roleOf.take(folded) : -1;
        ordered << (role >= 0 ? lineOf(role)
                              : IniText::entryLine(SchemaDatabase::roleKey(field),
                                                   roleValue(FieldRole::Hidden)));
    }
    // Role keys of a key that is no field (Databasename's own) are not read
    // either; every line of the section stays in the file.
    for (int role : std::as_const(roleOf))
        unread << role;
    std::sort(unread.begin(), unread.end());
    for (int i : std::as_const(unread))
        ordered << QStringLiteral("; ") + lineOf(i);

    QList<int> slots;
    for (int i = 0; i < names.size(); ++i)
        slots << doc.keyLine(section, i);
    const int after = slots.isEmpty() ? doc.sectionLine(section) + 1 : slots.last() + 1;
    for (int i = 0; i < slots.size(); ++i)
        text.replaceLine(slots.at(i), ordered.at(i));
    text.insertLines(after, ordered.mid(slots.size()));
    return keptIfRead(text, before, section, fields);
}

} // namespace SchemaEdit

} // namespace Ledgerly
