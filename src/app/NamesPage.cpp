#include "app/MainWindowPages.h"

#include "app/MainWindowControls.h"
#include "app/ScrollingPage.h"
#include "widgets/DBGrid.h"
#include "widgets/TextLineEdit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace app {

using form::Item;
using form::Kind;

namespace {

const QString kMain = QStringLiteral("NT_TBL_MAIN");
const QString kDetail = QStringLiteral("NT_TBL_DETAIL");

QList<Item> nameItems()
{
    return {
        {Kind::Edit, "TECH_TITLE", QStringLiteral("技術名称"), kMain},
        {Kind::Edit, "TECH_SUBTITLE", QStringLiteral("副題"), kMain},
        {Kind::Edit, "TECH_DVLP_YEAR", QStringLiteral("技術開発年"), kMain, {}, 6},
        {Kind::Edit, "DB_REG_DATE", QStringLiteral("記入年月日"), kMain, {}, 12},
        {Kind::Hidden, "REG_DATE", QString(), kMain},
        {Kind::Edit, "TECH_DVLP_COMPANY", QStringLiteral("開発会社"), kMain},
        {Kind::Radio, "DVLP_TYPE_CODE", QStringLiteral("開発形態"), kMain, {}, 4,
         {{QStringLiteral("単独（産）"), "1"}, {QStringLiteral("共同研究（産・産）"), "7"}, {QStringLiteral("単独（官）"), "2"},
          {QStringLiteral("共同研究（産・官）"), "8"}, {QStringLiteral("単独（学）"), "3"}, {QStringLiteral("共同研究（産・学）"), "9"},
          {QStringLiteral("共同研究（産・官・学）"), "0"}}},
        {Kind::Radio, "OPEN_DIV_CD", QStringLiteral("公開範囲"), kMain, {}, 2,
         {{QStringLiteral("国土交通省のみ"), "0"}, {QStringLiteral("一般"), "2"}}},
        {Kind::Lookup, "GRP_TITLE1", QStringLiteral("区分"), kMain, "GRP_CODE1", 30, {}, "NT_STBL_INFO_GRP1", "CD", "GRP_TITLE1"},
    };
}

// Five classification slots of four levels: a list box to choose from and the hidden box of the
// stored code for each level.
QGroupBox* classificationSection(const form::SourceOf& sourceOf, QWidget* parent)
{
    auto* box = new QGroupBox(QStringLiteral("分類"), parent);
    auto* grid = new QGridLayout(box);
    grid->addWidget(form::note(QStringLiteral("レベル１から順に選択してください。　(新技術が主に活用される分類を分類１に入力してください。)"), box),
                    0, 0, 1, 5);
    const QStringList levels = {QStringLiteral("レベル１"), QStringLiteral("レベル２"), QStringLiteral("レベル３"), QStringLiteral("レベル４")};
    for (int level = 1; level <= 4; ++level)
        grid->addWidget(form::label(levels.at(level - 1), box), 1, level);
    for (int slot = 1; slot <= 5; ++slot) {
        grid->addWidget(form::label(slot == 1 ? QStringLiteral("分類") : QStringLiteral("分類%1").arg(slot), box), 1 + slot, 0);
        for (int level = 1; level <= 4; ++level) {
            const QString suffix = slot == 1 ? QString() : QString::number(slot);
            const Item list{Kind::List, QStringLiteral("Level%1").arg(level) + (slot == 1 ? QString() : QLatin1Char('_') + suffix), QString()};
            QWidget* chooser = form::makeControl(list, sourceOf, box);
            chooser->setMinimumWidth(170);
            grid->addWidget(chooser, 1 + slot, level);
            form::makeControl({Kind::Hidden, QStringLiteral("LEVEL%1_COMBO").arg(level) + suffix, QString(), kMain}, sourceOf, box);
        }
    }
    for (int level = 1; level <= 4; ++level)
        grid->setColumnStretch(level, 1);
    return box;
}

// The post-code row of a contact: "〒", the 3-digit box, "-", the 4-digit box (not bound: the save
// joins them into the stored form).
QWidget* postCodeRow(const QString& first, const QString& second, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(form::label(QStringLiteral("〒"), row));
    for (const QString& name : {first, second}) {
        auto* box = new widgets::TextLineEdit(name, row);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
        layout->addWidget(box);
        if (name == first)
            layout->addWidget(form::label(QStringLiteral("-"), row));
    }
    layout->addStretch(1);
    return row;
}

// One contact of NT_TBL_DETAIL: the fields end in `suffix` ("" for the technical contact,
// "_BUSINESS" for the sales contact).
QWidget* contactTab(const QString& pageName, const QString& suffix, const form::SourceOf& sourceOf, QWidget* parent)
{
    auto* page = new QWidget(parent);
    page->setObjectName(pageName);
    auto* grid = new QGridLayout(page);
    grid->setColumnMinimumWidth(0, 110);
    grid->setColumnStretch(4, 1);
    const auto field = [&](const char* name) { return QLatin1String(name) + suffix; };
    int row = form::addItems(grid, 0,
                             {{Kind::Edit, field("SALES_COMPANY"), QStringLiteral("会社"), kDetail},
                              {Kind::Edit, field("SALES_SECTION"), QStringLiteral("担当部署"), kDetail},
                              {Kind::Edit, field("SALES_STUFF"), QStringLiteral("担当者"), kDetail}},
                             sourceOf, page);
    grid->addWidget(form::label(QStringLiteral("郵便番号"), page), row, 0);
    const QString postPrefix = suffix.isEmpty() ? QStringLiteral("SALES_POST_CODE") : QStringLiteral("SALES_POST_CODE_BUSINESS");
    grid->addWidget(postCodeRow(postPrefix + QLatin1Char('1'), postPrefix + QLatin1Char('2'), page), row++, 1, 1, 4);
    form::addItems(grid, row,
                   {{Kind::Edit, field("SALES_ADDRESS"), QStringLiteral("住所"), kDetail},
                    {Kind::Edit, field("SALES_TEL_NO"), QStringLiteral("TEL"), kDetail, {}, 20},
                    {Kind::Edit, field("SALES_FAX_NO"), QStringLiteral("FAX"), kDetail, {}, 20},
                    {Kind::Edit, field("SALES_E_MAIL"), QStringLiteral("E-MAIL"), kDetail},
                    {Kind::Edit, field("SALES_URL"), QStringLiteral("URL"), kDetail}},
                   sourceOf, page);
    return page;
}

// The further contacts ("その他") of NT_TBL_COMPANY, added and edited through their dialog.
QWidget* otherContactsTab(const form::SourceOf& sourceOf, QWidget* parent)
{
    auto* page = new QWidget(parent);
    page->setObjectName(QStringLiteral("TabSheetOtherContacts"));
    auto* layout = new QVBoxLayout(page);
    auto* grid = new widgets::DBGrid(sourceOf(QStringLiteral("NT_TBL_COMPANY")),
                                     {{"SALES_ORDER_OTHER", QString(), 30}, {"SALES_COMPANY_OTHER", QStringLiteral("会社"), 200},
                                      {"SALES_SECTION_OTHER", QStringLiteral("担当部署"), 100}, {"SALES_STUFF_OTHER", QStringLiteral("担当者"), 100},
                                      {"SALES_POST_CODE_OTHER", QStringLiteral("郵便番号"), 100}, {"SALES_ADDRESS_OTHER", QStringLiteral("住所"), 242},
                                      {"SALES_TEL_NO_OTHER", QStringLiteral("TEL"), 100}, {"SALES_FAX_NO_OTHER", QStringLiteral("FAX"), 100},
                                      {"SALES_E_MAIL_OTHER", QStringLiteral("E-MAIL"), 150}, {"SALES_URL_OTHER", QStringLiteral("URL"), 150}},
                                     page, QStringLiteral("NT_TBL_COMPANY"));
    grid->setMinimumHeight(200);
    layout->addWidget(grid);
    auto* buttons = new QHBoxLayout;
    for (const auto& [name, caption] : {std::pair{"BtnCmpnyAdd", "項目追加"}, {"BtnCmpnyEdit", "項目編集"}, {"BtnCmpnyDel", "項目削除"}})
        buttons->addWidget(form::button(QLatin1String(name), QString::fromUtf8(caption), page));
    buttons->addStretch(1);
    layout->addLayout(buttons);
    return page;
}

QList<Item> keywordItems()
{
    QList<Item> items;
    const QList<std::pair<const char*, QString>> flags = {
        {"KEYWD_SAFETY_YN", QStringLiteral("安全・安心")}, {"KEYWD_ENV_YN", QStringLiteral("環境")},
        {"KEYWD_INFO_YN", QStringLiteral("情報化")}, {"KEYWD_COST_YN", QStringLiteral("コスト縮減・生産性の向上")},
        {"KEYWD_QUALITY_YN", QStringLiteral("公共工事の品質確保・向上")}, {"KEYWD_LANDSCAPE_YN", QStringLiteral("景観")},
        {"KEYWD_TRADITION_YN", QStringLiteral("伝統・歴史・文化")}, {"KEYWD_RECYCLE_YN", QStringLiteral("リサイクル")}};
    for (const auto& [name, caption] : flags)
        items.append({Kind::Check, QLatin1String(name), caption, kDetail});
    for (int n = 1; n <= 3; ++n)
        items.append({Kind::Edit, QStringLiteral("KEYWD_FREE%1").arg(n), QStringLiteral("自由記入%1").arg(n), kDetail, {}, 40});
    return items;
}

QList<Item> aimItems()
{
    QList<Item> items;
    const QList<std::pair<const char*, QString>> flags = {
        {"TERGET_MAN_COUNT_YN", QStringLiteral("省人化")}, {"TERGET_MAN_POWER_YN", QStringLiteral("省力化")},
        {"TERGET_EFFICIENCY_YN", QStringLiteral("経済性の向上")}, {"TERGET_ACCURACY_YN", QStringLiteral("施工精度の向上")},
        {"TERGET_ENDURANCE_YN", QStringLiteral("耐久性の向上")}, {"TERGET_SAFTY_YN", QStringLiteral("安全性の向上")},
        {"TERGET_WORK_ENV_YN", QStringLiteral("作業環境の向上")}, {"TERGET_AREA_ENV_YN", QStringLiteral("周辺環境への影響抑制")},
        {"TERGET_EARTH_ENV_YN", QStringLiteral("地球環境への影響抑制")}, {"TERGET_RESOURCE_YN", QStringLiteral("省資源・省エネルギー")},
        {"TERGET_RESULT_YN", QStringLiteral("品質の向上")}, {"TERGET_RECYCLE_YN", QStringLiteral("リサイクル性向上")},
        {"TERGET_OTHER_YN", QStringLiteral("その他")}};
    for (const auto& [name, caption] : flags)
        items.append({Kind::Check, QLatin1String(name), caption, kDetail});
    items.append({Kind::Edit, "TERGET_OTHER", QStringLiteral("その他の内容"), kDetail});
    return items;
}

} // namespace

