#pragma once

#include <QString>

// The text rules shared by the entry boxes, on plain values; the screens apply them to controls.
namespace inputrules {

// The blank rule: a run of two blanks is not accepted. The text is read in its Shift_JIS bytes, a
// full-width blank (0x81 0x40) counting as one ASCII blank and every other byte of 0x81 or more
// taken together with the byte after it. When the result holds two blanks in a row, every run of
// blanks shrinks to one blank, in one pass (as deleting one blank of a pair at a time would leave
// it): `text` becomes the result (its full-width blanks now ASCII blanks), `cursor` the position
// just after the blank that stays of the first run (so a second blank typed after a blank has no
// visible effect), and the answer is true. Otherwise nothing changes. A text that code page 932
// cannot hold is left alone.
bool removeDoubleBlank(QString* text, int* cursor);

// The memo text clean-up: trailing runs of line breaks shrink to one CR LF, the widths are
// normalised, and a text longer than `limitBytes` Shift_JIS bytes is cut to it (`cut` tells).
struct MemoCleanUp
{
    QString text;
    bool cut = false;
};
MemoCleanUp cleanUpMemo(const QString& text, int limitBytes);
// The Shift_JIS bytes of a memo text as the limit counts them: after the clean-up's trimming and
// width normalisation (a half-width katakana counts the two bytes it will take).
int countedMemoBytes(const QString& text);

inline const QString kMemoLimitMessage = QStringLiteral("文字制限をオーバーしました。\r\n制限を越えた分は削除されます。");
inline constexpr int kDescriptionMemoLimit = 2000;
inline constexpr int kShortMemoLimit = 255;

// The number clean-up of the number boxes.
enum class Rounding {
    TwoDecimals,          // empty becomes "0"; rounded half up to two decimals
    TwoDecimalsKeepEmpty, // as TwoDecimals, but an empty box stays empty
    WholeNumber,          // empty becomes "0"; the fraction is dropped
};
struct NumberCleanUp
{
    bool ok = true;  // false: the text is not a number
    QString text;    // the box's new text (the width-normalised text when !ok)
    QString error;   // message for the user when !ok
};
// Negative numbers lose their sign before rounding.
NumberCleanUp cleanUpNumber(const QString& text, Rounding rounding);

} // namespace inputrules
