// The schema editor's edit commands: databases and their fields, sections
// and their entries, each through the add/edit dialog where it needs words.
#include "IniEntryDialog.h"
#include "SchemaEditor.h"

#include "app/SchemaFieldsModel.h"
#include "catalogue/IniDocument.h"
#include "catalogue/IniEdit.h"
#include "common/Prompter.h"

namespace Ledgerly {

QString SchemaEditor::applyFromDialog(IniEntryDialog &dialog, const QString &description,
                                      const IniEditorDocument::Edit &edit, EditorFocus focus)
{
    // OK tries the very change on a copy, so a refusal is said while the
    // dialog still holds what was typed.
    dialog.setCheck([&] {
        IniText scratch = m_document.text();
        return edit(scratch);
    });
    if (!m_showDialog(dialog))
        return {};
    return m_document.apply(description, edit, focus);
}

void SchemaEditor::addDatabase()
{
    IniEntryDialog dialog(QStringLiteral("Add Database"), QStringLiteral("&Section:"),
                          QStringLiteral("&Display name:"), this);
    const int added = m_document.text().document().sectionCount();
    report(applyFromDialog(
        dialog, QStringLiteral("Add Database"),
        [&](IniText &t) { return SchemaEdit::addDatabase(t, dialog.name(), dialog.value(), {}); },
        {added, -1, -1}));
}

void SchemaEditor::renameDatabase()
{
    const int section = currentSection();
    if (section < 0)
        return;
    IniEntryDialog dialog(QStringLiteral("Rename Database"), QStringLiteral("&Section:"),
                          QStringLiteral("&Display name:"), this);
    const SchemaDatabase &db = m_fields->database();
    dialog.setName(db.name);
    dialog.setValue(db.displayName);
    report(applyFromDialog(dialog, QStringLiteral("Rename Database"),
                           [&](IniText &t) {
                               QString why;
                               if (dialog.name() != db.name)
                                   why = SchemaEdit::renameDatabase(t, section, dialog.name());
                               if (why.isEmpty() && dialog.value() != db.displayName)
                                   why = SchemaEdit::setDisplayName(t, section, dialog.value());
                               return why;
                           },
                           {section, -1, -1}));
}

void SchemaEditor::deleteDatabase()
{
    const int section = currentSection();
    if (section < 0)
        return;
    const QString name = m_fields->database().name;
    if (m_prompter.message(QStringLiteral("Delete the database [%1] from the schema? Its files "
                                          "stay where they are.")
                               .arg(name),
                           Prompter::Buttons::YesNo, Prompter::Icon::Question) != Prompter::Yes)
        return;
    report(m_document.apply(QStringLiteral("Delete Database"),
                            [&](IniText &t) { return SchemaEdit::removeDatabase(t, section); },
                            {qMax(0, section - 1), -1, -1}));
}

void SchemaEditor::addField()
{
    const int section = currentSection();
    if (section < 0)
        return;
    // A new field goes after the selected one, or last.
    const int at = currentField() >= 0 ? currentField() + 1 : m_fields->rowCount();
    IniEntryDialog dialog(QStringLiteral("Add Field"), QStringLiteral("&Field:"),
                          QStringLiteral("&Caption:"), this);
    dialog.setRoleShown(true);
    report(applyFromDialog(dialog, QStringLiteral("Add Field"),
                           [&](IniText &t) {
                               return SchemaEdit::addField(t, section, at, dialog.name(),
                                                           dialog.value(), dialog.role());
                           },
                           {section, at, -1}));
}

void SchemaEditor::editField()
{
    const int section = currentSection();
    const int field = currentField();
    if (section < 0 || field < 0)
        return;
    const SchemaField f = m_fields->database().fields.at(field);
    IniEntryDialog dialog(QStringLiteral("Edit Field"), QStringLiteral("&Field:"),
                          QStringLiteral("&Caption:"), this);
    dialog.setRoleShown(true);
    dialog.setName(f.name);
    dialog.setValue(f.caption);
    dialog.setRole(fieldRole(f.role));
    report(applyFromDialog(dialog, QStringLiteral("Edit Field"),
                           [&](IniText &t) {
                               QString why;
                               if (dialog.name() != f.name)
                                   why = SchemaEdit::renameField(t, section, field, dialog.name());
                               if (why.isEmpty() && dialog.value() != f.caption)
                                   why = SchemaEdit::setCaption(t, section, field, dialog.value());
                               if (why.isEmpty())
                                   why = SchemaEdit::setRole(t, section, field, dialog.role());
                               return why;
                           },
                           {section, field, -1}));
}

void SchemaEditor::deleteField()
{
    const int section = currentSection();
    const int field = currentField();
    if (section < 0 || field < 0)
        return;
    report(m_document.apply(QStringLiteral("Delete Field"),
                            [&](IniText &t) { return SchemaEdit::removeField(t, section, field); },
                            {section, qMax(0, field - 1), -1}));
}

void SchemaEditor::moveField(int step)
{
    const int section = currentSection();
    const int field = currentField();
    if (section < 0 || field < 0)
        return;
    report(m_document.apply(
        step < 0 ? QStringLiteral("Move Field Up") : QStringLiteral("Move Field Down"),
        [&](IniText &t) { return SchemaEdit::moveField(t, section, field, field + step); },
        {section, field + step, -1}));
}

void SchemaEditor::putKeysInOrder()
{
    const int section = currentSection();
    if (section < 0)
        return;
    report(m_document.apply(QStringLiteral("Put Keys in Order"),
                            [&](IniText &t) { return SchemaEdit::putKeysInOrder(t, section); },
                            {section, -1, -1}));
}

void SchemaEditor::addSection()
{
    IniEntryDialog dialog(QStringLiteral("Add Section"), QStringLiteral("&Section:"),
                          QStringLiteral("&First key:"), this);
    const int added = m_document.text().document().sectionCount();
    report(applyFromDialog(dialog, QStringLiteral("Add Section"),
                           [&](IniText &t) {
                               const QString key = dialog.value().trimmed();
                               if (!key.isEmpty())
                                   if (QString why = t.keyNameProblem(key); !why.isEmpty())
                                       return why;
                               return IniEdit::addSection(
                                   t, dialog.name(),
                                   key.isEmpty() ? QStringList()
                                                 : QStringList{IniText::entryLine(key, {})});
                           },
                           {added, -1, -1}));
}

void SchemaEditor::addEntry()
{
    const int section = currentEntrySection();
    if (section < 0)
        return;
    IniEntryDialog dialog(QStringLiteral("Add Entry"), QStringLiteral("&Key:"),
                          QStringLiteral("&Value:"), this);
    report(applyFromDialog(
        dialog, QStringLiteral("Add Entry"),
        [&](IniText &t) { return IniEdit::addKey(t, section, dialog.name(), dialog.value()); },
        {section, -1, IniEdit::endOfSection(m_document.text(), section)}));
}

void SchemaEditor::editEntry()
{
    const int section = currentEntrySection();
    const int key = currentEntryKey();
    if (key < 0)
        return;
    const IniDocument &doc = m_document.text().document();
    const QString name = doc.keyName(section, key).toString();
    const QString value = doc.keyValue(section, key).toString();
    const int line = doc.keyLine(section, key);
    IniEntryDialog dialog(QStringLiteral("Edit Entry"), QStringLiteral("&Key:"),
                          QStringLiteral("&Value:"), this);
    dialog.setName(name);
    dialog.setValue(value);
    report(applyFromDialog(dialog, QStringLiteral("Edit Entry"),
                           [&](IniText &t) {
                               QString why;
                               if (dialog.name() != name)
                                   why = IniEdit::renameKey(t, section, key, dialog.name());
                               if (why.isEmpty() && dialog.value() != value)
                                   why = IniEdit::setValue(t, section, key, dialog.value());
                               return why;
                           },
                           {section, -1, line}));
}

void SchemaEditor::deleteEntry()
{
    const int section = currentEntrySection();
    if (section < 0)
        return;
    const int key = currentEntryKey();
    if (key < 0) {
        const QString name = m_document.text().document().sectionNames().at(section);
        if (m_prompter.message(
                QStringLiteral("Delete the section [%1] with all its keys?").arg(name),
                Prompter::Buttons::YesNo, Prompter::Icon::Question) != Prompter::Yes)
            return;
        report(m_document.apply(QStringLiteral("Delete Section"),
                                [&](IniText &t) { return IniEdit::removeSection(t, section); },
                                {}));
        return;
    }
    report(m_document.apply(QStringLiteral("Delete Entry"),
                            [&](IniText &t) { return IniEdit::removeKey(t, section, key); },
                            {section, -1, m_document.text().document().sectionLine(section)}));
}

} // namespace Ledgerly
