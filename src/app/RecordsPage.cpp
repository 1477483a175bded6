#include "app/MainWindowPages.h"

#include "app/EntryParts.h"
#include "app/MainWindowControls.h"
#include "app/ScrollingPage.h"
#include "widgets/DBGrid.h"
#include "widgets/DBPanelList.h"
#include "widgets/TextMemo.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace app {

using form::Item;
using form::Kind;

namespace {

const QString kDetail = QStringLiteral("NT_TBL_DETAIL");
const QString kPicture = QStringLiteral("NT_TBL_PICTURE");
const QString kDescription = QStringLiteral("NT_TBL_DESCRIPTION");

QHBoxLayout* buttonRow(const QList<std::pair<QString, QString>>& buttons, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    for (const auto& [name, caption] : buttons)
        row->addWidget(form::button(name, caption, parent));
    row->addStretch(1);
    return row;
}

QGroupBox* resultsSection(const form::SourceOf& sourceOf, QWidget* parent)
{
    auto* box = new QGroupBox(QStringLiteral("施工実績"), parent);
    auto* layout = new QVBoxLayout(box);
    auto* counts = new QGridLayout;
    counts->setColumnMinimumWidth(0, 110);
    counts->setColumnStretch(4, 1);
    form::addItems(counts, 0,
                   {{Kind::Number, "RESULTS_MOC", QStringLiteral("国土交通省"), kDetail},
                    {Kind::Number, "RESULTS_PUBLIC", QStringLiteral("その他公共機関"), kDetail},
                    {Kind::Number, "RESULTS_PRIVATE", QStringLiteral("民間"), kDetail}},
                   sourceOf, box);
    // The pilot-programme counts are hidden in this edition; they keep their values.
    for (const char* name : {"RESULTS_TECH_USE", "RESULTS_SPE_TECH", "RESULTS_TEST", "RESULTS_RECYCLE"})
        form::makeControl({Kind::Number, QLatin1String(name), {}, kDetail}, sourceOf, box)->hide();
    layout->addLayout(counts);

    layout->addWidget(form::label(QStringLiteral("施工実績（国土交通省）"), box));
    auto* moc = new widgets::DBGrid(sourceOf(QStringLiteral("PL_TBL_PROJECT_MOC")),
                                    {{"PJT_NAME", QStringLiteral("工事名"), 191}, {"PJT_TYPE", QStringLiteral("事業種類"), 111},
                                     {"CLIENT", QStringLiteral("地方整備局名"), 118}, {"CLIENT_MOC_OFFICE", QStringLiteral("事務所"), 161},
                                     {"PJT_START_DATE", QStringLiteral("施工開始"), 78}, {"PJT_END_DATE", QStringLiteral("施工終了"), 78},
                                     {"TALVEN_NO", QStringLiteral("TALVEN 登録 Ｎo．"), 101}},
                                    box, QStringLiteral("PL_TBL_PROJECT_MOC"));
    moc->setFixedHeight(160);
    layout->addWidget(moc);
    layout->addLayout(buttonRow({{"Project_Moc_Add", QStringLiteral("実績追加")}, {"Project_Moc_Edit", QStringLiteral("実績編集")},
                                 {"Project_Moc_Del", QStringLiteral("実績削除")}},
                                box));

    layout->addWidget(form::label(QStringLiteral("施工実績（国土交通省以外）"), box));
    auto* other = new widgets::DBGrid(sourceOf(QStringLiteral("PL_TBL_PROJECT_PRIVATE")),
                                      {{"PJT_NAME", QStringLiteral("工事名"), 191}, {"CLIENT_KIND", QStringLiteral("発注者(種別)"), 138},
                                       {"CLIENT_NAME", QStringLiteral("発注者（事務所）"), 254}, {"PJT_START_DATE", QStringLiteral("施工開始"), 78},
                                       {"PJT_END_DATE", QStringLiteral("施工終了"), 78}, {"TALVEN_NO", QStringLiteral("TALVEN 登録 Ｎo．"), 101}},
                                      box, QStringLiteral("PL_TBL_PROJECT_PRIVATE"));
    other->setFixedHeight(160);
    layout->addWidget(other);
    layout->addLayout(buttonRow({{"Project_Pvt_Add", QStringLiteral("実績追加")}, {"Project_Pvt_Edit", QStringLiteral("実績編集")},
                                 {"Project_Pvt_Del", QStringLiteral("実績削除")}},
                                box));
    return box;
}

QWidget* evaluationTab(const QString& name, const QList<Item>& items, const form::SourceOf& sourceOf, QWidget* parent)
{
    auto* page = new QWidget(parent);
    page->setObjectName(name);
    auto* grid = new QGridLayout(page);
    grid->setColumnMinimumWidth(0, 110);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(form::addItems(grid, 0, items, sourceOf, page), 1);
    return page;
}

QGroupBox* evaluationSection(const form::SourceOf& sourceOf, QWidget* parent)
{
    auto* box = new QGroupBox(QStringLiteral("評価・証明"), parent);
    auto* layout = new QVBoxLayout(box);
    auto* tabs = new QTabWidget(box);
    tabs->setObjectName(QStringLiteral("PageEVALUATE"));
    tabs->addTab(evaluationTab(QStringLiteral("PageEVALUATE1"),
                               {{Kind::Edit, "EVALUATE_MOC_NO", QStringLiteral("港湾に係る民間技術評価(番号)"), kDetail, {}, 24},
                                {Kind::Edit, "EVALUATE_MOC_DATE", QStringLiteral("評価年月日"), kDetail, {}, 12},
                                {Kind::Edit, "EVALUATE_MOC_URL", QStringLiteral("URL"), kDetail}},
                               sourceOf, tabs),
                 QStringLiteral("港湾に係る民間技術評価"));
    tabs->addTab(evaluationTab(QStringLiteral("PageEVALUATE2"),
                               {{Kind::Edit, "EVALUATE_PRIVATE_NO", QStringLiteral("番号"), kDetail, {}, 24},
                                {Kind::Edit, "EVALUATE_PRIVATE_DATE", QStringLiteral("評価年月日"), kDetail, {}, 12},
                                {Kind::Lookup, "EVALUATE_ORGAN_CODE", QStringLiteral("評価機関"), kDetail, {}, 40, {}, "NT_STBL_INFO_EV_ORGAN", "CD",
                                 "EVALUATE_ORGAN"},
                                {Kind::Edit, "EVALUATE_PRIVATE_URL", QStringLiteral("URL"), kDetail}},
                               sourceOf, tabs),
                 QStringLiteral("港湾関連民間技術の確認審査・評価"));
    QList<Item> others;
    for (int n = 3; n <= 4; ++n) {
        const QString k = QString::number(n);
        others += QList<Item>{{Kind::Label, "EvaluateOther" + k, QStringLiteral("証明%1").arg(n - 2)},
                              {Kind::Edit, "EVALUATE_NAME" + k, QStringLiteral("制度の名称"), kDetail},
                              {Kind::Edit, "EVALUATE_NO" + k, QStringLiteral("番号"), kDetail, {}, 30},
                              {Kind::Edit, "EVALUATE_ORGAN_NAME" + k, QStringLiteral("証明機関名称"), kDetail},
                              {Kind::Edit, "EVALUATE_DATE" + k, QStringLiteral("証明年月日"), kDetail, {}, 12},
                              {Kind::Edit, "EVALUATE_SCOPE" + k, QStringLiteral("証明範囲"), kDetail},
                              {Kind::Edit, "EVALUATE_URL" + k, QStringLiteral("URL"), kDetail}};
    }
    tabs->addTab(evaluationTab(QStringLiteral("PageEVALUATE3"), others, sourceOf, tabs), QStringLiteral("その他の制度等による証明"));
    layout->addWidget(tabs);
    return box;
}

// One panel of the evaluation results: the three texts of the row, read only.
QWidget* evaluationResultPanel(store::Table& row)
{
    auto* panel = new QWidget;
    auto* grid = new QGridLayout(panel);
    int column = 0;
    for (const auto& [field, caption] : {std::pair{"ITEM", "証明項目"}, {"CONTENTS", "試験調査内容"}, {"RESULT", "結果"}}) {
        grid->addWidget(form::label(QString::fromUtf8(caption), panel), 0, column);
        auto* text = new widgets::TextMemo(QLatin1String(field), panel);
        text->setReadOnly(true);
        text->setText(row.field(QLatin1String(field)).asString());
        text->setFixedHeight(text->fontMetrics().lineSpacing() * 3 + 12);
        grid->addWidget(text, 1, column++);
    }
    return panel;
}

QGroupBox* evaluationResultSection(const form::SourceOf& sourceOf, QWidget* parent)
{
    auto* box = new QGroupBox(QStringLiteral("評価・証明と結果"), parent);
    auto* layout = new QVBoxLayout(box);
    auto* list = new widgets::DBPanelList(sourceOf(QStringLiteral("NT_TBL_EVALUATE_RESULT")), evaluationResultPanel, box,
                                          QStringLiteral("NT_TBL_EVALUATE_RESULT"));
    list->setFixedHeight(220);
    layout->addWidget(list);
    layout->addLayout(buttonRow({{"EVALUATE_RSLT_ADD", QStringLiteral("追加")}, {"EVALUATE_RSLT_EDIT", QStringLiteral("編集")},
                                 {"EVALUATE_RSLT_DEL", QStringLiteral("削除")}},
                                box));
    return box;
}

QWidget* patentTab(int n, const form::SourceOf& sourceOf, QWidget* parent)
{
    const QString k = QString::number(n);
    auto* page = new QWidget(parent);
    page->setObjectName(QStringLiteral("TabPatent") + k);
    auto* grid = new QGridLayout(page);
    grid->setColumnMinimumWidth(0, 110);
    grid->setColumnStretch(4, 1);
    int row = form::addItems(grid, 0, {{Kind::Memo, "CERTIFY_PATENT_NO" + k, QStringLiteral("特許番号"), kPicture, {}, 3}}, sourceOf, page);
    grid->addWidget(form::note(QStringLiteral("※以降の項目は、「特許番号」に入力がある場合のみ入力可能"), page), row++, 1, 1, 4);
    auto* pairs = new QHBoxLayout;
    const auto yesNo = [&](const QString& title, const QString& field, const QString& no) {
        pairs->addWidget(parts::radioButtons(title, {{QStringLiteral("有り"), "Rb" + field + "_Y" + k}, {no, "Rb" + field + "_N" + k}}, page));
    };
    yesNo(QStringLiteral("特許"), QStringLiteral("CERTIFY_PATENT_FLG"), QStringLiteral("出願中"));
    yesNo(QStringLiteral("特許-通常実施権"), QStringLiteral("CERTIFY_PATENT_GENERAL"), QStringLiteral("無し"));
    yesNo(QStringLiteral("特許-専用実施権"), QStringLiteral("CERTIFY_PATENT_PRIVATE"), QStringLiteral("無し"));
    grid->addLayout(pairs, row++, 0, 1, 5);
    form::addItems(grid, row,
                   {{Kind::Edit, "CERTIFY_PATENTEE" + k, QStringLiteral("特許権者"), kPicture},
                    {Kind::Edit, "CERTIFY_PRACTICE" + k, QStringLiteral("実施権者"), kPicture},
                    {Kind::Edit, "CERTIFY_PATENT_FEE" + k, QStringLiteral("特許料等"), kPicture},
                    {Kind::Edit, "CERTIFY_PRACTICE_FORM" + k, QStringLiteral("実施形態"), kPicture},
                    {Kind::Edit, "CERTIFY_ADDRESS" + k, QStringLiteral("問合せ先"), kPicture}},
                   sourceOf, page);
    return page;
}

QGroupBox* patentSection(const form::SourceOf& sourceOf, QWidget* parent)
{
    auto* box = new QGroupBox(QStringLiteral("特許・実用新案"), parent);
    auto* layout = new QVBoxLayout(box);
    auto* tabs = new QTabWidget(box);
    tabs->setObjectName(controls::kRecordTabs);
    const QStringList captions = {QStringLiteral("特許情報１"), QStringLiteral("特許情報２"), QStringLiteral("特許情報３"),
                                  QStringLiteral("特許情報４"), QStringLiteral("特許情報５")};
    for (int n = 1; n <= 5; ++n)
        tabs->addTab(patentTab(n, sourceOf, tabs), captions.at(n - 1));
    layout->addWidget(tabs);

    layout->addWidget(parts::radioButtons(QStringLiteral("実用新案"),
                                          {{QStringLiteral("有り"), "RbCERTIFY_IDEA_STAT1"}, {QStringLiteral("出願中"), "RbCERTIFY_IDEA_STAT2"},
                                           {QStringLiteral("出願予定"), "RbCERTIFY_IDEA_STAT3"}, {QStringLiteral("無し"), "RbCERTIFY_IDEA_STAT4"}},
                                          box));
    auto* idea = new QGridLayout;
    idea->setColumnMinimumWidth(0, 110);
    idea->setColumnStretch(4, 1);
    form::addItems(idea, 0, {{Kind::Edit, "CERTIFY_IDEA_NO", QStringLiteral("※有りの場合：特許番号"), kDetail}}, sourceOf, box);
    layout->addLayout(idea);
    auto* licences = new QHBoxLayout;
    licences->addWidget(parts::radioButtons(QStringLiteral("実施新案-通常実施権"),
                                            {{QStringLiteral("有り"), "RbCERTIFY_IDEA_GENERAL_Y"}, {QStringLiteral("無し"), "RbCERTIFY_IDEA_GENERAL_N"}}, box));
    licences->addWidget(parts::radioButtons(QStringLiteral("実施新案-専用実施権"),
                                            {{QStringLiteral("有り"), "RbCERTIFY_IDEA_PRIVATE_Y"}, {QStringLiteral("無し"), "RbCERTIFY_IDEA_PRIVATE_N"}}, box));
    layout->addLayout(licences);

    // The earlier patent entry: kept for its stored codes, never shown.
    QList<form::Choice> earlier;
    for (int s = 1; s <= 6; ++s)
        earlier.append({QString::number(s), QStringLiteral("RbCERTIFY_PATENT_STAT%1").arg(s)});
    parts::radioButtons(QStringLiteral("特許"), earlier, box)->hide();
    form::makeControl({Kind::Hidden, "CERTIFY_PATENT_NO", {}, kDetail}, sourceOf, box);

    auto* note = new QGridLayout;
    note->setColumnMinimumWidth(0, 110);
    note->setColumnStretch(4, 1);
    form::addItems(note, 0, {{Kind::Memo, "CERTIFY_NOTE", QStringLiteral("備考"), kDescription, {}, 6}}, sourceOf, box);
    layout->addLayout(note);
    return box;
}

} // namespace

