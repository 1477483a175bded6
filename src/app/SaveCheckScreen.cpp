#include "app/SaveCheckScreen.h"

#include "app/DescriptionGrids.h"
#include "app/EntryParts.h"
#include "app/ScrollingPage.h"
#include "store/DataModule.h"
#include "submission/RegistrationProblems.h"
#include "submission/SubmissionCheck.h"
#include "widgets/NamedChild.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabWidget>

namespace app::savecheck {

namespace {

QString shownText(const QWidget* control)
{
    if (auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (auto* list = qobject_cast<const QComboBox*>(control))
        return list->currentText();
    if (auto* memo = qobject_cast<const QPlainTextEdit*>(control))
        return memo->toPlainText();
    return {};
}

} // namespace

inputcheck::ScreenValues readScreenValues(const QWidget* root, store::DataModule& dm, const DescriptionGrids& grids)
{
    inputcheck::ScreenValues values;
    for (const QString& name : inputcheck::saveCheckTextControls())
        values.texts.insert(name, shownText(widgets::namedChild<const QWidget>(root, name)));
    for (const QString& letter : inputcheck::kCheckedPhotoSlots) {
        store::Table* images = dm.table(QStringLiteral("NT_TBL_INFO_IMAGES%1").arg(parts::photoSlotNumber(letter)));
        const QString file = images->isActive() && !images->isEmpty() ? images->field(QStringLiteral("IMAGES_FILE")).asString().trimmed()
                                                                      : QString();
        values.photoFiles.insert(letter, file.isEmpty() ? QString() : dm.folder().path(QStringLiteral("Images\\") + file));
    }
    for (const parts::DescriptionTableNames& names : parts::kDescriptionTables)
        values.tables.insert(names.grid, grids.contents(names.grid));
    return values;
}

inputcheck::SubmissionValues readSubmissionValues(const QWidget* root, store::DataModule& dm)
{
    const submission::StoredRegistration stored = submission::currentRegistration(dm);
    const auto text = [&](const QString& table, const QString& field) {
        const QWidget* box = widgets::namedChild<const QWidget>(root, field);
        return box && (qobject_cast<const QLineEdit*>(box) || qobject_cast<const QPlainTextEdit*>(box)) ? shownText(box)
                                                                                                       : stored.text(table, field);
    };
    inputcheck::SubmissionValues values = submission::submissionValues(dm, text);
    // The group is judged by what its list shows.
    if (auto* group = widgets::namedChild<const QComboBox>(root, QStringLiteral("GRP_TITLE1")))
        values.groupShown = !group->currentText().isEmpty();
    return values;
}

void bringIntoView(QWidget* control)
{
    ScrollingPage* page = nullptr;
    for (QWidget* child = control; child && !page; child = child->parentWidget()) {
        QWidget* parent = child->parentWidget();
        if (auto* stack = qobject_cast<QStackedWidget*>(parent)) {
            if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
                tabs->setCurrentWidget(child);
        }
        page = qobject_cast<ScrollingPage*>(parent);
    }
    if (!page)
        return;
    // The control's top a little below the page's header.
    const int top = control->mapTo(page->panel(), QPoint(0, 0)).y();
    page->scrollBar()->setValue(std::max(0, top - ScrollingPage::kHeaderHeight));
}

} // namespace app::savecheck
