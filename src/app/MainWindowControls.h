#pragma once

#include <QString>

// The object names of the main window's controls that code looks up by name. The names are those
// the rules, the tests and the screenshots use.
namespace app::controls {

// The page tabs and their pages.
inline const QString kPages = QStringLiteral("PageControl1");
inline const QString kListPage = QStringLiteral("TabSheet1");         // 新技術一覧
inline const QString kNamesPage = QStringLiteral("TbsPattern1");      // 名称・分類等
inline const QString kSummaryPage = QStringLiteral("PageControl2");   // 概要
inline const QString kComparisonPage = QStringLiteral("TabSheet3");   // 従来技術との比較
inline const QString kRecordsPage = QStringLiteral("TabSheet4");      // 施工実績等
inline const QString kPreviewPage = QStringLiteral("TabSheet5");      // 印刷プレビュー
// The tabs inside the names page (technical and sales contact) and the records page.
inline const QString kContactTabs = QStringLiteral("PageControl3");
inline const QString kRecordTabs = QStringLiteral("PageControl4");

// The list page: the technology list, its commands and the help text beside them.
inline const QString kTechnologyList = QStringLiteral("DBGrid1");
inline const QString kNewButton = QStringLiteral("Button5");    // 新規作成
inline const QString kOpenButton = QStringLiteral("Button4");   // 編集
inline const QString kDeleteButton = QStringLiteral("Button1"); // 削除
inline const QString kDuplicateButton = QStringLiteral("BtnDuplicate"); // 複製して新規作成
inline const QString kExportButton = QStringLiteral("Button2"); // 提出用ファイル作成
inline const QString kImportButton = QStringLiteral("Button3"); // データ取り込み
inline const QString kEndButton = QStringLiteral("BitBtn1");    // 終了
inline const QString kHelpText = QStringLiteral("Memo1");
// The find box above the list and the count of the lines it shows.
inline const QString kFindBox = QStringLiteral("edtFind");
inline const QString kFindCount = QStringLiteral("lblFindCount");

// "メニュー" above the entry pages: back to the list.
inline const QString kMenuButton = QStringLiteral("BitBtn2");

// The preview page: the selector of the report section, the print button and the browser.
inline const QString kTemplateSelector = QStringLiteral("TabControl1");
inline const QString kPrintButton = QStringLiteral("Button6");
inline const QString kReportBrowser = QStringLiteral("WebBrowser1");

} // namespace app::controls
