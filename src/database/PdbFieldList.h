#pragma once

#include "FieldType.h"

#include <QList>
#include <QString>

namespace Ledgerly {

// One field definition: its name and stored type code.
struct PdbField
{
    QString Name;
    int Type = FieldText;
};

// The ordered field definitions of a database. Positions count from 0;
// names are matched without regard to case, like every name in this program.
class PdbFieldList
{
public:
    int Count() const { return int(m_fields.size()); }
    PdbField &Item(int index) { return m_fields[index]; }
    const PdbField &Item(int index) const { return m_fields.at(index); }
    bool Exists(const QString &name) const { return indexOf(name) >= 0; }
    int indexOf(const QString &name) const;
    void append(const PdbField &field) { m_fields.append(field); }
    void clear() { m_fields.clear(); }

private:
    QList<PdbField> m_fields;
};

} // namespace Ledgerly
