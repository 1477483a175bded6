#pragma once

#include <QLabel>

#include <functional>

namespace widgets {

class TextMemo;

// A small label beside a text with a byte limit that says how many Shift_JIS bytes the limit still
// leaves (「残り 312 バイト」), or by how many the text is over it, in red (「12 バイト超過」).
// It counts through the function it is given, which must count as the limit's own check counts.
class RemainingBytesLabel : public QLabel
{
    Q_OBJECT

public:
    RemainingBytesLabel(int limitBytes, std::function<int()> usedBytes, QWidget* parent);

    // Counts again and shows the result.
    void refresh();
    int remaining() const;

private:
    int m_limit;
    std::function<int()> m_usedBytes;
};

// The label's text for `remaining` bytes (negative: over the limit).
QString remainingBytesText(int remaining);

// A counter for a memo, counted as the memo clean-up counts against `limitBytes` and refreshed with
// every change of the memo's text; named "lblRemain_" + the memo's name.
RemainingBytesLabel* countMemoBytes(TextMemo* memo, int limitBytes, QWidget* parent);

// Puts `counter` beside `control` in the layout that holds it: in a grid, under the caption column
// of the control's row (bottom left); in a row of widgets, right after the control.
void placeBeside(QWidget* control, QWidget* counter);

} // namespace widgets
