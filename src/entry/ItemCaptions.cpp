#include "entry/ItemCaptions.h"

#include "entry/Classification.h"
#include "entry/InputCheck.h"

#include <QHash>

namespace captions {

namespace {

using Choices = QList<QPair<QString, QString>>;

const QString kMain = QStringLiteral("NT_TBL_MAIN");
const QString kDetail = QStringLiteral("NT_TBL_DETAIL");
const QString kFree = QStringLiteral("NT_TBL_DETAIL_FREE");
const QString kDescription = QStringLiteral("NT_TBL_DESCRIPTION");
const QString kPicture = QStringLiteral("NT_TBL_PICTURE");
const QString kSheet = QStringLiteral("NT_TBL_COMPARE_MAIN");
const QString kBreakdown = QStringLiteral("NT_TBL_COMPARE_DETAIL");

const Choices kLevels = {{"1", QStringLiteral("向上")}, {"2", QStringLiteral("同程度")}, {"3", QStringLiteral("低下")}};
const Choices kYesNo = {{"1", QStringLiteral("有り")}, {"0", QStringLiteral("無し")}};

// The shown fields of each table in screen order.
struct TableItems
{
    QStringList order;
    QHash<QString, Item> items;
};

class Catalogue
{
public:
    Catalogue()
    {
        names();
        summary();
        comparison();
        records();
        rowTables();
    }
    const TableItems& table(const QString& name) const
    {
        static const TableItems none;
        const auto found = m_tables.constFind(name);
        return found == m_tables.cend() ? none : *found;
    }

private:
    void add(const QString& table, const QString& field, const QString& page, const QString& caption, Shown shown = Shown::Text,
             const Choices& choices = {}, const QString& lookup = {}, const QString& control = {})
    {
        TableItems& items = m_tables[table];
        items.order.append(field);
        items.items.insert(field, Item{page, caption, control.isEmpty() ? field : control, shown, choices, lookup});
    }

