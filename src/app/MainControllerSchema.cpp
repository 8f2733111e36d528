// The controller's answer to a schema file changed while the program runs.
#include "MainController.h"

namespace Ledgerly {

void MainController::schemaFileChanged()
{
    if (m_quitRequested)
        return;
    const QString open = m_openSection >= 0 ? m_catalogue.section(m_openSection) : QString();
    const QStringList fieldsBefore = m_document.schema().fieldNames();
    BuildCatalogue();

    const int index = open.isEmpty() ? -1 : m_catalogue.indexOf(open);
    if (index >= 0) {
        m_openSection = index;
        selectSection(index);
        SchemaSection schema = m_catalogue.schemaSection(index);
        // New or other fields need columns of their own; without unsaved
        // edits the table can simply be loaded again.
        if (schema.fieldNames() != fieldsBefore && !DatabaseEdited() && loadCompleted()) {
            m_document.setSchema(std::move(schema));
            const QString path = CurrentPath();
            LoadDatabase(path);
            return;
        }
        m_document.applySchema(std::move(schema));
        HideColumns();
        if (m_grouped)
            applyGrouping();
        return;
    }
    if (CurrentDatabase()) {
        // A save that fails keeps the table and its file open, so the edits
        // can still be saved; the chooser then shows no database.
        if (DatabaseEdited() && canSave() && !SaveDatabase()) {
            m_openSection = -1;
            return;
        }
        closeDatabase();
    }
    if (!m_catalogue.isEmpty())
        openSection(0);
}

} // namespace Ledgerly
