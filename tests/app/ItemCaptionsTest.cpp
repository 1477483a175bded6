#include "EntryWindowFixture.h"
#include "app/MainWindowControls.h"
#include "entry/InputCheck.h"
#include "entry/ItemCaptions.h"
#include "widgets/FieldLink.h"

#include <QDialog>
#include <QLabel>
#include <QTabWidget>
#include <map>

namespace {

QStringList pagesOf()
{
    return {inputcheck::kNamesPage, inputcheck::kSummaryPage, inputcheck::kComparisonPage, inputcheck::kRecordsPage};
}

// The page of the entry pages, or the dialog, that holds a control, followed by the tabs within
// it that lead to the control ("名称・分類等 > 営業").
QString pageOf(QWidget* control)
{
    const std::map<QString, QString> pages = {{app::controls::kNamesPage, inputcheck::kNamesPage},
                                              {app::controls::kSummaryPage, inputcheck::kSummaryPage},
                                              {app::controls::kComparisonPage, inputcheck::kComparisonPage},
                                              {app::controls::kRecordsPage, inputcheck::kRecordsPage}};
    QStringList tabs;
    for (QWidget* w = control; w; w = w->parentWidget()) {
        QString page;
        if (auto it = pages.find(w->objectName()); it != pages.end())
            page = it->second;
        else if (qobject_cast<QDialog*>(w))
            page = w->windowTitle();
        if (!page.isEmpty()) {
            tabs.prepend(page);
            return tabs.join(QStringLiteral(" > "));
        }
        // A page of a tab widget: its stack's parent is the tab widget.
        if (QWidget* stack = w->parentWidget(); stack && stack->parentWidget()) {
            if (auto* tabWidget = qobject_cast<QTabWidget*>(stack->parentWidget()); tabWidget && tabWidget->indexOf(w) >= 0)
                tabs.prepend(tabWidget->tabText(tabWidget->indexOf(w)).trimmed());
        }
    }
    return {};
}

// The caption the user knows a control by: its accessible name, or the text of its label.
QString captionOf(QWidget* control)
{
    if (!control->accessibleName().isEmpty())
        return control->accessibleName();
    if (QWidget* parent = control->parentWidget()) {
        for (const QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (label->buddy() == control)
                return label->text().remove(QLatin1Char('&'));
        }
    }
    return {};
}

} // namespace

using ItemCaptionsTest = EntryWindowFixture;

// The captions lists of changes name items by are those of the controls that show the fields: on
// the entry pages the page and the control's caption (after the heading of its group); a field of
// a dialog's record is named by its grid's heading, so it only needs a caption.
TEST_F(ItemCaptionsTest, EveryCaptionedControlOfAFieldIsNamedAsTheScreensShowIt)
{
    QStringList missing;
    QSet<QString> seen;
    int checked = 0;
    for (widgets::FieldLink* link : window->findChildren<widgets::FieldLink*>()) {
        auto* control = qobject_cast<QWidget*>(link->parent());
        if (!link->isBound() || !control || captionOf(control).isEmpty())
            continue;
        const QString table = link->table()->name();
        const QString field = link->fieldName().toUpper();
        if (seen.contains(table + '.' + field))
            continue; // the first control showing a field names it
        seen.insert(table + '.' + field);
        const QString page = pageOf(control).section(QStringLiteral(" > "), 0, 0);
        const bool onEntryPages = pagesOf().contains(page);
        const captions::Item item = captions::fieldItem(table, field);
        ++checked;
        if (!item.isShown() || (onEntryPages && (item.page != page || !item.caption.endsWith(captionOf(control)))))
            missing << QStringLiteral("%1.%2 on %3 as \"%4\"; named \"%5\" on %6").arg(table, field, page, captionOf(control), item.caption, item.page);
    }
    EXPECT_GT(checked, 100);
    EXPECT_TRUE(missing.isEmpty()) << missing.join('\n').toStdString();
}