    void names()
    {
        const QString page = inputcheck::kNamesPage;
        add(kMain, "TECH_TITLE", page, QStringLiteral("技術名称"));
        add(kMain, "TECH_SUBTITLE", page, QStringLiteral("副題"));
        add(kMain, "TECH_DVLP_YEAR", page, QStringLiteral("技術開発年"));
        add(kMain, "DB_REG_DATE", page, QStringLiteral("記入年月日"));
        add(kMain, "TECH_DVLP_COMPANY", page, QStringLiteral("開発会社"));
        add(kMain, "DVLP_TYPE_CODE", page, QStringLiteral("開発形態"), Shown::Choice,
            {{"1", QStringLiteral("単独（産）")}, {"7", QStringLiteral("共同研究（産・産）")}, {"2", QStringLiteral("単独（官）")},
             {"8", QStringLiteral("共同研究（産・官）")}, {"3", QStringLiteral("単独（学）")}, {"9", QStringLiteral("共同研究（産・学）")},
             {"0", QStringLiteral("共同研究（産・官・学）")}});
        add(kMain, "OPEN_DIV_CD", page, QStringLiteral("公開範囲"), Shown::Choice,
            {{"0", QStringLiteral("国土交通省のみ")}, {"2", QStringLiteral("一般")}});
        add(kMain, "GRP_CODE1", page, QStringLiteral("区分"), Shown::Lookup, {}, QStringLiteral("NT_STBL_INFO_GRP1"), QStringLiteral("GRP_TITLE1"));

        for (const auto& [suffix, contact] : {std::pair{"", "問合せ先（技術）"}, {"_BUSINESS", "問合せ先（営業）"}}) {
            const QString heading = QString::fromUtf8(contact) + QLatin1Char(' ');
            const auto field = [&](const char* name) { return QLatin1String(name) + QLatin1String(suffix); };
            add(kDetail, field("SALES_COMPANY"), page, heading + QStringLiteral("会社"));
            add(kDetail, field("SALES_SECTION"), page, heading + QStringLiteral("担当部署"));
            add(kDetail, field("SALES_STUFF"), page, heading + QStringLiteral("担当者"));
            add(kDetail, *suffix ? QStringLiteral("SALES_POST_CODE_BUSINESS") : QStringLiteral("SALES_POST_CODE"), page,
                heading + QStringLiteral("郵便番号"), Shown::Text, {}, {},
                *suffix ? QStringLiteral("SALES_POST_CODE_BUSINESS1") : QStringLiteral("SALES_POST_CODE1"));
            add(kDetail, field("SALES_ADDRESS"), page, heading + QStringLiteral("住所"));
            add(kDetail, field("SALES_TEL_NO"), page, heading + QStringLiteral("TEL"));
            add(kDetail, field("SALES_FAX_NO"), page, heading + QStringLiteral("FAX"));
            add(kDetail, field("SALES_E_MAIL"), page, heading + QStringLiteral("E-MAIL"));
            add(kDetail, field("SALES_URL"), page, heading + QStringLiteral("URL"));
        }
        const QString keyword = QStringLiteral("キーワード ");
        for (const auto& [name, caption] :
             {std::pair{"KEYWD_SAFETY_YN", "安全・安心"}, {"KEYWD_ENV_YN", "環境"}, {"KEYWD_INFO_YN", "情報化"},
              {"KEYWD_COST_YN", "コスト縮減・生産性の向上"}, {"KEYWD_QUALITY_YN", "公共工事の品質確保・向上"}, {"KEYWD_LANDSCAPE_YN", "景観"},
              {"KEYWD_TRADITION_YN", "伝統・歴史・文化"}, {"KEYWD_RECYCLE_YN", "リサイクル"}})
            add(kDetail, QLatin1String(name), page, keyword + QString::fromUtf8(caption), Shown::Check);
        for (int n = 1; n <= 3; ++n)
            add(kDetail, QStringLiteral("KEYWD_FREE%1").arg(n), page, keyword + QStringLiteral("自由記入%1").arg(n));
        const QString aim = QStringLiteral("技術の目的 ");
        for (const auto& [name, caption] :
             {std::pair{"TERGET_MAN_COUNT_YN", "省人化"}, {"TERGET_MAN_POWER_YN", "省力化"}, {"TERGET_EFFICIENCY_YN", "経済性の向上"},
              {"TERGET_ACCURACY_YN", "施工精度の向上"}, {"TERGET_ENDURANCE_YN", "耐久性の向上"}, {"TERGET_SAFTY_YN", "安全性の向上"},
              {"TERGET_WORK_ENV_YN", "作業環境の向上"}, {"TERGET_AREA_ENV_YN", "周辺環境への影響抑制"},
              {"TERGET_EARTH_ENV_YN", "地球環境への影響抑制"}, {"TERGET_RESOURCE_YN", "省資源・省エネルギー"},
              {"TERGET_RESULT_YN", "品質の向上"}, {"TERGET_RECYCLE_YN", "リサイクル性向上"}, {"TERGET_OTHER_YN", "その他"}})
            add(kDetail, QLatin1String(name), page, aim + QString::fromUtf8(caption), Shown::Check);
        add(kDetail, "TERGET_OTHER", page, aim + QStringLiteral("その他の内容"));
    }

    void summary()
    {
        const QString page = inputcheck::kSummaryPage;
        add(kMain, "SUMMARY", page, QStringLiteral("要約"));
        add(kDescription, "SUMMARY_DESC", page, QStringLiteral("概要の文章"));
        add(kDescription, "FEATURE_DESC", page, QStringLiteral("特徴の文章"));
        add(kDescription, "CONDITION_DESC", page, QStringLiteral("適用条件"));
        add(kDescription, "OLD_CONST_CONDITION", page, QStringLiteral("適用範囲"));
        add(kDescription, "CNST_ATTN_DESC", page, QStringLiteral("留意事項"));
        add(kDescription, "SUBJECT_DESC", page, QStringLiteral("課題と計画"));
        for (const QString letter : {"A", "B"})
            add(kPicture, QStringLiteral("PICTURE_") + letter, page, photoItem(letter).caption + QStringLiteral(" 写真タイトル"));
    }