ScrollingPage* buildNamesPage(const form::SourceOf& sourceOf, QWidget* parent)
{
    auto* page = new ScrollingPage(controls::kNamesPage, QStringLiteral("ScrollBar1"), parent);
    page->addHeaderLabel(kInputHint);
    QVBoxLayout* layout = page->panelLayout();
    QWidget* panel = page->panel();

    layout->addWidget(form::section(QStringLiteral("技術名称等"), nameItems(), sourceOf, panel));
    layout->addWidget(classificationSection(sourceOf, panel));

    auto* contacts = new QGroupBox(QStringLiteral("問合せ先"), panel);
    auto* contactLayout = new QVBoxLayout(contacts);
    auto* tabs = new QTabWidget(contacts);
    tabs->setObjectName(controls::kContactTabs);
    tabs->addTab(contactTab(QStringLiteral("TabSheet19"), QString(), sourceOf, tabs), QStringLiteral("技術"));
    tabs->addTab(contactTab(QStringLiteral("TabSheet24"), QStringLiteral("_BUSINESS"), sourceOf, tabs), QStringLiteral("営業"));
    tabs->addTab(otherContactsTab(sourceOf, tabs), QStringLiteral("その他"));
    contactLayout->addWidget(tabs);
    layout->addWidget(contacts);

    layout->addWidget(form::section(QStringLiteral("キーワード"), keywordItems(), sourceOf, panel));
    layout->addWidget(form::section(QStringLiteral("技術の目的"), aimItems(), sourceOf, panel));
    page->finish();
    return page;
}

} // namespace app
