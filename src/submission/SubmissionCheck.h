#pragma once

#include "entry/InputCheck.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

class UserInteraction;

namespace store {
class DataModule;
}

namespace submission {

extern const QString kMissingItemsMessage;

// Reads a field of the registration being checked ("NT_TBL_MAIN", "TECH_TITLE").
using FieldText = std::function<QString(const QString& table, const QString& field)>;

// What the submission check reads, from the registration's fields and the data module's lookup
// tables. A classification level left open while its level above has no subdivisions is complete;
// the code it receives (the code above followed by "00") is added to `filledCodes` (code field →
// code) when given.
inputcheck::SubmissionValues submissionValues(store::DataModule& dm, const FieldText& text, QHash<QString, QString>* filledCodes = nullptr);

// The items of the current registration that a submission file must hold and that are missing,
// each as its line ("･ 技術名称"). A classification level left open while its level above has no
// subdivisions is complete: its code (the code above followed by "00") is filled in on the way.
QStringList MissingSubmissionItems(store::DataModule& dm);

// The submission check: true when an item is missing, after one error box listing them all.
bool CheckSubmissionItems(store::DataModule& dm, UserInteraction& ui);

// The photos the image rows of the current registration name that cannot be handed in (missing,
// not a whole GIF or JPEG picture, too large or too wide), each as its line: the slot, its title
// and why.
QStringList SubmissionPhotoProblems(store::DataModule& dm);
// The photo part of the submission check: true when a photo cannot be handed in, after one error
// box naming each such photo.
bool CheckSubmissionPhotos(store::DataModule& dm, UserInteraction& ui);

} // namespace submission
