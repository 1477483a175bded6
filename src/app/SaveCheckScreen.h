#pragma once

#include "entry/InputCheck.h"

class QWidget;

namespace store {
class DataModule;
}

// The save check's side on the screen: what the entry pages show, gathered for the rules, and the
// way to the control of a failed rule.
namespace app {
class DescriptionGrids;
}

namespace app::savecheck {

// The texts, photo files and description tables the save check reads, from the controls below
// `root`, the photo slots' image rows and the description grids.
inputcheck::ScreenValues readScreenValues(const QWidget* root, store::DataModule& dm, const DescriptionGrids& grids);

// What the submission check reads, from the boxes below `root` where a box shows the field and
// from the tables elsewhere. Nothing is changed.
inputcheck::SubmissionValues readSubmissionValues(const QWidget* root, store::DataModule& dm);

// Selects the tab of every tab control that holds `control` below its entry page and scrolls that
// page so that the control is in view. The entry page itself is shown by the caller.
void bringIntoView(QWidget* control);

} // namespace app::savecheck
