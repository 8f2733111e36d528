#pragma once

#include "catalogue/SchemaDatabase.h"

#include <QAbstractTableModel>

namespace Ledgerly {

class IniEditorDocument;

// The fields of one schema section as the program reads them: name, caption
// and role, each editable in place (a new name renames the role key too).
class SchemaFieldsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { NameColumn, CaptionColumn, RoleColumn, ColumnCount };
    // The values an editor of the cell offers (the role names).
    static constexpr int ChoicesRole = Qt::UserRole + 1;

    explicit SchemaFieldsModel(IniEditorDocument &document, QObject *parent = nullptr);

    // The section whose fields are shown; -1 for none.
    void setSection(int section);
    int section() const { return m_section; }
    const SchemaDatabase &database() const { return m_database; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

Q_SIGNALS:
    void refused(const QString &why);

private:
    void reload();

    IniEditorDocument &m_document;
    int m_section = -1;
    SchemaDatabase m_database;
};

} // namespace Ledgerly
