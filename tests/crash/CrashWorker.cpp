// The helper of scripts/crash-test: the writes a user's session makes, as separate processes that
// the script kills at random moments, and the check of the program folder after each kill.
//   crash_worker save HOME TITLE  saves a new registration with rows in several tables; prints its
//                                 number once the save has returned (the save is confirmed)
//   crash_worker check HOME       starts on the folder and checks that every table opened and that
//                                 every row has its registration; prints the registrations' numbers
// Exit 0 on success, 1 when the start or the save failed, 3 on a violation (printed on stderr),
// 4 when the folder is locked (a lock left by a killed run is stale after a second).

#include "store/DataModule.h"
#include "support/OrphanRows.h"
#include "util/UserInteraction.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

// Answers every question No and prints every box on stderr.
class QuietInteraction : public UserInteraction
{
public:
    Button message(Icon, const QString& caption, const QString& text, Buttons) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
        return No;
    }
    FileAnswer fileDialog(FileKind, const FileRequest&) override { return {}; }
    QString desktopFolder() override { return {}; }
};

void fill(store::Table* t, const char* field, const QString& value)
{
    if (t->fieldIndex(QLatin1String(field)) >= 0)
        t->field(QLatin1String(field)).setString(value);
}

int save(const QString& home, const QString& title)
{
    QuietInteraction ui;
    store::DataModule dm(home, &ui);
    dm.setAnswerForBrokenData(false);
    if (!dm.start())
        return 1;
    QString number;
    QString error;
    if (!dm.NextLocalNumber(&number, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    store::Table* main = dm.table(QStringLiteral("NT_TBL_MAIN"));
    fill(main, "REG_NO", number);
    fill(main, "TECH_TITLE", title);
    // What the submission check asks for, so that the registration can be exported.
    fill(main, "TECH_DVLP_YEAR", QStringLiteral("2024"));
    fill(main, "GRP_CODE1", QStringLiteral("01"));
    fill(main, "LEVEL1_COMBO", QStringLiteral("010"));
    fill(main, "LEVEL2_COMBO", QStringLiteral("01001"));
    fill(main, "LEVEL3_COMBO", QStringLiteral("0100101"));
    fill(main, "LEVEL4_COMBO", QStringLiteral("010010101"));
    fill(main, "REG_VERSION", QStringLiteral("7800"));
    main->post();
    for (const char* name : {"NT_TBL_DETAIL", "NT_TBL_DESCRIPTION", "NT_TBL_PICTURE", "NT_TBL_DETAIL_FREE", "NT_TBL_CONST_CONDITION"}) {
        store::Table* t = dm.table(QLatin1String(name));
        t->append();
        fill(t, "SUMMARY_DESC", QStringLiteral("%1 の概要").arg(title));
        t->post();
    }
    store::Table* contacts = dm.table(QStringLiteral("NT_TBL_COMPANY"));
    for (int c = 1; c <= 3; ++c) {
        contacts->append();
        contacts->field(QStringLiteral("REC_ID")).setInteger(c);
        fill(contacts, "SALES_COMPANY_OTHER", QStringLiteral("%1 の会社%2").arg(title).arg(c));
        contacts->post();
    }
    if (!dm.WriteChangedTables(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s\n", qPrintable(number.trimmed()));
    std::fflush(stdout);
    return dm.CloseAllTables(&error) ? 0 : 1;
}

int check(const QString& home)
{
    QuietInteraction ui;
    store::DataModule dm(home, &ui);
    dm.setAnswerForBrokenData(false);
    if (!dm.start()) {
        if (!dm.holdsFolder()) {
            std::fprintf(stderr, "the folder is locked\n");
            return 4;
        }
        std::fprintf(stderr, "VIOLATION: the start failed: %s\n", qPrintable(dm.startError()));
        return 3;
    }
    const QStringList orphans = testsupport::rowsWithoutTheirRegistration(dm);
    for (const QString& orphan : orphans)
        std::fprintf(stderr, "VIOLATION: %s\n", qPrintable(orphan));
    int violations = int(orphans.size());
    const int regNo = dm.table(QStringLiteral("NT_TBL_MAIN"))->fieldIndex(QStringLiteral("REG_NO"));
    for (const store::Table::RowValues& row : dm.table(QStringLiteral("NT_TBL_MAIN"))->allRows())
        std::printf("%s\n", qPrintable(row.at(regNo).toString().trimmed()));
    QString error;
    if (!dm.CloseAllTables(&error)) {
        std::fprintf(stderr, "VIOLATION: closing failed: %s\n", qPrintable(error));
        ++violations;
    }
    return violations == 0 ? 0 : 3;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("save"))
        return save(args.at(2), args.at(3));
    if (args.size() == 3 && args.at(1) == QLatin1String("check"))
        return check(args.at(2));
    std::fprintf(stderr, "usage: crash_worker save HOME TITLE | check HOME\n");
    return 2;
}
