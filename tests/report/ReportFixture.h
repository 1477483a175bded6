#pragma once

#include "report/ReportGenerator.h"
#include "store/DataModule.h"
#include "support/ScriptedUserInteraction.h"
#include "support/ShippedProgramFolder.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

#include <memory>

// A GIF header of the given logical screen size (all the size reader needs).
inline QByteArray gifOfSize(int width, int height)
{
    QByteArray bytes("GIF89a");
    for (int v : {width, height})
        bytes += char(v & 0xFF), bytes += char(v >> 8);
    return bytes + QByteArray(3, '\0') + QByteArray::fromHex("2c000000000100010000020144003b");
}

// A copy of the shipped program folder with one small registration that touches every part of
// the report: markup and line breaks in its texts, a description table, a wide photo, records,
// contacts, evaluation results and a priced comparison.
class ReportFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testsupport::copyShippedProgramFolder(dir.path());
        dm = std::make_unique<store::DataModule>(dir.path(), &ui);
        ASSERT_TRUE(dm->start()) << dm->startError().toStdString();
        addRegistration();
    }

    store::Table* table(const char* name) const { return dm->table(QLatin1String(name)); }

    void set(const char* tableName, const char* field, const QVariant& value)
    {
        store::Table* t = table(tableName);
        if (!t->isEditing())
            t->edit();
        QString error;
        ASSERT_TRUE(t->field(QLatin1String(field)).setValue(value, &error)) << field << ": " << error.toStdString();
        t->post();
    }

    void addRow(const char* tableName, const QList<std::pair<const char*, QVariant>>& values)
    {
        store::Table* t = table(tableName);
        t->append();
        for (const auto& [field, value] : values) {
            QString error;
            ASSERT_TRUE(t->field(QLatin1String(field)).setValue(value, &error)) << field << ": " << error.toStdString();
        }
        t->post();
    }

    void addRegistration()
    {
        QString error;
        ASSERT_TRUE(dm->NextLocalNumber(&number, &error)) << error.toStdString();
        store::Table* main = table("NT_TBL_MAIN");
        main->field(QStringLiteral("REG_NO")).setString(number);
        main->field(QStringLiteral("TECH_TITLE")).setString(QStringLiteral("防波堤<script>alert(1)</script>&補強工法"));
        main->field(QStringLiteral("DVLP_TYPE_CODE")).setString(QStringLiteral("8"));
        main->field(QStringLiteral("OPEN_DIV_CD")).setString(QStringLiteral("2"));
        for (const char* name : {"NT_TBL_DETAIL", "NT_TBL_DESCRIPTION", "NT_TBL_PICTURE", "NT_TBL_DETAIL_FREE"}) {
            table(name)->append();
            table(name)->post();
        }
        main->post();
        number = number.trimmed();

        set("NT_TBL_DETAIL", "SALES_COMPANY", QStringLiteral("港湾建設株式会社"));
        set("NT_TBL_DETAIL", "SALES_POST_CODE", QStringLiteral("〒100-0001"));
        set("NT_TBL_DETAIL", "CERTIFY_PATENT_STAT", QStringLiteral("5"));
        set("NT_TBL_DETAIL", "COST_TYPE", QStringLiteral("7"));
        set("NT_TBL_DETAIL", "NEWTECH_COST_ONE", 1200.5);
        set("NT_TBL_DETAIL", "EVALUATE_ORGAN_CODE", QStringLiteral("01"));
        set("NT_TBL_DETAIL", "KEYWD_ENV_YN", QStringLiteral("1"));
        set("NT_TBL_DESCRIPTION", "SUMMARY_DESC", QStringLiteral("一行目\r\n\r\n三行目 a<b"));
        set("NT_TBL_DESCRIPTION", "SUMMARY_TABLE", QStringLiteral("2\t2\t1\t0\r\n項目\t値\r\n<i>深さ</i>\t12.5m\r\n主要諸元\r\n"));
        set("NT_TBL_PICTURE", "PICTURE_A", QStringLiteral("施工状況<写真>"));
        set("NT_TBL_PICTURE", "CERTIFY_PATENT_FLG1", QStringLiteral("0"));
        set("NT_TBL_DETAIL_FREE", "FREE_ITEM1", QStringLiteral("2"));

        photo = number + QStringLiteral("A.gif");
        dir.write(QStringLiteral("Images/") + photo, gifOfSize(800, 333));
        addRow("NT_TBL_INFO_IMAGES", {{"IMAGES_TYPE", "A"}, {"IMAGES_FILE", photo}, {"IMAGES_ORIGINAL", "c:/photo.gif"}});
        addRow("PL_TBL_PROJECT_MOC", {{"MOC_ID", 1}, {"PJT_TYPE_CODE", 1}, {"PJT_NAME", QStringLiteral("岸壁改良工事\r\n第二期")},
                                      {"PJT_START_DATE", QDate(2025, 4, 1)}});
        addRow("PL_TBL_PROJECT_PRIVATE", {{"PRIVATE_ID", 1}, {"PJT_NAME", QStringLiteral("民間桟橋工事")}});
        addRow("NT_TBL_COMPANY", {{"REC_ID", 1}, {"SALES_COMPANY_OTHER", QStringLiteral("代理店A")},
                                  {"SALES_POST_CODE_OTHER", QStringLiteral("〒200-0002")}, {"SALES_ADDRESS_OTHER", QStringLiteral("横浜市\r\n中区")}});
        addRow("NT_TBL_EVALUATE_RESULT", {{"EVALUATE_ID", 1}, {"ITEM", QStringLiteral("耐久性")}, {"RESULT", QStringLiteral("良好")}});
        addRow("NT_TBL_COMPARE_MAIN", {{"REC_ID", number.mid(4).toInt()}, {"N_COST", 8000}, {"O_COST", 10000}, {"RATE_COST", 20}});
        addRow("NT_TBL_COMPARE_DETAIL", {{"ORD", 1}, {"RECORD_TYPE", "0"}, {"ITEM", QStringLiteral("材料費")}, {"PRICE", 8000}});
        addRow("NT_TBL_COMPARE_DETAIL", {{"ORD", 1}, {"RECORD_TYPE", "1"}, {"ITEM", QStringLiteral("従来材料費")}, {"PRICE", 10000}});
    }

    testsupport::TempDir dir;
    testsupport::ScriptedUserInteraction ui;
    std::unique_ptr<store::DataModule> dm;
    QString number;
    QString photo;
};
