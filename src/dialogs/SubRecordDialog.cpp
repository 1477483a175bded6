#include "dialogs/SubRecordDialog.h"

#include "dialogs/RecordRules.h"
#include "store/DataModule.h"
#include "store/RegistrationNumbers.h"
#include "widgets/DBEdit.h"
#include "widgets/DBLookupComboBox.h"
#include "widgets/EntryBoxRules.h"
#include "widgets/EventHook.h"
#include "widgets/FieldLink.h"
#include "widgets/TextMemo.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace dialogs {

namespace {

constexpr int kClientWidth = 685;
constexpr int kClientHeight = 455;
const QString kConfirm = QStringLiteral("確認");
const QString kAttention = QStringLiteral("注意");


QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

SubRecordDialog::SubRecordDialog(store::DataModule& dm, SubRecordSettings settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_dm(dm)
    , m_settings(std::move(settings))
    , m_table(dm.table(m_settings.table))
    , m_source(dm.dataSource(m_settings.table))
{
    setObjectName(m_settings.name);
    setWindowTitle(m_settings.caption);
    setModal(true);
    setFixedSize(kClientWidth, kClientHeight);

    auto* outer = new QVBoxLayout(this);
    m_body = new QGridLayout;
    m_body->setColumnMinimumWidth(0, 130);
    m_body->setColumnStretch(1, 1);
    m_body->setVerticalSpacing(6);
    outer->addLayout(m_body);
    outer->addStretch(1);

    auto* bottom = new QHBoxLayout;
    auto* prev = makeButton(m_settings.prevButton, QStringLiteral("前レコード"), this);
    auto* next = makeButton(m_settings.nextButton, QStringLiteral("次レコード"), this);
    auto* recordLabel = new QLabel(QStringLiteral("レコード："), this);
    recordLabel->setObjectName(QStringLiteral("Label2"));
    m_number = new QLabel(this);
    m_number->setObjectName(m_settings.numberLabel);
    m_number->setMinimumWidth(30);
    m_navigation = {prev, next, recordLabel, m_number};
    for (QWidget* w : std::as_const(m_navigation))
        bottom->addWidget(w);
    bottom->addStretch(1);
    auto* ok = makeButton(QStringLiteral("BtnOk"), QStringLiteral("確定"), this);
    auto* cancel = makeButton(QStringLiteral("BtnCancel"), QStringLiteral("キャンセル"), this);
    ok->setMinimumWidth(100);
    cancel->setMinimumWidth(100);
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    outer->addLayout(bottom);

    connect(prev, &QPushButton::clicked, this, &SubRecordDialog::showPrevious);
    connect(next, &QPushButton::clicked, this, &SubRecordDialog::showNext);
    connect(ok, &QPushButton::clicked, this, &SubRecordDialog::finishEditing);
    connect(cancel, &QPushButton::clicked, this, &SubRecordDialog::cancelEditing);
}

QWidget* SubRecordDialog::addLine(const QString& caption, QWidget* control, const QString& hint)
{
    const int row = m_body->rowCount();
    m_body->addWidget(new QLabel(caption, this), row, 0);
    m_body->addWidget(control, row, 1);
    if (!hint.isEmpty()) {
        auto* note = new QLabel(hint, this);
        note->setStyleSheet(QStringLiteral("color: #555555;"));
        m_body->addWidget(note, row, 2);
    }
    return control;
}

void SubRecordDialog::onEvent(QWidget* control, QEvent::Type type, std::function<bool(QEvent*)> handler)
{
    widgets::onEvent(control, type, std::move(handler));
}

void SubRecordDialog::addNote(const QString& text)
{
    auto* note = new QLabel(text, this);
    note->setStyleSheet(QStringLiteral("color: #555555;"));
    m_body->addWidget(note, m_body->rowCount(), 1, 1, 2);
}

void SubRecordDialog::finishControls()
{
    widgets::attachEnterMovesFocus(this);
}

// ---------------------------------------------------------------- the main window's buttons

void SubRecordDialog::addRecord()
{
    if (!store::GetDBGridRowCount(m_table, m_settings.rowLimit)) {
        UserInteraction::current().warn(kAttention, kNoMoreRows);
        return;
    }
    // A change left pending by other code is not carried into the new row.
    if (m_table->isEditing())
        m_table->cancel();
    setNavigationVisible(false);
    const QString id = store::GetMaxID(m_table, 0);
    m_table->append();
    m_table->field(0).setString(id);
    openModal(0);
}

void SubRecordDialog::editRecord()
{
    if (m_table->isEditing())
        m_table->cancel();
    if (m_table->isEmpty()) {
        UserInteraction::current().warn(kAttention, kNothingToEdit);
        return;
    }
    setNavigationVisible(true);
    showRecordNumber();
    openModal(1);
}

void SubRecordDialog::deleteRecord()
{
    if (m_table->isEditing())
        m_table->cancel();
    if (m_table->isEmpty()) {
        UserInteraction::current().warn(kAttention, kNothingToDelete);
        return;
    }
    if (m_settings.asksBeforeDelete
        && UserInteraction::current().message(UserInteraction::Icon::None, kConfirm, kDeleteQuestion,
                                              UserInteraction::Buttons(UserInteraction::Yes) | UserInteraction::No)
            != UserInteraction::Yes)
        return;
    m_table->remove();
    // The deletion reaches the file at once, as a stored row does.
    writeTableFile();
    emit recordsChanged();
}

void SubRecordDialog::openModal(int mode)
{
    m_mode = mode;
    exec();
}

// ---------------------------------------------------------------- the dialog's buttons

UserInteraction::Button SubRecordDialog::ask(const QString& question) const
{
    UserInteraction::Buttons buttons = UserInteraction::Buttons(UserInteraction::Yes) | UserInteraction::No;
    if (m_settings.questionsOfferCancel)
        buttons |= UserInteraction::Cancel;
    return UserInteraction::current().message(m_settings.questionIcon, kConfirm, question, buttons);
}

bool SubRecordDialog::checkAndStore()
{
    if (checkRecord())
        return false;
    if (!storeRecord())
        return false;
    emit recordsChanged();
    return true;
}

bool SubRecordDialog::storeRecord()
{
    if (!widgets::FieldLink::flush(m_table) || !m_table->post())
        return false;
    writeTableFile();
    return true;
}

bool SubRecordDialog::writeTableFile()
{
    QString error;
    if (m_table->save(&error))
        return true;
    UserInteraction::current().error(kProgramTitle, error);
    return false;
}

void SubRecordDialog::finishEditing()
{
    if (m_table->isEditing()) {
        const UserInteraction::Button answer = ask(m_mode == 0 ? kAddQuestion : m_settings.editOkQuestion);
        if (answer == UserInteraction::Yes) {
            if (!checkAndStore())
                return;
        } else if (answer == UserInteraction::No) {
            m_table->cancel();
        } else {
            return; // Cancel: the row stays pending and the dialog open
        }
    }
    accept();
}

void SubRecordDialog::cancelEditing()
{
    reject();
}

void SubRecordDialog::reject()
{
    if (m_table->isEditing())
        m_table->cancel();
    QDialog::reject();
}

void SubRecordDialog::moveRecord(int step)
{
    const store::Table::State state = m_table->state();
    const bool asks = state == store::Table::State::Edit
        || (state == store::Table::State::Insert && m_settings.navigationAsksForNewRow);
    if (asks) {
        if (ask(kSaveEditingQuestion) == UserInteraction::Yes) {
            if (!checkAndStore())
                return;
        } else {
            m_table->cancel();
        }
    } else if (m_table->isEditing()) {
        m_table->cancel();
    }
    if (step < 0)
        m_table->prior();
    else
        m_table->next();
    showRecordNumber();
    showRecord();
}

void SubRecordDialog::setNavigationVisible(bool visible)
{
    for (QWidget* w : std::as_const(m_navigation))
        w->setVisible(visible);
}

void SubRecordDialog::showRecordNumber()
{
    m_number->setText(QString::number(m_table->recNo()));
}

void SubRecordDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    showRecordNumber();
    showRecord();
    if (QWidget* first = firstControl())
        first->setFocus(Qt::OtherFocusReason);
}

bool SubRecordDialog::problem(QWidget* focus, const QString& text, UserInteraction::Icon icon)
{
    const QString caption = icon == UserInteraction::Icon::Error ? QStringLiteral("エラー") : QStringLiteral("情報");
    UserInteraction::current().message(icon, caption, text, UserInteraction::Ok);
    widgets::focusForCorrection(focus);
    return true;
}

// ---------------------------------------------------------------- the construction period

void SubRecordDialog::addPeriodBoxes(widgets::DBEdit** start, widgets::DBEdit** end)
{
    auto* group = new QGroupBox(QStringLiteral("施工期間"), this);
    auto* grid = new QGridLayout(group);
    *start = new widgets::DBEdit(m_source, QStringLiteral("PJT_START_DATE"), group);
    *end = new widgets::DBEdit(m_source, QStringLiteral("PJT_END_DATE"), group);
    (*start)->setAccessibleName(QStringLiteral("施工期間(開始)"));
    (*end)->setAccessibleName(QStringLiteral("施工期間(終了)"));
    const auto hint = [group](const QString& text) {
        auto* note = new QLabel(text, group);
        note->setStyleSheet(QStringLiteral("color: #555555;"));
        return note;
    };
    grid->addWidget(new QLabel(QStringLiteral("開始"), group), 0, 0);
    grid->addWidget(*start, 0, 1);
    grid->addWidget(hint(QStringLiteral("(半角 例：1997/04/01)")), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("終了"), group), 1, 0);
    grid->addWidget(*end, 1, 1);
    grid->addWidget(hint(QStringLiteral("必ず日付まで入力してください")), 1, 2);
    grid->setColumnStretch(3, 1);
    for (widgets::DBEdit* box : {*start, *end}) {
        box->setFixedWidth(110);
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        attachSpaceRule(box);
    }
    m_body->addWidget(group, m_body->rowCount(), 0, 1, 3);
}

