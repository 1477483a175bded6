#pragma once

namespace report {
struct ReportScreen;
}

namespace app {

class MainWindow;

// The preview page's handlers: the report built from the open registration and shown in
// `WebBrowser1`, the template chosen by the selector `TabControl1`, printing through the print
// dialog and saving as PDF.
void PrintPreview(MainWindow& window);
void templateChosen(MainWindow& window);
void printShownReport(MainWindow& window);
// The "PDF保存" button: writes the shown report (the whole report on the first tab, else the
// chosen section) to a PDF file the user names; a failure is reported.
void savePdf(MainWindow& window);
// Wires the selector and the print button of the page to the handlers above.
void connectPreviewPage(MainWindow& window);

// What the main window shows that the report prints: the stored values, overlaid with the
// controls' texts as they stand (edits not yet saved included).
report::ReportScreen shownReportScreen(MainWindow& window);

} // namespace app
