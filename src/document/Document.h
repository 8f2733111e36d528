#pragma once

#include "catalogue/SchemaSection.h"
#include "grid/GridModel.h"

#include <functional>
#include <memory>

namespace Ledgerly {

class PdbDatabase;
class PdbRecord;
class PdbRecordStream;
class RecordServer;
class TableEditor;

// The open database: its file's object model, the table that shows it and
// the schema section that describes it, with the steps that move records
// between them. Failures throw PdbError; what to tell the person is the
// caller's business.
class Document
{
public:
    explicit Document(RecordServer &server);
    ~Document();
    Document(const Document &) = delete;
    Document &operator=(const Document &) = delete;

    GridModel &model() { return m_model; }
    // Every change a person makes to the table goes through the editor, so
    // it can be undone; loading and saving empty its history.
    TableEditor &editor() { return *m_editor; }
    const GridModel &model() const { return m_model; }
    PdbDatabase *database() const { return m_database.get(); }
    const SchemaSection &schema() const { return m_schema; }
    void setSchema(SchemaSection schema) { m_schema = std::move(schema); }
    // True only when the open database was loaded into the table completely;
    // nothing may be saved over a file whose load did not complete.
    bool loadCompleted() const { return m_loadCompleted; }

    // The file the open database was read from and is saved to; empty when
    // none is open.
    const QString &CurrentPath() const { return m_path; }
    // The table holds changes its file does not: any change since the last
    // load or save that was not undone again.
    bool DatabaseEdited() const;

    // Opens the file, which becomes CurrentPath. When this throws, a
    // database already open stays open with its path, but no longer counts
    // as loaded completely: nothing is saved until a load completes again.
    void open(const QString &path, bool createIfMissing = false);
    // The open database into the table (a stored file, or a new one).
    void fillTable();
    void buildNewTable();

    // Writes the table into the database object and the object to path,
    // which then becomes CurrentPath; the table is then unedited.
    void save(const QString &path, const QString &blankPicturePath,
              const std::function<void(int)> &progress = {});
    // Empties the table of records; the file is untouched until a save.
    void clearRecords();
    // Replaces the table's rows, as one step a person can undo, with rows
    // that show the given records (built for this database's fields, as an
    // import builds them). The records join the ones rows read from, so the
    // rows hold no cells of their own and an undo finds the rows it brings
    // back; the file is untouched until a save.
    void replaceRowsWithRecords(QList<PdbRecord> records, const QString &text);
    // Forgets the database and empties the table, columns included.
    void close();

    void unHideColumns();
    void hideColumns();
    // The open table's captions and roles from a changed schema section.
    void applySchema(SchemaSection schema);

    // The open file as stored (unsaved edits are not in it), every record
    // checked, to be read front to back without holding the file; null when
    // it cannot be read, with the error's number and text in *number and
    // *reason when given.
    std::unique_ptr<PdbRecordStream> openStoredRecords(int *number = nullptr,
                                                       QString *reason = nullptr) const;

private:
    void markUnedited();

    RecordServer &m_server;
    GridModel m_model;
    std::unique_ptr<TableEditor> m_editor;
    SchemaSection m_schema;
    std::shared_ptr<PdbDatabase> m_database; // shared with the rows that read from it
    QString m_path;
    bool m_loadCompleted = false;
    // An edit made straight on the model (not through the editor) has no
    // undo step to make the history unclean.
    bool m_editedOutsideHistory = false;
};

} // namespace Ledgerly
