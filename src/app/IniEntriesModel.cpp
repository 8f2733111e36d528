#include "IniEntriesModel.h"

#include "IniEditorDocument.h"
#include "catalogue/IniDocument.h"
#include "catalogue/IniEdit.h"

namespace Ledgerly {

// A section's index carries no internal id; a key's carries its section + 1.
IniEntriesModel::IniEntriesModel(IniEditorDocument &document, QObject *parent)
    : QAbstractItemModel(parent)
    , m_document(document)
{
    connect(&m_document, &IniEditorDocument::textChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int IniEntriesModel::sectionOf(const QModelIndex &index)
{
    if (!index.isValid())
        return -1;
    return index.internalId() == 0 ? index.row() : int(index.internalId()) - 1;
}

int IniEntriesModel::keyOf(const QModelIndex &index)
{
    return index.isValid() && index.internalId() != 0 ? index.row() : -1;
}

QModelIndex IniEntriesModel::indexOfLine(int line) const
{
    const IniDocument &doc = m_document.text().document();
    for (int s = 0; s < doc.sectionCount(); ++s) {
        if (doc.sectionLine(s) == line)
            return index(s, 0);
        for (int k = 0; k < doc.keyCount(s); ++k)
            if (doc.keyLine(s, k) == line)
                return index(k, 0, index(s, 0));
    }
    return {};
}

QModelIndex IniEntriesModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, column, quintptr(0));
    return createIndex(row, column, quintptr(parent.row() + 1));
}

QModelIndex IniEntriesModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == 0)
        return {};
    return createIndex(int(child.internalId()) - 1, 0, quintptr(0));
}

int IniEntriesModel::rowCount(const QModelIndex &parent) const
{
    const IniDocument &doc = m_document.text().document();
    if (!parent.isValid())
        return doc.sectionCount();
    if (parent.internalId() != 0 || parent.column() != 0)
        return 0;
    return doc.keyCount(parent.row());
}

int IniEntriesModel::columnCount(const QModelIndex &) const
{
    return ColumnCount;
}

QVariant IniEntriesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const IniDocument &doc = m_document.text().document();
    const int section = sectionOf(index);
    const int key = keyOf(index);
    if (role == LineRole)
        return key < 0 ? doc.sectionLine(section) : doc.keyLine(section, key);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    if (key < 0)
        return index.column() == NameColumn ? QVariant(doc.sectionNames().at(section)) : QVariant();
    return index.column() == NameColumn ? doc.keyName(section, key).toString()
                                        : doc.keyValue(section, key).toString();
}

QVariant IniEntriesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == NameColumn ? QStringLiteral("Section / Key") : QStringLiteral("Value");
}

Qt::ItemFlags IniEntriesModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    if (index.isValid() && (keyOf(index) >= 0 || index.column() == NameColumn))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool IniEntriesModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || data(index, role) == value)
        return false;
    const int section = sectionOf(index);
    const int key = keyOf(index);
    const QString text = value.toString();
    const int line = data(index, LineRole).toInt();
    QString why;
    if (key < 0)
        why = m_document.apply(QStringLiteral("Rename Section"),
                               [&](IniText &t) { return IniEdit::renameSection(t, section, text); },
                               {section, -1, line});
    else if (index.column() == NameColumn)
        why =
            m_document.apply(QStringLiteral("Rename Key"),
                             [&](IniText &t) { return IniEdit::renameKey(t, section, key, text); },
                             {section, -1, line});
    else
        why = m_document.apply(QStringLiteral("Change Value"),
                               [&](IniText &t) { return IniEdit::setValue(t, section, key, text); },
                               {section, -1, line});
    if (!why.isEmpty())
        Q_EMIT refused(why);
    return why.isEmpty();
}

} // namespace Ledgerly
