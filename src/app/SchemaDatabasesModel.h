#pragma once

#include <QAbstractTableModel>

namespace Ledgerly {

class IniEditorDocument;

// The sections of a schema file as databases: section name and the name the
// chooser shows, both editable in place. Every section is listed, repeated
// ones too, so that each can be changed or removed.
class SchemaDatabasesModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { SectionColumn, DisplayNameColumn, ColumnCount };

    explicit SchemaDatabasesModel(IniEditorDocument &document, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

Q_SIGNALS:
    // An edit the document refused, and why.
    void refused(const QString &why);

private:
    IniEditorDocument &m_document;
};

} // namespace Ledgerly