ScrollingPage* buildRecordsPage(const form::SourceOf& sourceOf, QWidget* parent)
{
    auto* page = new ScrollingPage(controls::kRecordsPage, QStringLiteral("ScrollBar4"), parent);
    page->addHeaderLabel(QString(), QStringLiteral("TECH_TITLE4"));
    QVBoxLayout* layout = page->panelLayout();
    QWidget* panel = page->panel();
    layout->addWidget(resultsSection(sourceOf, panel));
    layout->addWidget(evaluationSection(sourceOf, panel));
    layout->addWidget(evaluationResultSection(sourceOf, panel));

    QGroupBox* tests = form::section(QStringLiteral("実験等実施状況"),
                                     {{Kind::Memo, "TEST_DESC", QStringLiteral("実験等実施状況"), kDescription, {}, 8}}, sourceOf, panel);
    auto* testLayout = static_cast<QGridLayout*>(tests->layout());
    testLayout->addWidget(parts::descriptionTable(parts::kDescriptionTables.at(4), sourceOf, tests), testLayout->rowCount(), 0, 1, 5);
    testLayout->addWidget(parts::photoSlot(QStringLiteral("T"), QStringLiteral("写真"), sourceOf, tests), testLayout->rowCount(), 0, 1, 5);
    layout->addWidget(tests);

    layout->addWidget(patentSection(sourceOf, panel));

    auto* photos = new QGroupBox(QStringLiteral("その他の写真"), panel);
    auto* photoLayout = new QVBoxLayout(photos);
    photoLayout->addWidget(parts::photoSlot(QStringLiteral("G"), QStringLiteral("その他の写真1"), sourceOf, photos));
    photoLayout->addWidget(parts::photoSlot(QStringLiteral("H"), QStringLiteral("その他の写真2"), sourceOf, photos));
    photoLayout->addWidget(parts::photoSlot(QStringLiteral("I"), QStringLiteral("その他の写真3"), sourceOf, photos));
    layout->addWidget(photos);

    layout->addWidget(form::section(QStringLiteral("参考資料"),
                                    {{Kind::Memo, "REF_DESC", QStringLiteral("参考文献"), kDescription, {}, 6},
                                     {Kind::Memo, "APDX_DESC", QStringLiteral("添付資料"), kDescription, {}, 6}},
                                    sourceOf, panel));
    page->finish();
    return page;
}

} // namespace app
