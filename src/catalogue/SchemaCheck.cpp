#include "SchemaCheck.h"

#include "IniDocument.h"
#include "IniFile.h"
#include "IniText.h"
#include "SchemaDatabase.h"
#include "SchemaRules.h"

#include <QHash>

namespace Ledgerly {

namespace {

bool isKnownRole(const QString &role)
{
    for (const char *word : {"True", "False", "Group", "Calc"})
        if (role.trimmed().compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

class SectionCheck
{
public:
    SectionCheck(const IniDocument &doc, int section, QList<IniProblem> &problems)
        : m_doc(doc)
        , m_section(section)
        , m_db(SchemaDatabase::read(doc, section))
        , m_problems(problems)
    {}

    void run()
    {
        checkNames();
        if (m_db.keys.isEmpty())
            return;
        checkCount();
        checkOrder();
        checkFields();
    }

private:
    void add(int line, const QString &text) { m_problems.append({line, text}); }
    int lineOfKey(int i) const { return m_doc.keyLine(m_section, i); }

    void checkNames()
    {
        if (!isSafeSectionName(m_db.name))
            add(m_db.headerLine, QStringLiteral("Section name \"%1\" cannot be a file name: the "
                                                "window does not open its database")
                                     .arg(m_db.name));
        if (m_db.displayNameLine < 0)
            add(m_db.headerLine, QStringLiteral("[%1] has no Databasename: the database chooser "
                                                "shows an empty name")
                                     .arg(m_db.name));
        else if (!m_db.displayName.isEmpty() && !isSafeSectionName(m_db.displayName))
            add(m_db.displayNameLine,
                QStringLiteral("Databasename \"%1\" cannot be a file name").arg(m_db.displayName));
    }

    void checkCount()
    {
        const int count = int(m_db.keys.size());
        if (count % 2 == 0)
            add(m_db.headerLine,
                QStringLiteral("[%1] has %2 keys, but Databasename and two keys per field make "
                               "an odd number: the program reads %3 fields")
                    .arg(m_db.name)
                    .arg(count)
                    .arg(m_db.fields.size()));
    }

    void checkOrder()
    {
        const QString &first = m_db.keys.first();
        if (first.compare(QLatin1String("Databasename"), Qt::CaseInsensitive) != 0)
            add(lineOfKey(0), QStringLiteral("The first key of [%1] is \"%2\", not Databasename: "
                                             "the program skips it and reads the fields from "
                                             "the second key on")
                                  .arg(m_db.name, first));
        const int fields = int(m_db.fields.size());
        for (int i = 1; i < m_db.keys.size(); ++i) {
            const QString &key = m_db.keys.at(i);
            const QString owner = SchemaDatabase::fieldOfRoleKey(key, m_db.keys);
            if (i <= fields && !owner.isEmpty())
                add(lineOfKey(i), QStringLiteral("\"%1\" is read as field %2, but it is the role "
                                                 "key of \"%3\": role keys belong after every "
                                                 "caption key")
                                      .arg(key)
                                      .arg(i)
                                      .arg(owner));
            else if (i > fields && owner.isEmpty() && !isRoleKeyName(key))
                add(lineOfKey(i), QStringLiteral("\"%1\" comes after the keys read as fields, so "
                                                 "it is no field: caption keys belong before the "
                                                 "role keys")
                                      .arg(key));
            else if (owner.isEmpty() && isRoleKeyName(key))
                add(lineOfKey(i),
                    QStringLiteral("Role key \"%1\" has no field \"%2\"").arg(key, key.chopped(4)));
        }
    }

    void checkFields()
    {
        bool grouped = false;
        for (const SchemaField &field : std::as_const(m_db.fields)) {
            // A role key or Databasename read as a field was reported above.
            if (isRoleKeyName(field.name) ||
                field.name.compare(QLatin1String("Databasename"), Qt::CaseInsensitive) == 0)
                continue;
            if (field.roleLine < 0) {
                add(field.captionLine, QStringLiteral("Field \"%1\" has no role key \"%2\": its "
                                                      "column is hidden")
                                           .arg(field.name, SchemaDatabase::roleKey(field.name)));
            } else if (!isKnownRole(field.role)) {
                add(field.roleLine,
                    QStringLiteral("The role of \"%1\" is \"%2\", not True, False, "
                                   "Group or Calc: the column is %3")
                        .arg(field.name, field.role,
                             roleHidesColumn(field.role) ? QStringLiteral("hidden")
                                                         : QStringLiteral("shown")));
            }
            grouped = grouped || roleIsGroup(field.role);
            if (roleIsCalc(field.role) && !grouped)
                add(field.roleLine, QStringLiteral("\"%1\" is Calc, but no Group field comes "
                                                   "before it: its totals are never shown")
                                        .arg(field.name));
        }
    }

    static bool isRoleKeyName(const QString &key)
    {
        return key.size() > 4 && key.endsWith(QLatin1String("Hide"), Qt::CaseInsensitive);
    }

    const IniDocument &m_doc;
    int m_section;
    SchemaDatabase m_db;
    QList<IniProblem> &m_problems;
};

} // namespace

QList<IniProblem> checkSchemaFile(const IniText &text)
{
    QList<IniProblem> problems = checkIniFile(text);
    const IniDocument &doc = text.document();
    // Only the sections the catalogue lists are read; a repeated one never is.
    const int listed = int(listIniSections(doc).size());
    for (int s = 0; s < listed; ++s)
        if (doc.findSection(doc.sectionNames().at(s)) == s)
            SectionCheck(doc, s, problems).run();
    sortProblems(problems);
    return problems;
}

} // namespace Ledgerly
