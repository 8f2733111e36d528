#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace Ledgerly {

class IniDocument;

// One field of a schema section as the program reads it, with the lines an
// edit of it touches (-1 for a key the section lacks).
struct SchemaField
{
    QString name;
    QString caption;
    QString role;
    int captionLine = -1;
    int roleLine = -1;
};

// One section of a schema file as the program reads it: the keys it lists,
// the fields they make by the field count rule, each field's caption and
// role. Built from the reader's own look-ups, so the editor shows exactly
// what the window will.
struct SchemaDatabase
{
    int section = -1; // position among the document's sections
    QString name;
    QString displayName;
    int headerLine = -1;
    int displayNameLine = -1;
    QStringList keys; // as the reader lists them
    QList<SchemaField> fields;
    // Databasename first, then the caption keys, then exactly one role key
    // per field, no key twice and none past the listing limit: what the
    // editor's own changes to the fields keep.
    bool inOrder = false;

    static SchemaDatabase read(const IniDocument &document, int section);

    // "<field>Hide": the key that holds a field's role.
    static QString roleKey(const QString &field);
    // The field a key is the role key of, when the key ends in "Hide" and
    // names of the keys hold that field; empty otherwise.
    static QString fieldOfRoleKey(const QString &key, const QStringList &keys);
};

} // namespace Ledgerly
