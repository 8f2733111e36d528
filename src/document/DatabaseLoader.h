#pragma once

#include <memory>

namespace Ledgerly {

class GridModel;
class PdbDatabase;
class SchemaSection;

// Moves an open database into the table. The file has already been parsed
// once by RecordServer; everything here works from memory and fills the table
// with a single reset, and rows read their values from the records on demand.
namespace DatabaseLoader {

// Adds the schema's fields that the database lacks, as text fields. With
// countTest, nothing happens when the database already has exactly as many
// fields as the schema's unrounded (key count - 1) / 2.
void fieldPass(PdbDatabase &database, const SchemaSection &schema, bool countTest = true);

// Empties the table, adds a record to an empty database, completes its fields
// from the schema, makes one column per schema field and one row per record.
// Every record is loaded, up to the 65,535 the file format can hold.
void fillTable(GridModel &grid, const std::shared_ptr<PdbDatabase> &database,
               const SchemaSection &schema);

// The first steps of every fill: an empty table, a record in an empty
// database, and the schema's missing fields added.
void prepare(GridModel &grid, PdbDatabase &database, const SchemaSection &schema);

} // namespace DatabaseLoader

} // namespace Ledgerly