    void comparison()
    {
        const QString page = inputcheck::kComparisonPage;
        add(kDetail, "COMPARE_TECH_TITLE", page, QStringLiteral("従来技術名"));
        const QString heading = QStringLiteral("従来技術との比較 ");
        add(kDetail, "COMPARE_COST_NOTE", page, heading + QStringLiteral("経済性 備考"));
        add(kDetail, "COMPARE_PROCESS_NOTE", page, heading + QStringLiteral("工程 備考"));
        for (const auto& [name, caption] : {std::pair{"QUALITY", "品質"}, {"SAFTY", "安全性"}, {"CONSTRUCT", "施工性"}, {"ENV", "周辺環境への影響"}}) {
            add(kDetail, QStringLiteral("COMPARE_") + QLatin1String(name), page, heading + QString::fromUtf8(caption), Shown::Choice, kLevels);
            add(kDetail, QStringLiteral("COMPARE_%1_NOTE").arg(QLatin1String(name)), page, heading + QString::fromUtf8(caption) + QStringLiteral(" 備考"));
        }
        for (int n = 1; n <= 2; ++n) {
            const QString item = heading + QStringLiteral("自由項目%1").arg(n);
            add(kFree, QStringLiteral("FREE_ITEM_TITLE%1").arg(n), page, item + QStringLiteral(" 項目名"));
            add(kFree, QStringLiteral("FREE_ITEM%1").arg(n), page, item, Shown::Choice, kLevels);
            add(kFree, QStringLiteral("FREE_ITEM_NOTE%1").arg(n), page, item + QStringLiteral(" 備考"));
        }
        add(kDetail, "COMPARE_OTHER_NOTE", page, QStringLiteral("その他、技術のアピールポイント等"));
        add(kDetail, "COST_TYPE", page, QStringLiteral("新技術のコストタイプ"), Shown::Text, {}, {}, QStringLiteral("btnCostType"));
        add(kDetail, "CST_TBL_YN", page, QStringLiteral("歩掛り表"), Shown::Choice,
            {{"0", QStringLiteral("なし")}, {"1", QStringLiteral("標準歩掛")}, {"3", QStringLiteral("暫定歩掛")}, {"4", QStringLiteral("協会歩掛")},
             {"5", QStringLiteral("自社歩掛")}});
        add(kDescription, "CNST_METHOD_DESC", page, QStringLiteral("施工方法"));
        add(kPicture, "PICTURE_S", page, photoItem(QStringLiteral("S")).caption + QStringLiteral(" 写真タイトル"));
        add(kDescription, "CNST_COST_DESC", page, QStringLiteral("施工単価"));

        const QString sheet = QStringLiteral("活用の効果の根拠 ");
        const QString button = QStringLiteral("btnCmp");
        add(kSheet, "BASE_VALUE", page, sheet + QStringLiteral("基準とする数量"), Shown::Text, {}, {}, button);
        add(kSheet, "BASE_UNIT", page, sheet + QStringLiteral("単位"), Shown::Text, {}, {}, button);
        add(kSheet, "N_PROCESS", page, sheet + QStringLiteral("工程(新技術)"), Shown::Text, {}, {}, button);
        add(kSheet, "O_PROCESS", page, sheet + QStringLiteral("工程(従来技術)"), Shown::Text, {}, {}, button);
    }

