#include "WidgetTestSupport.h"

#include "support/ScriptedUserInteraction.h"
#include "widgets/DBEdit.h"
#include "widgets/DBGrid.h"
#include "widgets/DBPanelList.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace widgets;
using widgettest::makeTable;

namespace {

const QList<GridColumn> kColumns = {{"REG_NO", "登録番号", 90}, {"TECH_TITLE", "技術名称", 200}, {"RESULTS_MOC", "件数", 50}};

class GridTest : public ::testing::Test
{
protected:
    GridTest()
        : table(makeTable({{"XXK-000001", "Pile", 3}, {"XXK-000002", "Wall", 5}, {"XXK-000003", "Dam", 7}}))
        , source(table.get())
    {
    }

    QStringList shownTitles(const QAbstractItemModel& model) const
    {
        QStringList titles;
        for (int r = 0; r < model.rowCount(); ++r)
            titles << model.index(r, 1).data().toString();
        return titles;
    }

    testsupport::ScriptedUserInteraction user;
    std::unique_ptr<store::Table> table;
    store::DataSource source;
};

TEST_F(GridTest, ModelFollowsTheTableThroughEveryChangeAndStaysConsistent)
{
    TableModel model(&source, kColumns);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "技術名称");
    EXPECT_EQ(shownTitles(model), QStringList({"Pile", "Wall", "Dam"}));
    EXPECT_EQ(model.index(0, 2).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight, Qt::AlignRight);

    table->append(); // the row being inserted is shown last, with its pending values
    table->field("TECH_TITLE").setString("Quay");
    EXPECT_EQ(shownTitles(model), QStringList({"Pile", "Wall", "Dam", "Quay"}));
    EXPECT_EQ(model.currentRow(), 3);
    table->cancel();
    EXPECT_EQ(shownTitles(model), QStringList({"Pile", "Wall", "Dam"}));
    table->append(); // posted, the row being inserted becomes a stored row, still current
    table->field("TECH_TITLE").setString("Quay");
    table->post();
    EXPECT_EQ(shownTitles(model), QStringList({"Pile", "Wall", "Dam", "Quay"}));
    EXPECT_EQ(model.currentRow(), 3);
    table->edit(); // a row removed while being edited leaves with its pending values
    table->field("TECH_TITLE").setString("Pier");
    table->remove();
    EXPECT_EQ(shownTitles(model), QStringList({"Pile", "Wall", "Dam"}));

    table->setRecNo(2);
    table->edit();
    table->field("TECH_TITLE").setString("Seawall");
    EXPECT_EQ(model.index(1, 1).data().toString(), "Seawall");
    table->post();
    table->remove();
    EXPECT_EQ(shownTitles(model), QStringList({"Pile", "Dam"}));

    ASSERT_TRUE(table->setFilter("RESULTS_MOC > 5"));
    table->setFiltered(true);
    EXPECT_EQ(shownTitles(model), QStringList({"Dam"}));
    EXPECT_EQ(model.currentRow(), 0);
}

TEST_F(GridTest, ChoosingALineMovesTheTableAndMovingTheTableSelectsTheLine)
{
    DBGrid grid(&source, kColumns);
    EXPECT_EQ(grid.columnWidth(1), 200);
    EXPECT_EQ(grid.currentIndex().row(), 0);
    table->last();
    EXPECT_EQ(grid.currentIndex().row(), 2);

    // A pending change of a bound control is written before the table moves.
    DBEdit title(&source, "TECH_TITLE");
    title.setText("Breakwater");
    grid.setCurrentIndex(grid.model()->index(0, 0));
    EXPECT_EQ(table->recNo(), 1);
    table->last();
    EXPECT_EQ(table->field("TECH_TITLE").asString(), "Breakwater");
}

TEST_F(GridTest, PanelListBuildsOnePanelPerRowAndAClickMakesItsRowCurrent)
{
    DBPanelList list(&source, [](store::Table& row) { return new QLabel(row.field("TECH_TITLE").asString()); });
    list.resize(300, 300);
    // The panels drawn as current: exactly the table's current row, whatever moved it.
    const auto highlighted = [&list] {
        QList<int> panels;
        for (int i = 0; i < list.panelCount(); ++i) {
            if (list.panel(i)->parentWidget()->property("current").toBool())
                panels << i;
        }
        return panels;
    };
    ASSERT_EQ(list.panelCount(), 3);
    EXPECT_EQ(highlighted(), QList<int>{0});
    EXPECT_EQ(qobject_cast<QLabel*>(list.panel(1))->text(), "Wall");
    EXPECT_EQ(list.currentIndex(), 0);
    EXPECT_EQ(table->recNo(), 1); // building the panels leaves the table where it was

    QTest::mouseClick(list.panel(2), Qt::LeftButton);
    EXPECT_EQ(table->recNo(), 3);
    EXPECT_EQ(list.currentIndex(), 2);
    EXPECT_EQ(highlighted(), QList<int>{2});
    table->prior();
    EXPECT_EQ(highlighted(), QList<int>{1});
    table->next();

    table->remove();
    ASSERT_EQ(list.panelCount(), 2);
    EXPECT_EQ(qobject_cast<QLabel*>(list.panel(1))->text(), "Wall");
    EXPECT_EQ(highlighted(), QList<int>{table->recNo() - 1});
}

} // namespace
