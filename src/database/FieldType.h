#pragma once

namespace Ledgerly {

// The type codes stored in a database's field block. They are file format:
// never renumber them. Codes outside this list are kept as opaque bytes.
enum FieldTypeCode : int {
    FieldText = 0,
    FieldYesNo = 1,
    FieldDate = 2,
    FieldTime = 3,
    FieldPicture = 5,
    FieldDateTime = 6,
};

} // namespace Ledgerly