bool SubRecordDialog::checkPeriod(QLineEdit* start, QLineEdit* end)
{
    int from = 0;
    int to = 0;
    if (!rules::readRecordDate(start->text(), &from))
        return problem(start, QStringLiteral("施工開始年月日：書式が誤っています"));
    if (!rules::readRecordDate(end->text(), &to))
        return problem(end, QStringLiteral("施工終了年月日：書式が誤っています"));
    if (from != 0 && to != 0 && to < from)
        return problem(start, QStringLiteral("施工期間：入力に矛盾があります。"));
    return false;
}

// ---------------------------------------------------------------- input behaviours

void SubRecordDialog::attachSpaceRule(QWidget* control)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        connect(edit, &QLineEdit::textChanged, this, [edit] { widgets::removeDoubleBlanks(edit); });
    else if (auto* memo = qobject_cast<widgets::TextMemo*>(control))
        connect(memo, &widgets::TextMemo::textChanged, this, [memo] { widgets::removeDoubleBlanks(memo); });
}

void SubRecordDialog::attachConversionOnExit(QWidget* box)
{
    onEvent(box, QEvent::FocusOut, [box](QEvent*) {
        widgets::convertWidthOnExit(box);
        return false;
    });
}

void SubRecordDialog::attachAllowedCharacters(QWidget* box, const QString& allowed)
{
    const auto refused = [allowed](const QString& text) {
        return !std::all_of(text.begin(), text.end(), [&](QChar c) { return allowed.contains(c); });
    };
    // A paste is judged by the same rule.
    if (auto* edit = qobject_cast<widgets::TextLineEdit*>(box))
        edit->setAcceptedCharacters([allowed](QChar c) { return allowed.contains(c); });
    onEvent(box, QEvent::KeyPress, [refused](QEvent* e) {
        const auto* key = static_cast<QKeyEvent*>(e);
        const QString text = key->text();
        if (key->key() == Qt::Key_Backspace || key->matches(QKeySequence::Paste) || text.isEmpty() || !text.at(0).isPrint())
            return false;
        return refused(text);
    });
    onEvent(box, QEvent::InputMethod, [refused](QEvent* e) { return refused(static_cast<QInputMethodEvent*>(e)->commitString()); });
    // Half-width entry: the input method stays off.
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
}

void SubRecordDialog::attachChoiceOnly(QComboBox* list, bool deleteClears)
{
    onEvent(list, QEvent::KeyPress, [list, deleteClears](QEvent* e) {
        const auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Delete && deleteClears) {
            if (auto* lookup = qobject_cast<widgets::DBLookupComboBox*>(list); lookup && lookup->link()->controlChanged()) {
                lookup->setCurrentIndex(-1);
                lookup->link()->updateRecord();
            }
            return true;
        }
        const QString text = key->text();
        return !text.isEmpty() && text.at(0).isPrint();
    });
}

} // namespace dialogs
