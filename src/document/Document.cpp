#include "Document.h"

#include "ColumnSetup.h"
#include "DatabaseCreator.h"
#include "DatabaseLoader.h"
#include "DatabaseSaver.h"
#include "database/PdbDatabase.h"
#include "database/PdbError.h"
#include "database/PdbRecordStream.h"
#include "database/RecordServer.h"
#include "grid/TableEditor.h"

namespace Ledgerly {

Document::Document(RecordServer &server)
    : m_server(server)
    , m_editor(std::make_unique<TableEditor>(m_model))
{
    QObject::connect(&m_model, &GridModel::cellEdited, &m_model,
                     [this] { m_editedOutsideHistory = true; });
}

bool Document::DatabaseEdited() const
{
    return m_editedOutsideHistory || !m_editor->history().isClean();
}

void Document::markUnedited()
{
    m_editor->clear();
    m_editedOutsideHistory = false;
}

Document::~Document() = default;

void Document::open(const QString &path, bool createIfMissing)
{
    // Until the new table is filled, nothing may be saved over either file.
    m_loadCompleted = false;
    std::shared_ptr<PdbDatabase> opened =
        m_server.OpenDatabase(path, createIfMissing ? RecordServer::OpenMode::CreateIfMissing
                                                    : RecordServer::OpenMode::MustExist);
    m_database = std::move(opened);
    m_path = path;
}

void Document::fillTable()
{
    m_loadCompleted = false;
    DatabaseLoader::fillTable(m_model, m_database, m_schema);
    markUnedited();
    m_loadCompleted = true;
}

void Document::buildNewTable()
{
    m_loadCompleted = false;
    m_model.setStoredRows(nullptr);
    DatabaseCreator::buildTable(m_model, *m_database, m_schema);
    markUnedited();
    m_loadCompleted = true;
}

void Document::save(const QString &path, const QString &blankPicturePath,
                    const std::function<void(int)> &progress)
{
    DatabaseSaver saver(blankPicturePath);
    saver.writeTable(m_model, *m_database, progress);
    m_database->SaveAs(path);
    m_path = path;
    markUnedited();
}

void Document::clearRecords()
{
    m_model.removeAllRows();
}

void Document::replaceRowsWithRecords(QList<PdbRecord> records, const QString &text)
{
    PdbTable &table = m_database->Table();
    const int first = table.RecordCount();
    table.appendRecords(std::move(records));
    QList<GridRow> rows(table.RecordCount() - first);
    for (int r = 0; r < rows.size(); ++r)
        rows[r].sourceRecord = first + r;
    m_editor->replaceRows(std::move(rows), text);
}

void Document::close()
{
    m_model.removeAllRows();
    m_model.removeAllColumns();
    m_model.setStoredRows(nullptr);
    m_database.reset();
    m_path.clear();
    m_loadCompleted = false;
    markUnedited();
}

void Document::unHideColumns()
{
    ColumnSetup::UnHideColumns(m_model);
}

void Document::hideColumns()
{
    ColumnSetup::HideColumns(m_model);
}

void Document::applySchema(SchemaSection schema)
{
    m_schema = std::move(schema);
    if (m_database)
        ColumnSetup::applySchema(m_model, m_database->Table().FieldDefs(), m_schema);
}

std::unique_ptr<PdbRecordStream> Document::openStoredRecords(int *number, QString *reason) const
{
    try {
        return m_server.OpenStream(m_path);
    } catch (const PdbError &e) {
        if (number)
            *number = e.number();
        if (reason)
            *reason = e.message();
        return nullptr;
    }
}

} // namespace Ledgerly
