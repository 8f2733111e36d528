#pragma once

#include "SchemaSection.h"

#include <QString>
#include <QStringList>

namespace Ledgerly {

// The databases the schema file names: section i is shown in the database
// chooser as displayName(i). A value: build() reads the file once; look-ups
// into a section go through schemaSection().
class Catalogue
{
public:
    Catalogue() = default;
    // BuildCatalogue: every section of the schema file, each with its
    // Databasename (empty when it has none, keeping its place).
    static Catalogue build(const QString &schemaFile);

    const QString &schemaFile() const { return m_schemaFile; }
    int count() const { return int(m_sections.size()); }
    bool isEmpty() const { return m_sections.isEmpty(); }
    const QStringList &sections() const { return m_sections; }
    const QStringList &displayNames() const { return m_displayNames; }
    QString section(int index) const { return m_sections.value(index); }
    QString displayName(int index) const { return m_displayNames.value(index); }
    // Position of the section (case ignored); -1 when none.
    int indexOf(const QString &section) const;

    // Sections the schema file names that its listing cannot hold, in file
    // order: the list of section names keeps 4096 characters, and a section
    // with an empty name ends it. They are not in the catalogue, and whoever
    // shows the catalogue must say so.
    const QStringList &unlistedSections() const { return m_unlisted; }
    bool isUnlisted(const QString &section) const;
    // How many sections could not be listed, why, and the first of them;
    // empty when every section was listed.
    QString unlistedMessage() const;

    // The section's keys, listed now.
    SchemaSection schemaSection(int index) const;
    SchemaSection schemaSection(const QString &section) const;

    QStringList fields(const QString &section) const;
    QString caption(const QString &section, const QString &field) const;
    QString role(const QString &section, const QString &field) const;

private:
    QString m_schemaFile;
    QStringList m_sections;
    QStringList m_displayNames;
    QStringList m_unlisted;
    bool m_endedByEmptyName = false;
};

} // namespace Ledgerly
