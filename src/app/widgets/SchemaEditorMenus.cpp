// The schema editor's menus and which of their commands can run now.
#include "SchemaEditor.h"

#include "app/SchemaFieldsModel.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>

namespace Ledgerly {

QAction *SchemaEditor::addAction(QMenu *menu, const QString &name, const QString &text,
                                 const QKeySequence &shortcut, void (SchemaEditor::*slot)())
{
    QAction *action = menu->addAction(text);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [this, slot] { (this->*slot)(); });
    return action;
}

void SchemaEditor::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    addAction(file, QStringLiteral("actionOpen"), QStringLiteral("&Open..."), QKeySequence::Open,
              &SchemaEditor::openCommand);
    addAction(file, QStringLiteral("actionAdopt"), QStringLiteral("New from &Database File..."), {},
              &SchemaEditor::newFromDatabaseFile);
    file->addSeparator();
    QAction *save = file->addAction(QStringLiteral("&Save"));
    save->setObjectName(QStringLiteral("actionSave"));
    save->setShortcut(QKeySequence::Save);
    connect(save, &QAction::triggered, this, [this] { saveCommand(); });
    QAction *saveAs = file->addAction(QStringLiteral("Save &As..."));
    saveAs->setObjectName(QStringLiteral("actionSaveAs"));
    connect(saveAs, &QAction::triggered, this, [this] { saveAsCommand(); });
    file->addSeparator();
    QAction *closeAction = file->addAction(QStringLiteral("&Close"));
    closeAction->setObjectName(QStringLiteral("actionClose"));
    closeAction->setShortcut(QKeySequence::Close);
    connect(closeAction, &QAction::triggered, this, &QWidget::close);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    QAction *undo = m_document.undoStack().createUndoAction(this, QStringLiteral("&Undo"));
    undo->setObjectName(QStringLiteral("actionUndo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction *redo = m_document.undoStack().createRedoAction(this, QStringLiteral("&Redo"));
    redo->setObjectName(QStringLiteral("actionRedo"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence::Redo});
    edit->addAction(undo);
    edit->addAction(redo);

    QMenu *databases = menuBar()->addMenu(QStringLiteral("&Database"));
    databases->setObjectName(QStringLiteral("menuDatabase"));
    addAction(databases, QStringLiteral("actionAddDatabase"), QStringLiteral("&Add Database..."),
              {}, &SchemaEditor::addDatabase);
    addAction(databases, QStringLiteral("actionRenameDatabase"),
              QStringLiteral("&Rename Database..."), {}, &SchemaEditor::renameDatabase);
    addAction(databases, QStringLiteral("actionDeleteDatabase"), QStringLiteral("&Delete Database"),
              {}, &SchemaEditor::deleteDatabase);
    databases->addSeparator();
    addAction(databases, QStringLiteral("actionAddField"), QStringLiteral("Add &Field..."),
              QKeySequence(Qt::CTRL | Qt::Key_N), &SchemaEditor::addField);
    addAction(databases, QStringLiteral("actionEditField"), QStringLiteral("&Edit Field..."),
              QKeySequence(Qt::CTRL | Qt::Key_E), &SchemaEditor::editField);
    addAction(databases, QStringLiteral("actionDeleteField"), QStringLiteral("De&lete Field"), {},
              &SchemaEditor::deleteField);
    QAction *up = databases->addAction(QStringLiteral("Move Field &Up"));
    up->setObjectName(QStringLiteral("actionMoveUp"));
    up->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Up));
    connect(up, &QAction::triggered, this, [this] { moveField(-1); });
    QAction *down = databases->addAction(QStringLiteral("Move Field Dow&n"));
    down->setObjectName(QStringLiteral("actionMoveDown"));
    down->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
    connect(down, &QAction::triggered, this, [this] { moveField(1); });
    databases->addSeparator();
    addAction(databases, QStringLiteral("actionPutInOrder"), QStringLiteral("Put Keys in &Order"),
              {}, &SchemaEditor::putKeysInOrder);

    QMenu *entries = menuBar()->addMenu(QStringLiteral("E&ntries"));
    addAction(entries, QStringLiteral("actionAddSection"), QStringLiteral("Add &Section..."), {},
              &SchemaEditor::addSection);
    addAction(entries, QStringLiteral("actionAddEntry"), QStringLiteral("&Add Entry..."), {},
              &SchemaEditor::addEntry);
    addAction(entries, QStringLiteral("actionEditEntry"), QStringLiteral("&Edit Entry..."), {},
              &SchemaEditor::editEntry);
    addAction(entries, QStringLiteral("actionDeleteEntry"), QStringLiteral("&Delete Entry"), {},
              &SchemaEditor::deleteEntry);
}

QAction *SchemaEditor::action(const QString &name) const
{
    return findChild<QAction *>(name);
}

void SchemaEditor::updateActions()
{
    const bool schema = m_document.isSchema();
    const bool hasFile = !m_document.path().isEmpty();
    const bool database = schema && currentSection() >= 0;
    const bool field = database && currentField() >= 0;
    const bool entry = currentEntryKey() >= 0;
    const auto enable = [this](const char16_t *name, bool on) {
        if (QAction *a = action(QString::fromUtf16(name)))
            a->setEnabled(on);
    };
    enable(u"actionSave", hasFile);
    enable(u"actionSaveAs", hasFile);
    enable(u"actionAdopt", schema);
    enable(u"actionAddDatabase", schema);
    enable(u"actionRenameDatabase", database);
    enable(u"actionDeleteDatabase", database);
    enable(u"actionAddField", database);
    enable(u"actionPutInOrder", database);
    enable(u"actionEditField", field);
    enable(u"actionDeleteField", field);
    enable(u"actionMoveUp", field && currentField() > 0);
    enable(u"actionMoveDown", field && currentField() + 1 < m_fields->rowCount());
    enable(u"actionAddSection", hasFile);
    enable(u"actionAddEntry", currentEntrySection() >= 0);
    enable(u"actionEditEntry", entry);
    enable(u"actionDeleteEntry", currentEntrySection() >= 0);
}

} // namespace Ledgerly