    void records()
    {
        const QString page = inputcheck::kRecordsPage;
        const QString results = QStringLiteral("施工実績 ");
        add(kDetail, "RESULTS_MOC", page, results + QStringLiteral("国土交通省"));
        add(kDetail, "RESULTS_PUBLIC", page, results + QStringLiteral("その他公共機関"));
        add(kDetail, "RESULTS_PRIVATE", page, results + QStringLiteral("民間"));
        const QString first = QStringLiteral("港湾に係る民間技術評価 ");
        add(kDetail, "EVALUATE_MOC_NO", page, QStringLiteral("港湾に係る民間技術評価(番号)"));
        add(kDetail, "EVALUATE_MOC_DATE", page, first + QStringLiteral("評価年月日"));
        add(kDetail, "EVALUATE_MOC_URL", page, first + QStringLiteral("URL"));
        const QString second = QStringLiteral("港湾関連民間技術の確認審査・評価 ");
        add(kDetail, "EVALUATE_PRIVATE_NO", page, second + QStringLiteral("番号"));
        add(kDetail, "EVALUATE_PRIVATE_DATE", page, second + QStringLiteral("評価年月日"));
        add(kDetail, "EVALUATE_ORGAN_CODE", page, second + QStringLiteral("評価機関"), Shown::Lookup, {}, QStringLiteral("NT_STBL_INFO_EV_ORGAN"));
        add(kDetail, "EVALUATE_PRIVATE_URL", page, second + QStringLiteral("URL"));
        for (int n = 3; n <= 4; ++n) {
            const QString other = QStringLiteral("その他の制度等による証明%1 ").arg(n - 2);
            const QString k = QString::number(n);
            add(kDetail, "EVALUATE_NAME" + k, page, other + QStringLiteral("制度の名称"));
            add(kDetail, "EVALUATE_NO" + k, page, other + QStringLiteral("番号"));
            add(kDetail, "EVALUATE_ORGAN_NAME" + k, page, other + QStringLiteral("証明機関名称"));
            add(kDetail, "EVALUATE_DATE" + k, page, other + QStringLiteral("証明年月日"));
            add(kDetail, "EVALUATE_SCOPE" + k, page, other + QStringLiteral("証明範囲"));
            add(kDetail, "EVALUATE_URL" + k, page, other + QStringLiteral("URL"));
        }
        add(kDescription, "TEST_DESC", page, QStringLiteral("実験等実施状況"));
        add(kPicture, "PICTURE_T", page, photoItem(QStringLiteral("T")).caption + QStringLiteral(" 写真タイトル"));
        // The five patent blocks, each on its tab.
        for (int n = 1; n <= 5; ++n) {
            const QString block = QStringLiteral("特許情報%1 ").arg(QChar(0xFF10 + n));
            const QString k = QString::number(n);
            add(kPicture, "CERTIFY_PATENT_NO" + k, page, block + QStringLiteral("特許番号"));
            add(kPicture, "CERTIFY_PATENT_FLG" + k, page, block + QStringLiteral("特許"), Shown::Choice,
                {{"1", QStringLiteral("有り")}, {"0", QStringLiteral("出願中")}}, {}, "RbCERTIFY_PATENT_FLG_Y" + k);
            add(kPicture, "CERTIFY_PATENT_GENERAL" + k, page, block + QStringLiteral("特許-通常実施権"), Shown::Choice, kYesNo, {},
                "RbCERTIFY_PATENT_GENERAL_Y" + k);
            add(kPicture, "CERTIFY_PATENT_PRIVATE" + k, page, block + QStringLiteral("特許-専用実施権"), Shown::Choice, kYesNo, {},
                "RbCERTIFY_PATENT_PRIVATE_Y" + k);
            add(kPicture, "CERTIFY_PATENTEE" + k, page, block + QStringLiteral("特許権者"));
            add(kPicture, "CERTIFY_PRACTICE" + k, page, block + QStringLiteral("実施権者"));
            add(kPicture, "CERTIFY_PATENT_FEE" + k, page, block + QStringLiteral("特許料等"));
            add(kPicture, "CERTIFY_PRACTICE_FORM" + k, page, block + QStringLiteral("実施形態"));
            add(kPicture, "CERTIFY_ADDRESS" + k, page, block + QStringLiteral("問合せ先"));
        }
        add(kDetail, "CERTIFY_IDEA_STAT", page, QStringLiteral("実用新案"), Shown::Choice,
            {{"1", QStringLiteral("有り")}, {"2", QStringLiteral("出願中")}, {"3", QStringLiteral("出願予定")}, {"4", QStringLiteral("無し")},
             {"5", QStringLiteral("有り")}},
            {}, QStringLiteral("RbCERTIFY_IDEA_STAT1"));
        add(kDetail, "CERTIFY_IDEA_NO", page, QStringLiteral("※有りの場合：特許番号"));
        add(kDetail, "CERTIFY_IDEA_GENERAL", page, QStringLiteral("実施新案-通常実施権"), Shown::Choice, kYesNo, {},
            QStringLiteral("RbCERTIFY_IDEA_GENERAL_Y"));
        add(kDetail, "CERTIFY_IDEA_PRIVATE", page, QStringLiteral("実施新案-専用実施権"), Shown::Choice, kYesNo, {},
            QStringLiteral("RbCERTIFY_IDEA_PRIVATE_Y"));
        add(kDescription, "CERTIFY_NOTE", page, QStringLiteral("特許・実用新案 備考"));
        for (const QString letter : {"G", "H", "I"})
            add(kPicture, QStringLiteral("PICTURE_") + letter, page, photoItem(letter).caption + QStringLiteral(" 写真タイトル"));
        add(kDescription, "REF_DESC", page, QStringLiteral("参考文献"));
        add(kDescription, "APDX_DESC", page, QStringLiteral("添付資料"));
    }

