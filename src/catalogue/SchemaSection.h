#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace Ledgerly {

class IniDocument;

// One database's section of the schema file: its keys as listed when the
// database was chosen, and look-ups that read the values from the file each
// time (an edit to the schema shows at the next look-up).
//
// Key 0 is Databasename; keys 1..fieldCount() name the fields, in order, and
// each field's caption is the value of its own key. A field's role value
// (hide flag, "Calc" or "Group") is the value of the field's name + "Hide".
class SchemaSection
{
public:
    SchemaSection() = default;
    // Lists the section's keys now.
    SchemaSection(QString schemaFile, QString name);

    bool isNull() const { return m_name.isEmpty(); }
    const QString &name() const { return m_name; }
    const QString &schemaFile() const { return m_schemaFile; }

    const QStringList &keys() const;
    int keyCount() const { return m_keyCount; }
    // The number of fields the section describes (half-to-even rule).
    int fieldCount() const;
    // The key at position i (0 is Databasename); empty out of range.
    QString key(int i) const { return keys().value(i); }
    // The field names the section gives, keys 1..fieldCount().
    QStringList fieldNames() const;
    // Position of the first key equal to name, case ignored; -1 when none.
    int keyIndex(const QString &name) const;

    QString value(const QString &key) const;
    // The value of the key at position i: empty out of range.
    QString valueAt(int i) const;
    // The value of the field's own key; empty when the section lists no such key.
    QString caption(const QString &field) const;
    QString role(const QString &field) const;

private:
    QString m_schemaFile;
    QString m_name;
    // The file as it was when the keys were listed: a catalogue of hundreds
    // of sections counts every section's keys but names few of them, so the
    // names become strings only when asked for.
    std::shared_ptr<const IniDocument> m_document;
    int m_keyCount = 0;
    mutable QStringList m_keys;
    mutable bool m_keysNamed = false;
};

} // namespace Ledgerly
