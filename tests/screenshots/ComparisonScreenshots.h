#pragma once

#include "ScreenshotRenderers.h"

namespace screenshots {

// The pictures of the comparison sheet, its two breakdown dialogs and the cost-type window.
// `entryWindow` builds the main window of a new registration that names a conventional technology.
std::vector<Renderer> comparisonRenderers(std::function<std::unique_ptr<QWidget>(const QString& programFolder)> entryWindow);

} // namespace screenshots
