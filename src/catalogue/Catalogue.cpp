#include "Catalogue.h"

#include "IniFile.h"

namespace Ledgerly {

Catalogue::Catalogue(QObject *parent)
    : QObject(parent)
{
    connect(&Entrieslist, &CatalogueList::selected, this, &Catalogue::onEntrySelected);
}

void Catalogue::BuildCatalogue()
{
    SectionListDBNam.clear();
    Sectionslist.clear();
    Entrieslist.clear();
    for (const QString &section : ListIniSections(FilenameF))
        Sectionslist.append(section);
    // Each entry is selected while the chooser is still shorter than the
    // section list, so handlers that rely on the pairing (opening a database)
    // see isPaired() false and stay idle during the build.
    for (int i = 0; i < Sectionslist.count(); ++i) {
        Sectionslist.select(i);
        DatabaseName1 =
            ReadIniValue(Sectionslist.item(i), QStringLiteral("Databasename"), FilenameF);
        // A section without a display name keeps its place as an empty entry.
        SectionListDBNam.append(DatabaseName1);
    }
}

void Catalogue::fillEntries()
{
    Entrieslist.clear();
    Value.clear();
    for (const QString &key : ListIniKeys(FilenameF, selectedSection()))
        Entrieslist.append(key);
}

QString Catalogue::readValue(const QString &key) const
{
    return ReadIniValue(selectedSection(), key, FilenameF);
}

void Catalogue::onEntrySelected(int index)
{
    // No selected entry reads an empty key name, which gives an empty Value.
    Value = ReadIniValue(selectedSection(), Entrieslist.currentText(), FilenameF);
    ListextIndex1 = QString::number(index);
}

} // namespace Ledgerly
