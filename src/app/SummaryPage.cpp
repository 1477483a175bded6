#include "app/MainWindowPages.h"

#include "app/EntryParts.h"
#include "app/MainWindowControls.h"
#include "app/ScrollingPage.h"

#include <QGroupBox>
#include <QVBoxLayout>

namespace app {

using form::Item;
using form::Kind;

namespace {

const QString kDescription = QStringLiteral("NT_TBL_DESCRIPTION");

// A section with a description memo, then (where the section has them) a photo slot and a table.
QGroupBox* descriptionSection(const QString& title, const QList<Item>& memos, const QString& photo, int table,
                              const form::SourceOf& sourceOf, QWidget* parent)
{
    QGroupBox* box = form::section(title, memos, sourceOf, parent);
    auto* layout = static_cast<QGridLayout*>(box->layout());
    int row = layout->rowCount();
    if (!photo.isEmpty())
        layout->addWidget(parts::photoSlot(photo, QStringLiteral("写真"), sourceOf, box), row++, 0, 1, layout->columnCount());
    if (table >= 0)
        layout->addWidget(parts::descriptionTable(parts::kDescriptionTables.at(table), sourceOf, box), row++, 0, 1, layout->columnCount());
    return box;
}

} // namespace

ScrollingPage* buildSummaryPage(const form::SourceOf& sourceOf, QWidget* parent)
{
    auto* page = new ScrollingPage(controls::kSummaryPage, QStringLiteral("ScrollBar2"), parent);
    page->addHeaderLabel(QString(), QStringLiteral("TECH_TITLE2"));
    QVBoxLayout* layout = page->panelLayout();
    QWidget* panel = page->panel();

    layout->addWidget(descriptionSection(QStringLiteral("概要"),
                                         {{Kind::Memo, "SUMMARY", QStringLiteral("要約"), "NT_TBL_MAIN", {}, 3},
                                          {Kind::Memo, "SUMMARY_DESC", QStringLiteral("概要の文章"), kDescription, {}, 10}},
                                         QStringLiteral("A"), 0, sourceOf, panel));
    layout->addWidget(descriptionSection(QStringLiteral("特徴"), {{Kind::Memo, "FEATURE_DESC", QStringLiteral("特徴の文章"), kDescription, {}, 10}},
                                         QStringLiteral("B"), 1, sourceOf, panel));

    auto* conditions = new QGroupBox(QStringLiteral("施工条件"), panel);
    auto* conditionLayout = new QVBoxLayout(conditions);
    conditionLayout->addWidget(parts::conditionArea(sourceOf, conditions));
    layout->addWidget(conditions);

    layout->addWidget(form::section(QStringLiteral("適用条件等"),
                                    {{Kind::Memo, "CONDITION_DESC", QStringLiteral("適用条件"), kDescription, {}, 8},
                                     {Kind::Memo, "OLD_CONST_CONDITION", QStringLiteral("適用範囲"), kDescription, {}, 8},
                                     {Kind::Memo, "CNST_ATTN_DESC", QStringLiteral("留意事項"), kDescription, {}, 8},
                                     {Kind::Memo, "SUBJECT_DESC", QStringLiteral("課題と計画"), kDescription, {}, 6}},
                                    sourceOf, panel));
    page->finish();
    return page;
}

} // namespace app
