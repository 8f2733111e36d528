#include "Catalogue.h"

#include "IniDocument.h"
#include "IniFile.h"

namespace Ledgerly {

Catalogue Catalogue::build(const QString &schemaFile)
{
    Catalogue catalogue;
    catalogue.m_schemaFile = schemaFile;
    const std::shared_ptr<const IniDocument> document = readIniFile(schemaFile);
    catalogue.m_sections = listIniSections(*document);
    catalogue.m_displayNames.reserve(catalogue.m_sections.size());
    const QString key = QStringLiteral("Databasename");
    for (const QString &section : std::as_const(catalogue.m_sections))
        catalogue.m_displayNames.append(readIniValue(*document, section, key));
    return catalogue;
}

int Catalogue::indexOf(const QString &section) const
{
    for (int i = 0; i < m_sections.size(); ++i)
        if (m_sections.at(i).compare(section, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

SchemaSection Catalogue::schemaSection(int index) const
{
    if (index < 0 || index >= m_sections.size())
        return {};
    return SchemaSection(m_schemaFile, m_sections.at(index));
}

SchemaSection Catalogue::schemaSection(const QString &section) const
{
    return schemaSection(indexOf(section));
}

QStringList Catalogue::fields(const QString &section) const
{
    return schemaSection(section).fieldNames();
}

QString Catalogue::caption(const QString &section, const QString &field) const
{
    return schemaSection(section).caption(field);
}

QString Catalogue::role(const QString &section, const QString &field) const
{
    return schemaSection(section).role(field);
}

} // namespace Ledgerly
