#pragma once

#include <QString>

namespace store {
class DataModule;
}

namespace submission {

// What a copy of a registration leaves to do.
enum class CopyEnding {
    Saved,      // the copy is written to the data folder with its save time
    LeftNew,    // the copy's main row is left in insert state, its other rows appended but not
                // written: the entry pages show it as a new registration, which the save writes
                // and a discard removes whole
};

// "複製して新規作成": a new registration under the next local number holding everything of
// registration `regNo` — the rows of every table, the contacts numbered as an import numbers them,
// and the photos copied to files of the new number — except what identifies the registration or a
// submission of it (its number and comparison identifier, the national database's dates, the data
// version stamped by an export). The main table is left on the copy. False with the reason when
// there is no such registration, no number is left or a photo cannot be copied; nothing is then
// changed.
bool duplicateRegistration(store::DataModule& dm, const QString& regNo, CopyEnding ending, QString* newNumber, QString* error);

} // namespace submission
