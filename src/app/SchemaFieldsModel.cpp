#include "SchemaFieldsModel.h"

#include "IniEditorDocument.h"
#include "catalogue/IniDocument.h"
#include "catalogue/SchemaEdit.h"

namespace Ledgerly {

namespace {

const QList<FieldRole> allRoles = {FieldRole::Shown, FieldRole::Hidden, FieldRole::Group,
                                   FieldRole::Calc};

} // namespace

SchemaFieldsModel::SchemaFieldsModel(IniEditorDocument &document, QObject *parent)
    : QAbstractTableModel(parent)
    , m_document(document)
{
    connect(&m_document, &IniEditorDocument::textChanged, this, &SchemaFieldsModel::reload);
}

void SchemaFieldsModel::setSection(int section)
{
    m_section = section;
    reload();
}

void SchemaFieldsModel::reload()
{
    beginResetModel();
    const IniDocument &doc = m_document.text().document();
    if (m_section >= doc.sectionCount())
        m_section = -1;
    m_database = m_section >= 0 ? SchemaDatabase::read(doc, m_section) : SchemaDatabase();
    endResetModel();
}

int SchemaFieldsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_database.fields.size());
}

int SchemaFieldsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SchemaFieldsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const SchemaField &field = m_database.fields.at(index.row());
    if (role == ChoicesRole && index.column() == RoleColumn) {
        QStringList names;
        for (FieldRole r : allRoles)
            names << roleName(r);
        return names;
    }
    if (role == Qt::ToolTipRole && index.column() == RoleColumn)
        return field.roleLine < 0
                   ? QStringLiteral("No %1 key: the column is hidden")
                         .arg(SchemaDatabase::roleKey(field.name))
                   : QStringLiteral("%1=%2").arg(SchemaDatabase::roleKey(field.name), field.role);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case NameColumn:
        return field.name;
    case CaptionColumn:
        return field.caption;
    default:
        return roleName(fieldRole(field.role));
    }
}

QVariant SchemaFieldsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    static const QStringList titles = {QStringLiteral("Field"), QStringLiteral("Caption"),
                                       QStringLiteral("Role")};
    return titles.value(section);
}

Qt::ItemFlags SchemaFieldsModel::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.isValid() ? flags | Qt::ItemIsEditable : flags;
}

bool SchemaFieldsModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    // A role shown as the one chosen may still be written in other words
    // ("0" for Shown); choosing it writes the program's own word.
    if (!index.isValid() || role != Qt::EditRole ||
        (index.column() != RoleColumn && data(index, role) == value))
        return false;
    const int section = m_section;
    const int field = index.row();
    const QString text = value.toString();
    QString why;
    const IniEditorDocument::Focus focus{section, field, -1};
    switch (index.column()) {
    case NameColumn:
        why = m_document.apply(
            QStringLiteral("Rename Field"),
            [&](IniText &t) { return SchemaEdit::renameField(t, section, field, text); }, focus);
        break;
    case CaptionColumn:
        why = m_document.apply(
            QStringLiteral("Change Caption"),
            [&](IniText &t) { return SchemaEdit::setCaption(t, section, field, text); }, focus);
        break;
    default: {
        const auto found = std::find_if(allRoles.begin(), allRoles.end(), [&](FieldRole r) {
            return roleName(r).compare(text, Qt::CaseInsensitive) == 0;
        });
        if (found == allRoles.end()) {
            why = QStringLiteral("A role is Shown, Hidden, Group or Calc, not \"%1\"").arg(text);
            break;
        }
        why = m_document.apply(
            QStringLiteral("Change Role"),
            [&](IniText &t) { return SchemaEdit::setRole(t, section, field, *found); }, focus);
    }
    }
    if (!why.isEmpty())
        Q_EMIT refused(why);
    return why.isEmpty();
}

} // namespace Ledgerly
