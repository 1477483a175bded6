#pragma once

#include <QPageLayout>
#include <QString>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineUrlRequestInterceptor>

#include <functional>

class QPrinter;

// The browser that shows, prints and saves the generated report. The report needs no scripts
// and nothing from outside the program folder, so the browser runs none and loads nothing but
// the report file and the photos of the photo folder: a value that ever escaped the escaping
// still could not run or fetch anything.
namespace app {

// True for the report file itself, whatever its query.
bool isReportFile(const QUrl& url, const QString& reportPath);
// True for the report file itself (whatever its query) and for files inside the photo folder.
bool isReportLoad(const QUrl& url, const QString& reportPath, const QString& photoFolder);

// Refuses every request that isReportLoad() does not allow.
class ReportRequestFilter : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT
public:
    ReportRequestFilter(QString reportPath, QString photoFolder, QObject* parent = nullptr);
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    QString m_reportPath;
    QString m_photoFolder;
};

// A browser page with scripts, plug-ins and every load but the report's own turned off.
class ReportWebPage : public QWebEnginePage
{
    Q_OBJECT
public:
    ReportWebPage(const QString& reportPath, const QString& photoFolder, QObject* parent = nullptr);

    // The address that loads the report afresh: a new query each time, so the browser neither
    // serves an earlier copy nor restores the earlier scroll position.
    QUrl freshReportUrl();

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    QString m_reportPath;
    int m_loads = 0;
};

// A4 portrait with the report's margins: every printed or saved report is laid out on it.
QPageLayout reportPageLayout();

// Writes the shown document to `path` as PDF laid out on reportPageLayout(); `done` receives an
// empty text on success, else the message for the user.
void writeReportPdf(QWebEnginePage* page, const QString& path, const std::function<void(const QString& error)>& done);

// Sets the printer to the report's page layout before its print dialog is shown.
void prepareReportPrinter(QPrinter* printer);

// Where a page of `page` size, whose content keeps `margins` from its edges, is painted on a
// sheet (all in the same units): centred, as large as the sheet allows with its proportions
// kept, and smaller still where the content would otherwise reach into the border of the sheet
// that the printer cannot print (outside `printable`).
QRectF pagePlacement(const QSizeF& page, const QMarginsF& margins, const QRectF& sheet, const QRectF& printable);

// Paints the pages of a PDF on the printer, each on a sheet of its own (the printer's page range
// respected); false when the PDF cannot be read or the printer fails.
bool printPdfPages(const QByteArray& pdf, QPrinter* printer);

// Prints the shown document on `printer` laid out as the saved PDF is; `done` is called when the
// printing has ended.
void printReport(QWebEnginePage* page, QPrinter* printer, const std::function<void(bool ok)>& done);

} // namespace app
