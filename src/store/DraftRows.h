#pragma once

#include "store/Draft.h"

namespace store {

class DataModule;

// The rows of the registration being edited, taken from the data module's tables in memory with
// their pending changes, and a draft's rows put back as pending changes; no table file is written.
namespace draftrows {

// The current registration's rows of every registration table (NT_TBL_MAIN first): a table of one
// row a registration as its current row with its pending change, the condition items and photo
// slots with the pending change of each item's or slot's view, the records of the dialogs and the
// breakdown as stored (a dialog writes its records when it is confirmed). Nothing is posted.
QList<TableRows> capture(const DataModule& dm);

// Puts the rows of a draft on the current registration as pending changes (edit or insert
// state), field by field where they differ: a No to the save question drops them again. The
// fields that tie the rows to the registration (REG_NO, the comparison's REC_ID) are left as they
// are, and so are the records of the dialogs and the breakdown.
void apply(DataModule& dm, const QList<TableRows>& tables);

} // namespace draftrows

} // namespace store
