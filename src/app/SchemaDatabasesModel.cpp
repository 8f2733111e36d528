#include "SchemaDatabasesModel.h"

#include "IniEditorDocument.h"
#include "catalogue/IniDocument.h"
#include "catalogue/IniFile.h"
#include "catalogue/SchemaEdit.h"

namespace Ledgerly {

SchemaDatabasesModel::SchemaDatabasesModel(IniEditorDocument &document, QObject *parent)
    : QAbstractTableModel(parent)
    , m_document(document)
{
    connect(&m_document, &IniEditorDocument::textChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int SchemaDatabasesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_document.text().document().sectionCount();
}

int SchemaDatabasesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SchemaDatabasesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const IniDocument &doc = m_document.text().document();
    if (index.column() == SectionColumn)
        return doc.sectionNames().at(index.row());
    return readIniValueAt(doc, index.row(), QStringLiteral("Databasename"));
}

QVariant SchemaDatabasesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == SectionColumn ? QStringLiteral("Section") : QStringLiteral("Display Name");
}

Qt::ItemFlags SchemaDatabasesModel::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.isValid() ? flags | Qt::ItemIsEditable : flags;
}

bool SchemaDatabasesModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || data(index, role) == value)
        return false;
    const int section = index.row();
    const QString text = value.toString();
    const bool rename = index.column() == SectionColumn;
    const QString why = m_document.apply(
        rename ? QStringLiteral("Rename Database") : QStringLiteral("Change Display Name"),
        [&](IniText &t) {
            return rename ? SchemaEdit::renameDatabase(t, section, text)
                          : SchemaEdit::setDisplayName(t, section, text);
        },
        {section, -1, -1});
    if (!why.isEmpty())
        Q_EMIT refused(why);
    return why.isEmpty();
}

} // namespace Ledgerly
