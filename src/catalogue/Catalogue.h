#pragma once

#include "CatalogueList.h"

namespace Ledgerly {

// The databases named in the schema file and the value look-up over one
// section's keys. Sectionslist and SectionListDBNam are parallel: entry i of
// each describes database i once BuildCatalogue has finished.
class Catalogue : public QObject
{
    Q_OBJECT
public:
    explicit Catalogue(QObject *parent = nullptr);

    CatalogueList Sectionslist;
    CatalogueList SectionListDBNam;
    CatalogueList Entrieslist;
    QString Value;
    QString ListextIndex1;
    QString FilenameF;
    QString DatabaseName1;

    // Selection handlers that rely on the pairing do nothing while this is false.
    bool isPaired() const { return Sectionslist.count() == SectionListDBNam.count(); }

    void BuildCatalogue();
    // Refills Entrieslist with the keys of the selected section (Value emptied).
    void fillEntries();
    // Entrieslist selection by position or by key text; each refreshes Value
    // and ListextIndex1 through the list's notification.
    void selectEntry(int position) { Entrieslist.select(position); }
    void selectEntry(const QString &key) { Entrieslist.selectText(key); }
    QString selectedSection() const { return Sectionslist.currentText(); }
    // ReadIniValue(selected section, key, FilenameF)
    QString readValue(const QString &key) const;

private:
    void onEntrySelected(int index);
};

} // namespace Ledgerly
