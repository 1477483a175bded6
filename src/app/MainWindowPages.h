#pragma once

#include "app/EntryForm.h"

class QWidget;

namespace store {
class DataModule;
}

namespace app {

class ScrollingPage;

// The pages of the main window, each built from the tables of its controls.
QWidget* buildListPage(store::DataModule& dm, QWidget* parent);                   // TabSheet1
ScrollingPage* buildNamesPage(const form::SourceOf& sourceOf, QWidget* parent);  // TbsPattern1
ScrollingPage* buildSummaryPage(const form::SourceOf& sourceOf, QWidget* parent); // PageControl2
ScrollingPage* buildComparisonPage(const form::SourceOf& sourceOf, QWidget* parent); // TabSheet3
ScrollingPage* buildRecordsPage(const form::SourceOf& sourceOf, QWidget* parent);    // TabSheet4
QWidget* buildPreviewPage(QWidget* parent);                                        // TabSheet5

// The hint the entry pages give about what cannot be typed.
inline const QString kInputHint = QStringLiteral("( 半角ｶﾀｶﾅ 及び 連続するｽﾍﾟｰｽ は入力できません。)");

} // namespace app
