#include "app/InputCheckDialog.h"
#include "widgets/BusyIndicator.h"

#include "app/EntryForm.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace app {

InputCheckDialog::InputCheckDialog(Run run, ShowControl showControl, QWidget* parent)
    : QDialog(parent)
    , m_run(std::move(run))
    , m_showControl(std::move(showControl))
{
    setObjectName(QStringLiteral("FrmInputCheck"));
    setWindowTitle(QStringLiteral("入力チェック"));
    // A tool window beside the main window: the user mends the registration with the list open.
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);
    resize(640, 360);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lblCheckSummary"));
    m_summary->setWordWrap(true);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ProblemList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderLabels({QStringLiteral("ページ"), QStringLiteral("チェック"), QStringLiteral("内容")});
    m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_list->header()->setStretchLastSection(true);
    connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { showProblem(m_list->indexOfTopLevelItem(item)); });
    connect(m_list, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { showProblem(m_list->indexOfTopLevelItem(item)); });

    QPushButton* recheckButton = form::button(QStringLiteral("BtnRecheck"), QStringLiteral("再チェック"), this);
    QPushButton* closeButton = form::button(QStringLiteral("BtnCloseCheck"), QStringLiteral("閉じる"), this);
    connect(recheckButton, &QPushButton::clicked, this, &InputCheckDialog::recheck);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(recheckButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(form::note(QStringLiteral("「保存」は保存のときに、「提出」は提出用ファイル作成のときに確かめる項目です。"
                                                "行を選ぶと、その項目を表示します。"),
                                 this));
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
}

void InputCheckDialog::recheck()
{
    {
        const widgets::BusyIndicator busy(QStringLiteral("入力内容をチェックしています…"), this);
        m_problems = m_run();
    }
    m_list->clear();
    for (const inputcheck::Problem& problem : std::as_const(m_problems)) {
        auto* item = new QTreeWidgetItem(m_list, {problem.page(), problem.checkName(), problem.oneLineMessage()});
        item->setToolTip(2, problem.message);
    }
    m_summary->setText(m_problems.isEmpty() ? QStringLiteral("問題は見つかりませんでした。")
                                            : QStringLiteral("%1 件の問題が見つかりました。").arg(m_problems.size()));
}

void InputCheckDialog::showProblem(int row)
{
    if (row < 0 || row >= m_problems.size())
        return;
    QWidget* control = m_showControl(m_problems.at(row).control);
    if (!control)
        return;
    moveOutOfTheWayOf(control);
    // The user types into the control at once.
    control->window()->activateWindow();
    control->setFocus(Qt::OtherFocusReason);
}

void InputCheckDialog::moveOutOfTheWayOf(const QWidget* control)
{
    const QRect shown(control->mapToGlobal(QPoint(0, 0)), control->size());
    const QRect frame = frameGeometry();
    if (!frame.intersects(shown))
        return;
    const QScreen* screen = control->screen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    const QRect owner = control->window()->frameGeometry();
    constexpr int gap = 8;
    const QList<QPoint> places = {
        {owner.right() + 1, frame.top()},                // beside the window, to the right
        {owner.left() - frame.width(), frame.top()},     // to the left
        {frame.left(), shown.bottom() + gap},            // below the control
        {frame.left(), shown.top() - gap - frame.height()}, // above it
    };
    for (const QPoint& place : places) {
        const QRect moved(place, frame.size());
        if ((room.isNull() || room.contains(moved)) && !moved.intersects(shown)) {
            move(pos() + (place - frame.topLeft()));
            return;
        }
    }
    // No place free of it on the screen: below the control as far as the screen allows.
    QRect below(QPoint(frame.left(), shown.bottom() + gap), frame.size());
    if (!room.isNull() && below.bottom() > room.bottom())
        below.moveBottom(room.bottom());
    move(pos() + (below.topLeft() - frame.topLeft()));
}

} // namespace app
