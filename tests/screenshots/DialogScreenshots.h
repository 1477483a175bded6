#pragma once

#include "ScreenshotRenderers.h"

namespace screenshots {

// The pictures of the record, contact and evaluation dialogs. `entryWindow` builds the main
// window on the records page of a new registration over a copy of the program folder.
std::vector<Renderer> dialogRenderers(std::function<std::unique_ptr<QWidget>(const QString& programFolder)> entryWindow);

} // namespace screenshots
