#pragma once

#include "ScreenshotRenderers.h"

#include <QPixmap>

namespace screenshots {

// The pictures of the printed report: the preview page of a new and of a filled registration, and
// the report alone at A4 width, at its top and further down. `entryWindow` builds the main window on the
// records page of a new registration over a copy of the program folder.
std::vector<Renderer> reportRenderers(std::function<std::unique_ptr<QWidget>(const QString& programFolder)> entryWindow);

// The widget as on screen. A widget's own grab leaves the browser views inside it blank (they draw on
// a surface of their own): each visible view is grabbed alone and painted in its place.
QPixmap grabWithBrowsers(QWidget* window);

} // namespace screenshots