    // The columns of the row tables, as their grids and dialogs head them.
    void rowTables()
    {
        const QString names = inputcheck::kNamesPage;
        const QString company = QStringLiteral("NT_TBL_COMPANY");
        for (const auto& [field, caption] :
             {std::pair{"SALES_COMPANY_OTHER", "会社"}, {"SALES_SECTION_OTHER", "担当部署"}, {"SALES_STUFF_OTHER", "担当者"},
              {"SALES_POST_CODE_OTHER", "郵便番号"}, {"SALES_ADDRESS_OTHER", "住所"}, {"SALES_TEL_NO_OTHER", "TEL"},
              {"SALES_FAX_NO_OTHER", "FAX"}, {"SALES_E_MAIL_OTHER", "E-MAIL"}, {"SALES_URL_OTHER", "URL"}})
            add(company, QLatin1String(field), names, QString::fromUtf8(caption), Shown::Text, {}, {}, company);

        const QString records = inputcheck::kRecordsPage;
        const QString evaluation = QStringLiteral("NT_TBL_EVALUATE_RESULT");
        for (const auto& [field, caption] : {std::pair{"ITEM", "証明項目"}, {"CONTENTS", "試験調査内容"}, {"RESULT", "結果"}})
            add(evaluation, QLatin1String(field), records, QString::fromUtf8(caption), Shown::Text, {}, {}, evaluation);

        const QString moc = QStringLiteral("PL_TBL_PROJECT_MOC");
        add(moc, "PJT_NAME", records, QStringLiteral("工事名"), Shown::Text, {}, {}, moc);
        add(moc, "PJT_TYPE_CODE", records, QStringLiteral("事業種類"), Shown::Lookup, {}, QStringLiteral("PL_STBL_PJT_TYPE"), moc);
        add(moc, "CLIENT_MOC_CODE", records, QStringLiteral("地方整備局名"), Shown::Lookup, {}, QStringLiteral("PL_STBL_CLIENT_MOC"), moc);
        add(moc, "CLIENT_MOC_OFFICE", records, QStringLiteral("事務所"), Shown::Text, {}, {}, moc);
        add(moc, "PJT_START_DATE", records, QStringLiteral("施工開始"), Shown::Text, {}, {}, moc);
        add(moc, "PJT_END_DATE", records, QStringLiteral("施工終了"), Shown::Text, {}, {}, moc);
        add(moc, "TALVEN_NO", records, QStringLiteral("TALVEN 登録 Ｎo．"), Shown::Text, {}, {}, moc);

        const QString other = QStringLiteral("PL_TBL_PROJECT_PRIVATE");
        add(other, "PJT_NAME", records, QStringLiteral("工事名"), Shown::Text, {}, {}, other);
        add(other, "CLIENT_KIND_CD", records, QStringLiteral("発注者(種別)"), Shown::Lookup, {}, QStringLiteral("PL_STBL_CLIENT_KIND"), other);
        add(other, "CLIENT_NAME", records, QStringLiteral("発注者（事務所）"), Shown::Text, {}, {}, other);
        add(other, "PJT_START_DATE", records, QStringLiteral("施工開始"), Shown::Text, {}, {}, other);
        add(other, "PJT_END_DATE", records, QStringLiteral("施工終了"), Shown::Text, {}, {}, other);
        add(other, "TALVEN_NO", records, QStringLiteral("TALVEN 登録 Ｎo．"), Shown::Text, {}, {}, other);

        const QString page = inputcheck::kComparisonPage;
        for (const auto& [field, caption] : {std::pair{"ITEM", "項目"}, {"METHOD", "仕様"}, {"F_VALUE", "数量"}, {"F_UNIT", "単位"},
                                             {"UNIT_PRICE", "単価（円）"}, {"PRICE", "金額（円）"}, {"SAMMARY", "摘要"}})
            add(kBreakdown, QLatin1String(field), page, QString::fromUtf8(caption), Shown::Text, {}, {}, QStringLiteral("btnCmp"));
    }

