#pragma once

#include <QAbstractItemModel>

namespace Ledgerly {

class IniEditorDocument;

// Any INI file as the reader sees it: its sections, each with its keys and
// their values, editable in place as key = value.
class IniEntriesModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    enum Column { NameColumn, ValueColumn, ColumnCount };
    // The line (from 0) a section header or key stands on.
    static constexpr int LineRole = Qt::UserRole + 2;

    explicit IniEntriesModel(IniEditorDocument &document, QObject *parent = nullptr);

    // The section and key (-1 for the section itself) of an index.
    static int sectionOf(const QModelIndex &index);
    static int keyOf(const QModelIndex &index);
    // The index of the section header or key on that line; invalid for none.
    QModelIndex indexOfLine(int line) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

Q_SIGNALS:
    void refused(const QString &why);

private:
    IniEditorDocument &m_document;
};

} // namespace Ledgerly
