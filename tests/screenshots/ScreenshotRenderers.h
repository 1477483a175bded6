#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

namespace screenshots {

// One picture of the program: a name (the PNG file's base name) and a function that builds the
// window in the state to show. The tool lays the window out, grabs it and writes <name>.png.
struct Renderer
{
    QString name;
    QString description;
    std::function<std::unique_ptr<QWidget>(const QString& programFolder)> build;
};

// Every picture the tool can take, in the order it takes them. Add an entry for each new window
// or page state (the main window's pages, top and scrolled, the dialogs).
const std::vector<Renderer>& renderers();

} // namespace screenshots
