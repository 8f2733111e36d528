#pragma once

namespace Ledgerly {

class GridModel;
class PdbDatabase;
class SchemaSection;

// The shape of a new database taken from the schema alone: the schema's
// fields added as text fields, their columns as any load makes them, and one
// empty row that a save writes as the first record.
namespace DatabaseCreator {

void buildTable(GridModel &grid, PdbDatabase &database, const SchemaSection &schema);

} // namespace DatabaseCreator

} // namespace Ledgerly
