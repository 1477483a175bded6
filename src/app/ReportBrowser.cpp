#include "app/ReportBrowser.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageRanges>
#include <QPageSize>
#include <QPainter>
#include <QPdfDocument>
#include <QPrinter>
#include <QSaveFile>
#include <QUrlQuery>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>

namespace app {

namespace {

QString cleanLocalPath(const QUrl& url)
{
    return QDir::cleanPath(QFileInfo(url.toLocalFile()).absoluteFilePath());
}

} // namespace

bool isReportFile(const QUrl& url, const QString& reportPath)
{
    return url.isLocalFile() && url.host().isEmpty() && cleanLocalPath(url) == QDir::cleanPath(QFileInfo(reportPath).absoluteFilePath());
}

bool isReportLoad(const QUrl& url, const QString& reportPath, const QString& photoFolder)
{
    if (isReportFile(url, reportPath))
        return true;
    if (!url.isLocalFile() || !url.host().isEmpty() || photoFolder.isEmpty())
        return false;
    const QString path = cleanLocalPath(url);
    const QString photos = QDir::cleanPath(QFileInfo(photoFolder).absoluteFilePath()) + QLatin1Char('/');
    return path.startsWith(photos) && path.size() > photos.size();
}

ReportRequestFilter::ReportRequestFilter(QString reportPath, QString photoFolder, QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), m_reportPath(std::move(reportPath)), m_photoFolder(std::move(photoFolder))
{
}

void ReportRequestFilter::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    if (!isReportLoad(info.requestUrl(), m_reportPath, m_photoFolder))
        info.block(true);
}

ReportWebPage::ReportWebPage(const QString& reportPath, const QString& photoFolder, QObject* parent)
    // An off-the-record profile of its own: no disk cache that could serve an earlier report.
    : QWebEnginePage(new QWebEngineProfile, parent), m_reportPath(reportPath)
{
    // The profile goes with the page, after it.
    profile()->setParent(this);
    QWebEngineSettings* s = settings();
    s->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    s->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    s->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    s->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    setUrlRequestInterceptor(new ReportRequestFilter(reportPath, photoFolder, this));
}

QUrl ReportWebPage::freshReportUrl()
{
    QUrl url = QUrl::fromLocalFile(m_reportPath);
    url.setQuery(QStringLiteral("load=%1").arg(++m_loads));
    return url;
}

bool ReportWebPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool)
{
    return isReportFile(url, m_reportPath);
}

QPageLayout reportPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 14, 12, 14), QPageLayout::Millimeter);
}

void writeReportPdf(QWebEnginePage* page, const QString& path, const std::function<void(const QString& error)>& done)
{
    page->printToPdf(
        [path, done](const QByteArray& pdf) {
            if (pdf.isEmpty()) {
                done(QStringLiteral("PDFを作成できませんでした。"));
                return;
            }
            QSaveFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size() || !file.commit()) {
                done(QStringLiteral("ファイル \"%1\" に書き込めませんでした。\r\n%2").arg(QDir::toNativeSeparators(path), file.errorString()));
                return;
            }
            done(QString());
        },
        reportPageLayout());
}

void prepareReportPrinter(QPrinter* printer)
{
    printer->setPageLayout(reportPageLayout());
}

QRectF pagePlacement(const QSizeF& page, const QMarginsF& margins, const QRectF& sheet, const QRectF& printable)
{
    double scale = std::min(sheet.width() / page.width(), sheet.height() / page.height());
    // Each side of the content, measured from the page's centre, must stay inside the printable
    // part measured from the sheet's centre.
    const QPointF centre = sheet.center();
    const double halfWidth = page.width() / 2;
    const double halfHeight = page.height() / 2;
    const std::pair<double, double> sides[] = {
        {centre.x() - printable.left(), halfWidth - margins.left()},
        {printable.right() - centre.x(), halfWidth - margins.right()},
        {centre.y() - printable.top(), halfHeight - margins.top()},
        {printable.bottom() - centre.y(), halfHeight - margins.bottom()},
    };
    for (const auto& [room, reach] : sides) {
        if (reach > 0)
            scale = std::min(scale, room / reach);
    }
    const QSizeF placed = page * scale;
    return QRectF(centre - QPointF(placed.width() / 2, placed.height() / 2), placed);
}

bool printPdfPages(const QByteArray& pdf, QPrinter* printer)
{
    QBuffer buffer;
    buffer.setData(pdf);
    buffer.open(QIODevice::ReadOnly);
    QPdfDocument document;
    document.load(&buffer);
    if (document.status() != QPdfDocument::Status::Ready || document.pageCount() == 0)
        return false;
    // Each page carries its margins already: it is painted on the whole sheet (pagePlacement).
    printer->setFullPage(true);
    QPainter painter;
    if (!painter.begin(printer))
        return false;
    const int resolution = printer->resolution();
    const QRect sheet = printer->pageLayout().fullRectPixels(resolution);
    QPageLayout printableLayout = printer->pageLayout();
    printableLayout.setMargins(printableLayout.minimumMargins());
    const QRect printable = printableLayout.paintRectPixels(resolution);
    const QMarginsF margins = QMarginsF(reportPageLayout().marginsPoints()) * (resolution / 72.0);
    const QPageRanges chosen = printer->pageRanges();
    bool first = true;
    for (int page = 0; page < document.pageCount(); ++page) {
        if (!chosen.isEmpty() && !chosen.contains(page + 1))
            continue;
        if (!first && !printer->newPage())
            return false;
        first = false;
        // At most 300 dots per inch: finer than that only costs memory.
        const QSizeF points = document.pagePointSize(page);
        const double dpi = std::min(300, printer->resolution());
        const QSize pixels = (points * dpi / 72.0).toSize();
        const QImage image = document.render(page, pixels);
        if (image.isNull())
            return false;
        painter.drawImage(pagePlacement(points * (resolution / 72.0), margins, sheet, printable), image);
    }
    return painter.end();
}

void printReport(QWebEnginePage* page, QPrinter* printer, const std::function<void(bool ok)>& done)
{
    // The pages are made exactly as the saved PDF's and then painted on the printer, so the
    // paper shows what the PDF shows.
    page->printToPdf([printer, done](const QByteArray& pdf) { done(!pdf.isEmpty() && printPdfPages(pdf, printer)); }, reportPageLayout());
}

} // namespace app
