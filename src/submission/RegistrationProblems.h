#pragma once

#include "entry/InputCheck.h"

#include <QString>

#include <functional>

namespace store {
class DataModule;
}

// Every problem of a stored registration, by the rules of the save check and the submission
// check: for the list of problems and for checking a registration or a submission file from the
// command line without a screen.
namespace submission {

// The stored values of one registration.
struct StoredRegistration
{
    // The text of a field of the registration's row in a table ("NT_TBL_MAIN", "TECH_TITLE");
    // empty when the table has no such row or field.
    std::function<QString(const QString& table, const QString& field)> text;
    // The path of the photo file of a slot ("A" … "I"); empty when the slot has none.
    std::function<QString(const QString& letter)> photoPath;
};

// The registration of the data module's current main row.
StoredRegistration currentRegistration(store::DataModule& dm);

// The registration of a submission file extracted into `folder` (its table files and photos). The
// values stay readable as long as the returned object lives; the folder's files are read at once.
// False, with the reason, when the folder does not hold the table files of one registration.
bool extractedRegistration(const QString& folder, StoredRegistration* registration, QString* error);

// What the save check reads, as the entry pages would show the stored values.
inputcheck::ScreenValues storedScreenValues(store::DataModule& dm, const StoredRegistration& registration);

// Every problem of the registration. The data module supplies the lookup tables (classification,
// groups, evaluating bodies); nothing is changed.
QList<inputcheck::Problem> RegistrationProblems(store::DataModule& dm, const StoredRegistration& registration);

// Extracts a submission file into `folder`. False, with the reason, when it cannot be read.
bool ExtractSubmissionFile(const QString& path, const QString& folder, QString* error);

} // namespace submission
