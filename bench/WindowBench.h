#pragma once

#include "app/MainWindow.h"
#include "widgets/WebEngineSetup.h"

#include <QCoreApplication>
#include <QTableView>

// What the timings of the main window share.
namespace benchdata {

// Before the application: the offscreen platform unless another is chosen, and the browser engine
// prepared as the program prepares it.
inline void prepareOffscreenWindow()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    widgets::prepareWebEngine();
}

// Opens the registration on `row` of the technology list, as a double click does.
inline void openFromList(app::MainWindow& window, int row)
{
    auto* grid = window.control<QTableView>(QStringLiteral("DBGrid1")); // the list of registrations
    const QModelIndex index = grid->model()->index(row, 0);
    grid->setCurrentIndex(index);
    emit grid->doubleClicked(index);
    QCoreApplication::processEvents();
}

} // namespace benchdata
