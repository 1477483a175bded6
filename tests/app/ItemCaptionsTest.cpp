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

// The captions a list of changes names items by are those of the controls that show the fields,
// on the entry pages and in the dialogs.
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
        const itemcaptions::Item shown{pageOf(control), captionOf(control)};
        ++checked;
        if (itemcaptions::of(table, field) != shown)
            missing << QStringLiteral("{\"%1\", \"%2\", \"%3\", \"%4\"},").arg(table, field, shown.page, shown.caption);
    }
    EXPECT_GT(checked, 100);
    EXPECT_TRUE(missing.isEmpty()) << missing.join('\n').toStdString();
}
