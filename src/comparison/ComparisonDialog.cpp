#include "comparison/ComparisonDialog.h"

#include "comparison/Breakdown.h"
#include "util/InputRules.h"
#include "util/SjisText.h"
#include "widgets/DBEdit.h"
#include "widgets/EntryBoxRules.h"
#include "widgets/EventHook.h"
#include "widgets/WheelGuard.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace comparison {

namespace {

std::function<void(ComparisonDialog*)>& modalShow()
{
    static std::function<void(ComparisonDialog*)> show;
    return show;
}


} // namespace

ComparisonDialog::ComparisonDialog(QWidget* owner)
    : QDialog(nullptr)
    , m_owner(owner)
{
    setModal(true);
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
}

void ComparisonDialog::showModal()
{
    if (m_owner)
        move(m_owner->geometry().center() - rect().center());
    if (modalShow())
        modalShow()(this);
    else
        exec();
}

void ComparisonDialog::done(int result)
{
    const QScopedValueRollback closing(m_closing, true);
    QDialog::done(result);
}

void ComparisonDialog::setModalShow(std::function<void(ComparisonDialog*)> show)
{
    modalShow() = std::move(show);
}

void ComparisonDialog::filterNumberKeys(QLineEdit* box)
{
    const auto refused = [](const QString& text) { return text.contains(QLatin1Char('-')) || text.contains(QLatin1Char('e')); };
    // A paste is judged by the same rule.
    if (auto* edit = qobject_cast<widgets::TextLineEdit*>(box))
        edit->setAcceptedCharacters([](QChar c) { return c != QLatin1Char('-') && c != QLatin1Char('e'); });
    widgets::onEvent(box, QEvent::KeyPress, [refused](QEvent* e) { return refused(static_cast<QKeyEvent*>(e)->text()); });
    widgets::onEvent(box, QEvent::InputMethod, [refused](QEvent* e) { return refused(static_cast<QInputMethodEvent*>(e)->commitString()); });
}

void ComparisonDialog::onLeave(QLineEdit* box, std::function<void()> handler)
{
    widgets::onEvent(box, QEvent::FocusOut, [box, handler = std::move(handler)](QEvent*) {
        // A window being closed (or closed) takes the focus from its box: that is no leaving of
        // the box by the user, and its clean-up would start a row in a table whose row was just
        // dropped.
        const auto* window = qobject_cast<ComparisonDialog*>(box->window());
        if (!window || (!window->m_closing && window->isVisible()))
            handler();
        return false;
    });
}

void ComparisonDialog::enterMovesFocus()
{
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        widgets::onEvent(edit, QEvent::KeyPress, [edit](QEvent* e) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key != Qt::Key_Return && key != Qt::Key_Enter)
                return false;
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QCoreApplication::sendEvent(edit, &tab);
            return true;
        });
    }
}

void ComparisonDialog::showOnly(QLineEdit* box)
{
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    box->setPalette(palette);
}

bool ComparisonDialog::isBeingLoaded(QLineEdit* box)
{
    auto* bound = qobject_cast<widgets::DBEdit*>(box);
    return bound && bound->link()->isLoading();
}

QScrollArea* ComparisonDialog::scrollingPanel(const QString& name)
{
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    // The panel is no stop of its own for Tab: Tab goes from box to box, scrolling to each.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->verticalScrollBar()->setObjectName(QStringLiteral("ScrollBar1"));
    scroll->verticalScrollBar()->setSingleStep(widgets::formLineHeight(this));
    auto* panel = new QWidget(scroll);
    panel->setObjectName(name);
    new QVBoxLayout(panel);
    scroll->setWidget(panel);
    return scroll;
}

void ComparisonDialog::convertWidth(QLineEdit* box)
{
    widgets::convertWidthOnExit(box);
}

void ComparisonDialog::roundNumber(QLineEdit* box, bool keepEmpty)
{
    const inputrules::Rounding rounding = keepEmpty ? inputrules::Rounding::TwoDecimalsKeepEmpty : inputrules::Rounding::TwoDecimals;
    // Thousands commas are no part of the number ("1,000" is 1000), as the numeric checks read it.
    inputrules::NumberCleanUp result = inputrules::cleanUpNumber(withoutThousandsCommas(sjis::NormalizeCharWidth(box->text())), rounding);
    // A text that is no number stays as typed (width-normalised); the checks on confirming name it.
    if (!result.ok)
        result = inputrules::cleanUpNumber(box->text(), rounding);
    if (result.text != box->text())
        box->setText(result.text);
}

} // namespace comparison