    QHash<QString, TableItems> m_tables;
};

// An item with its place only: shown as stored.
Item placed(const QString& page, const QString& caption, const QString& control)
{
    return Item{page, caption, control, Shown::Text, {}, {}};
}

const Catalogue& catalogue()
{
    static const Catalogue instance;
    return instance;
}

} // namespace

Item fieldItem(const QString& table, const QString& field)
{
    return catalogue().table(table).items.value(field);
}

QStringList shownFields(const QString& table)
{
    return catalogue().table(table).order;
}

Item rowsItem(const QString& table, const QString& recordType)
{
    if (table == QLatin1String("NT_TBL_COMPANY"))
        return placed(inputcheck::kNamesPage, QStringLiteral("問合せ先（その他）"), table);
    if (table == QLatin1String("NT_TBL_EVALUATE_RESULT"))
        return placed(inputcheck::kRecordsPage, QStringLiteral("評価・証明と結果"), table);
    if (table == QLatin1String("PL_TBL_PROJECT_MOC"))
        return placed(inputcheck::kRecordsPage, QStringLiteral("施工実績（国土交通省）"), table);
    if (table == QLatin1String("PL_TBL_PROJECT_PRIVATE"))
        return placed(inputcheck::kRecordsPage, QStringLiteral("施工実績（国土交通省以外）"), table);
    if (table == kBreakdown)
        return placed(inputcheck::kComparisonPage,
                recordType == QLatin1String("1") ? QStringLiteral("活用の効果の根拠 従来技術の内訳") : QStringLiteral("活用の効果の根拠 新技術の内訳"),
                QStringLiteral("btnCmp"));
    return {};
}

QStringList descriptionTableFields()
{
    return {QStringLiteral("SUMMARY_TABLE"), QStringLiteral("FEATURE_TABLE"), QStringLiteral("CNST_METHOD_TABLE"),
            QStringLiteral("CNST_COST_TABLE"), QStringLiteral("TEST_TABLE")};
}

Item descriptionTableItem(const QString& field)
{
    static const QHash<QString, QString> names = {{"SUMMARY_TABLE", QStringLiteral("概要")},
                                                  {"FEATURE_TABLE", QStringLiteral("特徴")},
                                                  {"CNST_METHOD_TABLE", QStringLiteral("施工方法")},
                                                  {"CNST_COST_TABLE", QStringLiteral("施工単価")},
                                                  {"TEST_TABLE", QStringLiteral("実験等実施状況")}};
    const QString name = names.value(field);
    if (name.isEmpty())
        return {};
    return placed(inputcheck::pageOf(field), name + QStringLiteral("の表"), field);
}

Item classificationItem(int slot)
{
    return placed(inputcheck::kNamesPage, slot == 1 ? QStringLiteral("分類") : QStringLiteral("分類%1").arg(slot),
            classification::listBoxName(1, slot));
}

Item photoItem(const QString& letter)
{
    static const QHash<QString, QString> names = {
        {"A", QStringLiteral("概要の写真")},          {"B", QStringLiteral("特徴の写真")},   {"S", QStringLiteral("施工方法の写真")},
        {"T", QStringLiteral("実験等実施状況の写真")}, {"G", QStringLiteral("その他の写真1")}, {"H", QStringLiteral("その他の写真2")},
        {"I", QStringLiteral("その他の写真3")}};
    const QString name = names.value(letter);
    if (name.isEmpty())
        return {};
    const QString button = QStringLiteral("BtnPICTURE_") + letter;
    return placed(inputcheck::pageOf(button), name, button);
}

Item conditionsItem()
{
    return placed(inputcheck::kSummaryPage, QStringLiteral("施工条件"), QStringLiteral("CnstArea"));
}

QString shownValue(const Item& item, const QString& stored, const std::function<QString(const QString&, const QString&)>& lookup)
{
    switch (item.shown) {
    case Shown::Text:
        return stored;
    case Shown::Check:
        return stored == QLatin1String("1") ? QStringLiteral("チェックあり") : QStringLiteral("チェックなし");
    case Shown::Choice:
        for (const auto& [code, caption] : item.choices) {
            if (code == stored)
                return caption;
        }
        return stored.isEmpty() ? QStringLiteral("（選択なし）") : stored;
    case Shown::Lookup: {
        if (stored.isEmpty())
            return QString();
        const QString name = lookup ? lookup(item.lookupTable, stored) : QString();
        return name.isEmpty() ? stored : name;
    }
    }
    return stored;
}

} // namespace captions
