#pragma once

#include "ScreenshotRenderers.h"

namespace screenshots {

// The pictures of the printed report: the preview page of a filled registration, and the report
// alone at A4 width, at its top and further down. `entryWindow` builds the main window on the
// records page of a new registration over a copy of the program folder.
std::vector<Renderer> reportRenderers(std::function<std::unique_ptr<QWidget>(const QString& programFolder)> entryWindow);

} // namespace screenshots
