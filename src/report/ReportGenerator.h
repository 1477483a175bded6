#pragma once

#include "entry/Conditions.h"
#include "report/DescriptionGrid.h"

#include <QMap>
#include <QString>

#include <array>

namespace store {
class DataModule;
class Table;
}

// The printable report of the current registration: a template of the program folder with its
// tags ("<%=NAME%>") replaced by the registration's values, written as "NewTech.htm".
namespace report {

// What the screens show at the moment of generation, including edits not yet saved; the main
// window fills it from its controls, the command-line tool from the stored rows
// (screenFromTables).
struct ReportScreen
{
    // Displayed titles of the classification list boxes: [slot 1 … 5 − 1][level 1 … 4 − 1].
    std::array<std::array<QString, 4>, 5> levelTitles;
    QString groupTitle;    // the lookup box GRP_TITLE1
    QString evaluateOrgan; // the lookup box EVALUATE_ORGAN_CODE
    QString salesPostCode1, salesPostCode2;                 // technical contact's post-code boxes
    QString salesPostCodeBusiness1, salesPostCodeBusiness2; // sales contact's post-code boxes
    QString rateCost, rateProcess;             // the comparison sheet's RATE_COST and RATE_PROCESS
    QString costRateLabel, processRateLabel;   // Label119 and Label217
    QString costTypeName;                      // lblCOST_TYPE
    QString totalNewTech = QStringLiteral("0"); // TOTAL_NEW_TECH
    QString totalOldTech = QStringLiteral("0"); // TOTAL_OLD_TECH
    // The description grids as shown, by the name of their field; a grid not here prints from
    // its stored text.
    QMap<QString, DescriptionGrid> descriptionGrids;
    // The check boxes and radio buttons of the construction-condition items as shown, by item
    // number (1 … 6); an item not here prints as its stored TXT sets them.
    QMap<int, conditions::ItemControls> conditionControls;
};

// The screen values as a freshly opened registration shows them, read from its stored rows.
ReportScreen screenFromTables(store::DataModule& dm);

// "Template.htm" for tab 0, "Template1.htm" … "Template4.htm" for tabs 1 … 4.
QString templateFileName(int tab);

// The patent status the report marks. The status field has no control of its own: a new
// registration stores "4" (無し) and opening one without a status writes "4" too, so an empty or
// "4" status says nothing about the patents entered in the five patent blocks. There the blocks
// decide: "1" (有り) when a patent number is entered and one of the entered patents is not flagged
// as applied for, "2" (出願中) when every entered one is; with no patent number entered, and for
// any other stored status, the stored value stands.
QString shownPatentStatus(const QString& stored, store::Table* pictures);

// The construction-condition items of the current registration as the panels show them, in the
// panels' order: the items the definition file gives the first classification's level-3 code, each
// with the values of its row. False with a message when the definition file cannot be read.
bool shownConditions(store::DataModule& dm, const ReportScreen& screen, QList<conditions::ShownCondition>* shown, QString* error);

// Replaces every occurrence of `tag` left to right; the inserted value is never searched again.
QString ReplaceTag(const QString& text, const QString& tag, const QString& value);

// The document with every tag that the registration's rows and the screen fill replaced.
QString FillReport(store::DataModule& dm, const ReportScreen& screen, const QString& document);

// Removes every tag still in the document: the options not chosen and the values a registration
// does not have print as nothing rather than as the tag's own text.
QString RemoveUnfilledTags(const QString& document);

// Reads the template of `tab` as Shift_JIS, fills it, removes the tags left unfilled and writes "NewTech.htm" (Shift_JIS, lines
// ending in CR LF) into the program folder; `outputPath` receives its path. False with a message
// when the template cannot be read or the document cannot be written.
bool GenerateReport(store::DataModule& dm, const ReportScreen& screen, int tab, QString* outputPath, QString* error);

} // namespace report
