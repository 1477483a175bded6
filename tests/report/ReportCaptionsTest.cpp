#include "ReportFixture.h"

#include "report/HtmlText.h"
#include "report/ReportGenerator.h"
#include "util/SjisText.h"

#include <QRegularExpression>

using namespace report;

namespace {

// The cells of the report's own tables (class "form" or "list") and its long texts, each under a
// key of the heading above, the row's caption (or the group row above it, or the row's number in a list),
// and the column's caption: "heading|row|column" for a list, "heading|group|caption" for a form
// row, whose value cells are joined.
QMap<QString, QString> captionedCells(const QString& html)
{
    static const QRegularExpression token(
        QStringLiteral("<H[23]>(.*?)</H[23]>|<TABLE([^>]*)>|</TABLE>|<TR[^>]*>(.*?)</TR>|"
                       "<DIV class=\"memo\"><DIV class=\"caption\">(.*?)</DIV><DIV class=\"value\">(.*?)</DIV></DIV>"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression cell(QStringLiteral("<(TH|TD)([^>]*)>(.*?)</\\1>"), QRegularExpression::DotMatchesEverythingOption);
    QMap<QString, QString> cells;
    QString heading;
    QString group;
    bool inReportTable = false;
    QStringList header; // the column captions of a list; empty in a form
    int row = 0;
    for (auto it = token.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString whole = m.captured(0);
        if (whole.startsWith(QLatin1String("<DIV"))) {
            cells.insert(heading + QStringLiteral("||") + m.captured(4).trimmed(), m.captured(5));
        } else if (whole.startsWith(QLatin1String("<H"))) {
            heading = m.captured(1).trimmed();
        } else if (whole.startsWith(QLatin1String("<TABLE"))) {
            inReportTable = m.captured(2).contains(QLatin1String("form")) || m.captured(2).contains(QLatin1String("list"));
            header.clear();
            group.clear();
            row = 0;
        } else if (whole == QLatin1String("</TABLE>")) {
            inReportTable = false;
        } else if (inReportTable) {
            QList<std::pair<bool, QString>> found; // (is a caption cell, text)
            for (auto c = cell.globalMatch(m.captured(3)); c.hasNext();) {
                const QRegularExpressionMatch one = c.next();
                found.append({one.captured(1) == QLatin1String("TH"), one.captured(3).trimmed()});
            }
            const bool allCaptions = std::all_of(found.begin(), found.end(), [](const auto& c) { return c.first; });
            if (found.size() == 1 && allCaptions) {
                group = found.first().second;
            } else if (allCaptions && row == 0) {
                for (const auto& c : found)
                    header.append(c.second);
            } else if (!header.isEmpty()) {
                ++row;
                EXPECT_EQ(found.size(), header.size()) << "row " << row << " under " << heading.toStdString();
                const QString rowName = found.first().first ? found.first().second : QString::number(row);
                for (int i = found.first().first ? 1 : 0; i < found.size() && i < header.size(); ++i)
                    cells.insert(heading + QLatin1Char('|') + rowName + QLatin1Char('|') + header.at(i), found.at(i).second);
            } else if (!found.isEmpty() && found.first().first) {
                QStringList values;
                for (int i = 1; i < found.size(); ++i)
                    values.append(found.at(i).second);
                cells.insert(heading + QLatin1Char('|') + group + QLatin1Char('|') + found.first().second, values.join(QLatin1Char('\n')));
            }
        }
    }
    return cells;
}

class ReportCaptionsTest : public ReportFixture
{
protected:
    // Gives the field of the table's current row a value of its own and remembers its text
    // under "TABLE.FIELD".
    void mark(const char* tableName, const char* field, const QString& token = {})
    {
        store::Table* t = table(tableName);
        store::Field f = t->field(QLatin1String(field));
        ASSERT_TRUE(f.isValid()) << tableName << "." << field;
        const int n = ++m_count;
        QVariant value;
        switch (f.def().type) {
        case store::FieldType::Float:
        case store::FieldType::Integer: value = 100 + n; break;
        case store::FieldType::DateTime: value = QDate(2020, 1, 1).addDays(n); break;
        default: value = QStringLiteral("#%1#").arg(n, 2, 10, QLatin1Char('0'));
        }
        if (!t->isEditing())
            t->edit();
        QString error;
        ASSERT_TRUE(f.setValue(value, &error)) << field << ": " << error.toStdString();
        t->post();
        values.insert(token.isEmpty() ? QLatin1String(tableName) + QLatin1Char('.') + QLatin1String(field) : token,
                      html::escape(t->field(QLatin1String(field)).asString()));
    }

    QHash<QString, QString> values;

private:
    int m_count = 0;
};

// Every caption of every template stands beside its own value, and every caption the report
// prints is one of this table: each value is put under its caption once, and no caption is
// left without its value.
TEST_F(ReportCaptionsTest, EveryCaptionStandsBesideItsOwnValue)
{
    // Values of their own for every field the report shows.
    for (const char* f : {"TECH_TITLE", "TECH_SUBTITLE", "TECH_DVLP_YEAR", "DB_REG_DATE", "TECH_DVLP_COMPANY", "SUMMARY"})
        mark("NT_TBL_MAIN", f);
    values.insert(QStringLiteral("NT_TBL_MAIN.REG_NO"), number);
    const QStringList contactItems = {"COMPANY", "SECTION", "STUFF", "ADDRESS", "TEL_NO", "FAX_NO", "E_MAIL", "URL"};
    for (const QString& item : contactItems) {
        for (const QString& suffix : {QString(), QStringLiteral("_BUSINESS")})
            mark("NT_TBL_DETAIL", qPrintable(QStringLiteral("SALES_") + item + suffix));
    }
    set("NT_TBL_DETAIL", "SALES_POST_CODE", QStringLiteral("〒111-2222"));
    set("NT_TBL_DETAIL", "SALES_POST_CODE_BUSINESS", QStringLiteral("〒333-4444"));
    for (const char* f : {"KEYWD_FREE1", "KEYWD_FREE2", "KEYWD_FREE3", "TERGET_OTHER", "COMPARE_TECH_TITLE", "COMPARE_COST_NOTE",
                          "COMPARE_PROCESS_NOTE", "COMPARE_QUALITY_NOTE", "COMPARE_SAFTY_NOTE", "COMPARE_CONSTRUCT_NOTE", "COMPARE_ENV_NOTE",
                          "COMPARE_OTHER_NOTE", "RESULTS_MOC", "RESULTS_PUBLIC", "RESULTS_PRIVATE", "EVALUATE_MOC_NO", "EVALUATE_MOC_DATE",
                          "EVALUATE_MOC_URL", "EVALUATE_PRIVATE_NO", "EVALUATE_PRIVATE_DATE", "EVALUATE_PRIVATE_URL", "EVALUATE_NAME3",
                          "EVALUATE_NO3", "EVALUATE_ORGAN_NAME3", "EVALUATE_DATE3", "EVALUATE_SCOPE3", "EVALUATE_URL3", "EVALUATE_NAME4",
                          "EVALUATE_NO4", "EVALUATE_ORGAN_NAME4", "EVALUATE_DATE4", "EVALUATE_SCOPE4", "EVALUATE_URL4", "CERTIFY_IDEA_NO",
                          "CERTIFY_PATENT_NO"})
        mark("NT_TBL_DETAIL", f);
    for (const auto& [field, value] : {std::pair{"DVLP_TYPE_CODE", "8"}, {"OPEN_DIV_CD", "2"}})
        set("NT_TBL_MAIN", field, QString::fromUtf8(value));
    for (const auto& [field, value] : {std::pair{"TERGET_AREA_ENV_YN", "1"}, {"COMPARE_QUALITY", "3"}, {"COMPARE_SAFTY", "1"},
                                       {"COMPARE_CONSTRUCT", "2"}, {"COMPARE_ENV", "1"}, {"CST_TBL_YN", "3"}, {"CERTIFY_IDEA_STAT", "2"},
                                       {"CERTIFY_IDEA_GENERAL", "1"}})
        set("NT_TBL_DETAIL", field, QString::fromUtf8(value));
    for (const char* f : {"SUMMARY_DESC", "FEATURE_DESC", "CONDITION_DESC", "OLD_CONST_CONDITION", "CNST_ATTN_DESC", "SUBJECT_DESC",
                          "CNST_METHOD_DESC", "CNST_COST_DESC", "TEST_DESC", "REF_DESC", "APDX_DESC", "CERTIFY_NOTE"})
        mark("NT_TBL_DESCRIPTION", f);
    const QStringList blockItems = {"CERTIFY_PATENT_NO", "CERTIFY_PATENTEE", "CERTIFY_PRACTICE", "CERTIFY_PATENT_FEE", "CERTIFY_PRACTICE_FORM",
                                    "CERTIFY_ADDRESS"};
    for (int block = 1; block <= 5; ++block) {
        for (const QString& item : blockItems)
            mark("NT_TBL_PICTURE", qPrintable(item + QString::number(block)));
    }
    set("NT_TBL_PICTURE", "CERTIFY_PATENT_GENERAL2", QStringLiteral("1"));
    set("NT_TBL_PICTURE", "CERTIFY_PATENT_PRIVATE3", QStringLiteral("1"));
    set("NT_TBL_DETAIL_FREE", "FREE_ITEM_TITLE1", QStringLiteral("自由項目A"));
    set("NT_TBL_DETAIL_FREE", "FREE_ITEM_TITLE2", QStringLiteral("自由項目B"));
    set("NT_TBL_DETAIL_FREE", "FREE_ITEM2", QStringLiteral("3"));
    for (const char* f : {"FREE_ITEM_NOTE1", "FREE_ITEM_NOTE2"})
        mark("NT_TBL_DETAIL_FREE", f);
    for (const char* f : {"BASE_VALUE", "BASE_UNIT", "N_PROCESS", "O_PROCESS"})
        mark("NT_TBL_COMPARE_MAIN", f);
    set("PL_TBL_PROJECT_MOC", "CLIENT_MOC_CODE", QStringLiteral("031"));
    for (const char* f : {"PJT_NAME", "CLIENT_MOC_OFFICE", "PJT_START_DATE", "PJT_END_DATE", "TALVEN_NO"})
        mark("PL_TBL_PROJECT_MOC", f);
    set("PL_TBL_PROJECT_PRIVATE", "CLIENT_KIND_CD", QStringLiteral("1"));
    for (const char* f : {"PJT_NAME", "CLIENT_NAME", "PJT_START_DATE", "PJT_END_DATE", "TALVEN_NO"})
        mark("PL_TBL_PROJECT_PRIVATE", f);
    for (const char* f : {"SALES_COMPANY_OTHER", "SALES_SECTION_OTHER", "SALES_STUFF_OTHER", "SALES_POST_CODE_OTHER", "SALES_ADDRESS_OTHER",
                          "SALES_TEL_NO_OTHER", "SALES_FAX_NO_OTHER", "SALES_E_MAIL_OTHER", "SALES_URL_OTHER"})
        mark("NT_TBL_COMPANY", f);
    for (const char* f : {"ITEM", "CONTENTS", "RESULT"})
        mark("NT_TBL_EVALUATE_RESULT", f);
    for (const char* f : {"ITEM", "METHOD", "F_VALUE", "F_UNIT", "UNIT_PRICE", "PRICE", "SAMMARY"}) {
        mark("CdsNT_TBL_COMPARE_DETAIL1", f, QStringLiteral("NEW.") + QLatin1String(f));
        mark("CdsNT_TBL_COMPARE_DETAIL2", f, QStringLiteral("OLD.") + QLatin1String(f));
    }

    ReportScreen screen = screenFromTables(*dm);
    screen.groupTitle = QStringLiteral("区分の題");
    for (int slot = 0; slot < 5; ++slot) {
        for (int level = 0; level < 4; ++level)
            screen.levelTitles[size_t(slot)][size_t(level)] = QStringLiteral("分類%1の%2").arg(slot + 1).arg(level + 1);
    }
    screen.rateCost = QStringLiteral("20");
    screen.costRateLabel = QStringLiteral("20");
    screen.rateProcess = QStringLiteral("-5");
    screen.processRateLabel = QStringLiteral("-5");
    screen.totalNewTech = QStringLiteral("8000");
    screen.totalOldTech = QStringLiteral("10000");
    screen.costTypeName = QStringLiteral("コストタイプの名");

    // Caption → what must stand beside it: "TABLE.FIELD" for a field's value, "✓" followed by the
    // option that must be marked, "=" followed by a literal text.
    QMap<QString, QStringList> expected;
    const auto expect = [&expected](const QString& key, const QStringList& pieces) { expected.insert(key, pieces); };
    const QString names = QStringLiteral("１．名称・分類等||");
    expect(names + "技術名称", {"NT_TBL_MAIN.TECH_TITLE"});
    expect(names + "副題", {"NT_TBL_MAIN.TECH_SUBTITLE"});
    expect(names + "登録番号", {"NT_TBL_MAIN.REG_NO"});
    expect(names + "技術開発年", {"NT_TBL_MAIN.TECH_DVLP_YEAR"});
    expect(names + "記入年月日", {"NT_TBL_MAIN.DB_REG_DATE"});
    expect(names + "公開範囲", {"✓一般"});
    expect("分類||区分", {"=区分の題"});
    const QStringList levels = {"レベル１", "レベル２", "レベル３", "レベル４"};
    for (int slot = 1; slot <= 5; ++slot) {
        for (int level = 1; level <= 4; ++level)
            expect(QStringLiteral("分類|%1|%2").arg(slot == 1 ? QStringLiteral("分類") : QStringLiteral("分類%1").arg(slot), levels.at(level - 1)),
                   {QStringLiteral("=分類%1の%2").arg(slot).arg(level)});
    }
    expect("開発体制||開発形態", {"✓産・官"});
    expect("開発体制||開発会社", {"NT_TBL_MAIN.TECH_DVLP_COMPANY"});
    const QStringList contactCaptions = {"会社", "担当部署", "担当者", "住所", "TEL", "FAX", "E-MAIL", "URL"};
    for (int i = 0; i < contactItems.size(); ++i) {
        expect("問合せ先|" + contactCaptions.at(i) + "|技術", {"NT_TBL_DETAIL.SALES_" + contactItems.at(i)});
        expect("問合せ先|" + contactCaptions.at(i) + "|営業", {"NT_TBL_DETAIL.SALES_" + contactItems.at(i) + "_BUSINESS"});
    }
    expect("問合せ先|郵便番号|技術", {"=〒111-2222"});
    expect("問合せ先|郵便番号|営業", {"=〒333-4444"});
    for (const auto& [caption, item] : {std::pair{"会社", "COMPANY"}, {"担当部署", "SECTION"}, {"担当者", "STUFF"}, {"郵便番号", "POST_CODE"},
                                        {"住所", "ADDRESS"}, {"TEL", "TEL_NO"}, {"FAX", "FAX_NO"}, {"E-MAIL", "E_MAIL"}, {"URL", "URL"}})
        expect(QStringLiteral("その他の問合せ先|1|") + caption, {QStringLiteral("NT_TBL_COMPANY.SALES_%1_OTHER").arg(item)});
    expect("キーワード||キーワード", {"✓環境"});
    for (int n = 1; n <= 3; ++n)
        expect(QStringLiteral("キーワード||自由記入%1").arg(n), {QStringLiteral("NT_TBL_DETAIL.KEYWD_FREE%1").arg(n)});
    expect("開発目標||開発目標", {"✓周辺環境への影響抑制"});
    expect("開発目標||その他の内容", {"NT_TBL_DETAIL.TERGET_OTHER"});

    expect("概要||要約", {"NT_TBL_MAIN.SUMMARY"});
    expect("概要||概要", {"NT_TBL_DESCRIPTION.SUMMARY_DESC"});
    expect("特徴||特徴", {"NT_TBL_DESCRIPTION.FEATURE_DESC"});
    expect("適用条件等||適用条件", {"NT_TBL_DESCRIPTION.CONDITION_DESC"});
    expect("適用条件等||適用範囲", {"NT_TBL_DESCRIPTION.OLD_CONST_CONDITION"});
    expect("適用条件等||留意事項", {"NT_TBL_DESCRIPTION.CNST_ATTN_DESC"});
    expect("適用条件等||課題と計画", {"NT_TBL_DESCRIPTION.SUBJECT_DESC"});

    const QString comparison = QStringLiteral("３．従来技術との比較||");
    expect(comparison + "従来技術名", {"NT_TBL_DETAIL.COMPARE_TECH_TITLE"});
    expect(comparison + "経済性", {"✓向上（20％）", "NT_TBL_DETAIL.COMPARE_COST_NOTE"});
    expect(comparison + "工程", {"✓増加（5％）", "NT_TBL_DETAIL.COMPARE_PROCESS_NOTE"});
    expect(comparison + "品質", {"✓低下", "NT_TBL_DETAIL.COMPARE_QUALITY_NOTE"});
    expect(comparison + "安全性", {"✓向上", "NT_TBL_DETAIL.COMPARE_SAFTY_NOTE"});
    expect(comparison + "施工性", {"✓同程度", "NT_TBL_DETAIL.COMPARE_CONSTRUCT_NOTE"});
    expect(comparison + "周辺環境への影響", {"✓向上", "NT_TBL_DETAIL.COMPARE_ENV_NOTE"});
    expect(comparison + "自由項目1：自由項目A", {"✓同程度", "NT_TBL_DETAIL_FREE.FREE_ITEM_NOTE1"});
    expect(comparison + "自由項目2：自由項目B", {"✓低下", "NT_TBL_DETAIL_FREE.FREE_ITEM_NOTE2"});
    expect(comparison + "その他、技術のアピールポイント等", {"NT_TBL_DETAIL.COMPARE_OTHER_NOTE"});
    expect("活用の効果の根拠||基準とする数量", {"NT_TBL_COMPARE_MAIN.BASE_VALUE", "NT_TBL_COMPARE_MAIN.BASE_UNIT"});
    expect("活用の効果の根拠|経済性|新技術", {"=8000"});
    expect("活用の効果の根拠|経済性|従来技術", {"=10000"});
    expect("活用の効果の根拠|経済性|向上の程度", {"=20"});
    expect("活用の効果の根拠|工程|新技術", {"NT_TBL_COMPARE_MAIN.N_PROCESS"});
    expect("活用の効果の根拠|工程|従来技術", {"NT_TBL_COMPARE_MAIN.O_PROCESS"});
    expect("活用の効果の根拠|工程|向上の程度", {"=-5"});
    for (const auto& [caption, field] : {std::pair{"項目", "ITEM"}, {"仕様", "METHOD"}, {"数量", "F_VALUE"}, {"単位", "F_UNIT"},
                                         {"単価（円）", "UNIT_PRICE"}, {"金額（円）", "PRICE"}, {"摘要", "SAMMARY"}}) {
        expect(QStringLiteral("新技術の内訳|1|") + caption, {QStringLiteral("NEW.") + field});
        expect(QStringLiteral("従来技術の内訳|1|") + caption, {QStringLiteral("OLD.") + field});
    }
    expect("コストタイプ・歩掛り||新技術のコストタイプ", {"=コストタイプの名"});
    expect("コストタイプ・歩掛り||歩掛り表", {"✓暫定歩掛"});
    expect("施工方法||施工方法", {"NT_TBL_DESCRIPTION.CNST_METHOD_DESC"});
    expect("施工単価||施工単価", {"NT_TBL_DESCRIPTION.CNST_COST_DESC"});

    expect("施工実績|1|国土交通省", {"NT_TBL_DETAIL.RESULTS_MOC"});
    expect("施工実績|1|その他公共機関", {"NT_TBL_DETAIL.RESULTS_PUBLIC"});
    expect("施工実績|1|民間", {"NT_TBL_DETAIL.RESULTS_PRIVATE"});
    const QString moc = QStringLiteral("国土交通省の施工実績|1|");
    expect(moc + "工事名", {"PL_TBL_PROJECT_MOC.PJT_NAME"});
    expect(moc + "事業種類", {"=技術活用パイロット"});
    expect(moc + "整備局名", {"=関東地方整備局"});
    expect(moc + "事務所名", {"PL_TBL_PROJECT_MOC.CLIENT_MOC_OFFICE"});
    expect(moc + "施工期間（開始）", {"PL_TBL_PROJECT_MOC.PJT_START_DATE"});
    expect(moc + "施工期間（終了）", {"PL_TBL_PROJECT_MOC.PJT_END_DATE"});
    expect(moc + "TALVEN登録番号", {"PL_TBL_PROJECT_MOC.TALVEN_NO"});
    const QString other = QStringLiteral("その他の施工実績|1|");
    expect(other + "工事名", {"PL_TBL_PROJECT_PRIVATE.PJT_NAME"});
    expect(other + "発注者（種別）", {"=民間"});
    expect(other + "発注者（事務所名等）", {"PL_TBL_PROJECT_PRIVATE.CLIENT_NAME"});
    expect(other + "施工期間（開始）", {"PL_TBL_PROJECT_PRIVATE.PJT_START_DATE"});
    expect(other + "施工期間（終了）", {"PL_TBL_PROJECT_PRIVATE.PJT_END_DATE"});
    expect(other + "TALVEN登録番号", {"PL_TBL_PROJECT_PRIVATE.TALVEN_NO"});
    expect("実験等実施状況||実験等実施状況", {"NT_TBL_DESCRIPTION.TEST_DESC"});
    const QString evaluation = QStringLiteral("評価・証明|");
    expect(evaluation + "港湾に係る民間技術評価|番号", {"NT_TBL_DETAIL.EVALUATE_MOC_NO"});
    expect(evaluation + "港湾に係る民間技術評価|評価年月日", {"NT_TBL_DETAIL.EVALUATE_MOC_DATE"});
    expect(evaluation + "港湾に係る民間技術評価|URL", {"NT_TBL_DETAIL.EVALUATE_MOC_URL"});
    expect(evaluation + "港湾関連民間技術の確認審査・評価|番号", {"NT_TBL_DETAIL.EVALUATE_PRIVATE_NO"});
    expect(evaluation + "港湾関連民間技術の確認審査・評価|評価年月日", {"NT_TBL_DETAIL.EVALUATE_PRIVATE_DATE"});
    expect(evaluation + "港湾関連民間技術の確認審査・評価|評価機関", {"=一般財団法人 沿岸港湾技術評価センター", "=03-0000-4101"});
    expect(evaluation + "港湾関連民間技術の確認審査・評価|URL", {"NT_TBL_DETAIL.EVALUATE_PRIVATE_URL"});
    for (int n = 3; n <= 4; ++n) {
        const QString group = evaluation + QStringLiteral("証明%1|").arg(n - 2);
        for (const auto& [caption, item] : {std::pair{"制度の名称", "NAME"}, {"番号", "NO"}, {"証明機関名称", "ORGAN_NAME"}, {"証明年月日", "DATE"},
                                            {"証明範囲", "SCOPE"}, {"URL", "URL"}})
            expect(group + caption, {QStringLiteral("NT_TBL_DETAIL.EVALUATE_%1%2").arg(item).arg(n)});
    }
    expect("評価・証明と結果|1|証明項目", {"NT_TBL_EVALUATE_RESULT.ITEM"});
    expect("評価・証明と結果|1|試験調査内容", {"NT_TBL_EVALUATE_RESULT.CONTENTS"});
    expect("評価・証明と結果|1|結果", {"NT_TBL_EVALUATE_RESULT.RESULT"});
    const QString patents = QStringLiteral("特許・実用新案|");
    expect(patents + "|特許", {"✓有り（専用実施権）", "NT_TBL_DETAIL.CERTIFY_PATENT_NO"});
    expect(patents + "|実用新案", {"✓出願中"});
    expect(patents + "|実用新案の特許番号", {"NT_TBL_DETAIL.CERTIFY_IDEA_NO"});
    expect(patents + "|実用新案の実施権", {"✓通常実施権"});
    expect(patents + "|備考", {"NT_TBL_DESCRIPTION.CERTIFY_NOTE"});
    for (int block = 1; block <= 5; ++block) {
        const QString row = patents + QString::number(block) + QLatin1Char('|');
        expect(row + "No.", {QStringLiteral("=%1").arg(block)});
        expect(row + "特許番号", {QStringLiteral("NT_TBL_PICTURE.CERTIFY_PATENT_NO%1").arg(block)});
        for (const auto& [caption, item] : {std::pair{"特許権者", "PATENTEE"}, {"実施権者", "PRACTICE"}, {"特許料等", "PATENT_FEE"},
                                            {"実施形態", "PRACTICE_FORM"}, {"問合せ先", "ADDRESS"}})
            expect(row + caption, {QStringLiteral("NT_TBL_PICTURE.CERTIFY_%1%2").arg(item).arg(block)});
        expect(row + "通常実施権", {block == 2 ? "✓" : "=box"});
        expect(row + "専用実施権", {block == 3 ? "✓" : "=box"});
    }
    expected[patents + "1|特許番号"].append(QStringLiteral("=【出願中】"));
    expect("参考資料||参考文献", {"NT_TBL_DESCRIPTION.REF_DESC"});
    expect("参考資料||添付資料", {"NT_TBL_DESCRIPTION.APDX_DESC"});

    const auto report = [&](int tab) {
        QFile file(dir.filePath(templateFileName(tab)));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << templateFileName(tab).toStdString();
        return captionedCells(RemoveUnfilledTags(FillReport(*dm, screen, sjis::decode(file.readAll()))));
    };
    const QMap<QString, QString> whole = report(0);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        ASSERT_TRUE(whole.contains(it.key())) << "no caption " << it.key().toStdString();
        const QString& shown = whole.value(it.key());
        for (const QString& piece : it.value()) {
            QString text;
            if (piece.startsWith(QStringLiteral("✓")))
                text = QStringLiteral("<SPAN class=\"box\">*</SPAN>") + piece.mid(1);
            else if (piece.startsWith(QLatin1Char('=')))
                text = piece.mid(1);
            else
                text = values.value(piece);
            ASSERT_FALSE(text.isEmpty()) << piece.toStdString();
            EXPECT_TRUE(shown.contains(text)) << it.key().toStdString() << " shows " << shown.toStdString() << ", not " << text.toStdString();
        }
    }
    for (auto it = whole.cbegin(); it != whole.cend(); ++it)
        EXPECT_TRUE(expected.contains(it.key())) << "caption without an expected value: " << it.key().toStdString();

    // The section templates hold the same captions with the same cells as the whole report.
    QMap<QString, QString> sections;
    for (int tab = 1; tab <= 4; ++tab)
        sections.insert(report(tab));
    EXPECT_EQ(sections, whole);
}

} // namespace
