#include "store/RegistrationKeys.h"

#include <QHash>
#include <gtest/gtest.h>

// The keys of a folder given as columns ("TABLE.FIELD" → values); tables not given are empty.
TEST(RegistrationKeys, ARepeatedNumberIsNamedAndRowsWithoutTheirMasterAreLeft)
{
    struct Case
    {
        const char* what;
        QHash<QString, QStringList> columns;
        const char* named; // empty: the keys hold
    };
    const QStringList two = {QStringLiteral("XXK-000001"), QStringLiteral("XXK-000002")};
    const Case cases[] = {
        {"sound", {{"NT_TBL_MAIN.REG_NO", two}, {"NT_TBL_COMPANY.REG_NO", two}, {"NT_TBL_COMPARE_MAIN.REC_ID", {"1"}}, {"NT_TBL_COMPARE_DETAIL.REC_ID", {"1", "1"}}}, ""},
        {"rows without a key belong to no registration", {{"NT_TBL_MAIN.REG_NO", {"", ""}}, {"NT_TBL_DETAIL.REG_NO", {""}}}, ""},
        {"a number twice in the main table", {{"NT_TBL_MAIN.REG_NO", two + QStringList{"XXK-000002"}}}, "XXK-000002"},
        // Records that a registration never saved wrote at once, or rows of a deleted registration.
        {"a detail row of no registration", {{"NT_TBL_MAIN.REG_NO", two}, {"PL_TBL_PROJECT_MOC.REG_NO", {"XXK-000003"}}}, ""},
        {"a breakdown row of no comparison", {{"NT_TBL_COMPARE_MAIN.REC_ID", {"1"}}, {"NT_TBL_COMPARE_DETAIL.REC_ID", {"2"}}}, ""},
    };
    for (const Case& c : cases) {
        const QString problem = store::registrationKeyProblem(
            [&c](const QString& table, const QString& field) { return c.columns.value(table + QLatin1Char('.') + field); });
        EXPECT_EQ(problem.isEmpty(), QLatin1String(c.named).isEmpty()) << c.what << ": " << problem.toStdString();
        EXPECT_TRUE(problem.contains(QLatin1String(c.named))) << c.what << ": " << problem.toStdString();
    }
}
