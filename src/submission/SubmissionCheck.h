#pragma once

#include <QString>
#include <QStringList>

class UserInteraction;

namespace store {
class TDM1;
}

namespace submission {

extern const QString kMissingItemsMessage;

// The items of the current registration that a submission file must hold and that are missing,
// each as its line ("･ 技術名称"). A classification level left open while its level above has no
// subdivisions is complete: its code (the code above followed by "00") is filled in on the way.
QStringList MissingSubmissionItems(store::TDM1& dm);

// The submission check: true when an item is missing, after one error box listing them all.
bool CheckSubmissionItems(store::TDM1& dm, UserInteraction& ui);

} // namespace submission
