#include "util/InputRules.h"

#include "util/NumberText.h"
#include "util/SjisText.h"

#include <cmath>

namespace inputrules {

bool removeDoubleBlank(QString* text, int* cursor)
{
    if (sjis::findUnencodable(*text))
        return false;
    const QByteArray bytes = sjis::encode(*text);
    QByteArray working;
    working.reserve(bytes.size());
    qsizetype firstRemoved = -1; // where the first dropped blank stood, in `working`
    // Each blank that follows a blank is dropped as it is met, so one pass leaves what deleting one
    // blank at a time would leave. A trail byte is never 0x20, so every blank here is a real one.
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        const bool fullWidthBlank = byte == 0x81 && i + 1 < bytes.size() && static_cast<unsigned char>(bytes.at(i + 1)) == 0x40;
        if (byte == ' ' || fullWidthBlank) {
            if (fullWidthBlank)
                ++i;
            if (working.endsWith(' ')) {
                if (firstRemoved < 0)
                    firstRemoved = working.size();
                continue;
            }
            working.append(' ');
        } else if (byte >= 0x81 && i + 1 < bytes.size()) {
            working.append(bytes.mid(i, 2));
            ++i;
        } else {
            working.append(char(byte));
        }
    }
    if (firstRemoved < 0)
        return false;
    *text = sjis::decode(working);
    *cursor = int(sjis::decode(working.left(firstRemoved)).size());
    return true;
}

namespace {

// The memo text the limit applies to: trailing runs of line breaks shrunk to one, widths normalised.
QString memoTextAsCounted(const QString& text)
{
    QString trimmed = text;
    static const QString kTwoBreaks = QStringLiteral("\r\n\r\n");
    while (sjis::byteLength(trimmed) > 3 && trimmed.endsWith(kTwoBreaks))
        trimmed.chop(2);
    return sjis::NormalizeCharWidth(trimmed);
}

} // namespace

MemoCleanUp cleanUpMemo(const QString& text, int limitBytes)
{
    MemoCleanUp result;
    result.text = memoTextAsCounted(text);
    if (sjis::byteLength(result.text) > limitBytes) {
        result.text = sjis::cutToBytes(result.text, limitBytes);
        result.cut = true;
    }
    return result;
}

int countedMemoBytes(const QString& text)
{
    return int(sjis::byteLength(memoTextAsCounted(text)));
}

NumberCleanUp cleanUpNumber(const QString& text, Rounding rounding)
{
    NumberCleanUp result;
    result.text = sjis::NormalizeCharWidth(text);
    if (result.text.isEmpty()) {
        if (rounding != Rounding::TwoDecimalsKeepEmpty)
            result.text = QStringLiteral("0");
        return result;
    }
    double value = 0;
    if (!numbertext::parse(result.text, &value) || !std::isfinite(value)) {
        result.ok = false;
        result.error = QStringLiteral("'%1' は数値として正しくありません。").arg(result.text);
        return result;
    }
    if (value <= 0)
        value = value == 0 ? 0.0 : -value;
    value = rounding == Rounding::WholeNumber ? std::trunc(value) : numbertext::round2(value);
    result.text = numbertext::format(value);
    return result;
}

} // namespace inputrules
