#include "widgets/RemainingBytes.h"

#include "util/InputRules.h"
#include "widgets/TextMemo.h"

#include <QBoxLayout>
#include <QGridLayout>

namespace widgets {

namespace {

// The layout below `layout` (itself included) that holds `control` directly, or null.
QLayout* layoutHolding(QLayout* layout, QWidget* control)
{
    if (!layout)
        return nullptr;
    if (layout->indexOf(control) >= 0)
        return layout;
    for (int i = 0; i < layout->count(); ++i) {
        if (QLayout* found = layoutHolding(layout->itemAt(i)->layout(), control))
            return found;
    }
    return nullptr;
}

} // namespace

RemainingBytesLabel::RemainingBytesLabel(int limitBytes, std::function<int()> usedBytes, QWidget* parent)
    : QLabel(parent)
    , m_limit(limitBytes)
    , m_usedBytes(std::move(usedBytes))
{
    if (QFont small = font(); small.pointSizeF() > 0) {
        small.setPointSizeF(small.pointSizeF() * 0.9);
        setFont(small);
    }
    refresh();
}

int RemainingBytesLabel::remaining() const
{
    return m_limit - m_usedBytes();
}

void RemainingBytesLabel::refresh()
{
    const int left = remaining();
    setText(remainingBytesText(left));
    setStyleSheet(left < 0 ? QStringLiteral("color: #c00000;") : QStringLiteral("color: #555555;"));
}

QString remainingBytesText(int remaining)
{
    return remaining >= 0 ? QStringLiteral("残り %1 バイト").arg(remaining) : QStringLiteral("%1 バイト超過").arg(-remaining);
}

RemainingBytesLabel* countMemoBytes(TextMemo* memo, int limitBytes, QWidget* parent)
{
    auto* counter = new RemainingBytesLabel(limitBytes, [memo] { return inputrules::countedMemoBytes(memo->text()); }, parent);
    counter->setObjectName(QStringLiteral("lblRemain_") + memo->objectName());
    QObject::connect(memo, &QPlainTextEdit::textChanged, counter, &RemainingBytesLabel::refresh);
    return counter;
}

void placeBeside(QWidget* control, QWidget* counter)
{
    QLayout* layout = control->parentWidget() ? layoutHolding(control->parentWidget()->layout(), control) : nullptr;
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        int row = 0, column = 0, rows = 0, columns = 0;
        grid->getItemPosition(grid->indexOf(control), &row, &column, &rows, &columns);
        grid->addWidget(counter, row + rows - 1, 0, Qt::AlignBottom | Qt::AlignLeft);
    } else if (auto* box = qobject_cast<QBoxLayout*>(layout)) {
        box->insertWidget(box->indexOf(control) + 1, counter, 0, Qt::AlignBottom);
    }
}

} // namespace widgets
