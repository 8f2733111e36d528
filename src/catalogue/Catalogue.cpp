#include "Catalogue.h"

#include "IniDocument.h"
#include "IniFile.h"

#include <QFileInfo>

#include <algorithm>

namespace Ledgerly {

Catalogue Catalogue::build(const QString &schemaFile)
{
    Catalogue catalogue;
    catalogue.m_schemaFile = schemaFile;
    const std::shared_ptr<const IniDocument> document = readIniFile(schemaFile);
    catalogue.m_sections = listIniSections(*document);
    const QStringList &named = document->sectionNames();
    if (catalogue.m_sections.size() < named.size()) {
        catalogue.m_endedByEmptyName = named.at(catalogue.m_sections.size()).isEmpty();
        // A section without a name is no database; only the others are missed.
        for (const QString &left : named.sliced(catalogue.m_sections.size()))
            if (!left.isEmpty())
                catalogue.m_unlisted.append(left);
    }
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

bool Catalogue::isUnlisted(const QString &section) const
{
    return std::any_of(m_unlisted.cbegin(), m_unlisted.cend(), [&](const QString &name) {
        return name.compare(section, Qt::CaseInsensitive) == 0;
    });
}

QString Catalogue::unlistedMessage() const
{
    if (m_unlisted.isEmpty())
        return {};
    const QString why =
        m_endedByEmptyName
            ? QStringLiteral("a section with an empty name (\"[]\") ends the list of sections")
            : QStringLiteral("the list of section names holds at most %1 characters")
                  .arg(IniBufferSize);
    return QStringLiteral("%1 section(s) of %2 could not be listed, because %3; the first one "
                          "left out is \"%4\".")
        .arg(m_unlisted.size())
        .arg(QFileInfo(m_schemaFile).fileName(), why, m_unlisted.first());
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
