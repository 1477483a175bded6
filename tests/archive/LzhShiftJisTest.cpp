// The reading core decodes member names without Qt; it must give the very names the program's
// Shift_JIS converter gives, for every byte and every pair of bytes.

#include "archive/LzhShiftJis.h"
#include "util/SjisText.h"

#include <QList>
#include <QString>

#include <gtest/gtest.h>

namespace {

std::string hex(const QByteArray& bytes)
{
    return bytes.toHex(' ').toStdString();
}

void expectSameDecoding(const QByteArray& bytes)
{
    EXPECT_EQ(lzh::decodeShiftJis(bytes.toStdString()), sjis::decode(bytes).toStdString()) << hex(bytes);
}

TEST(LzhShiftJis, DecodesEveryByteAndPairAsTheProgramsConverter)
{
    for (int first = 0; first < 256; ++first) {
        // On its own, at the end, and before an ASCII letter that a lone lead byte must not swallow.
        expectSameDecoding(QByteArray(1, char(first)));
        expectSameDecoding(QByteArray(1, char(first)) + "A");
        for (int second = 0; second < 256; ++second) {
            if (first < 0x80 && second < 0x80)
                continue; // plain ASCII
            QByteArray pair;
            pair.append(char(first));
            pair.append(char(second));
            expectSameDecoding(pair);
            expectSameDecoding(pair + "A");
        }
    }
}

TEST(LzhShiftJis, Utf8NamesKeepValidSequencesAndMarkEachBadByte)
{
    const QList<QByteArray> cases = {
        "plain.txt", "\xe8\xa1\xa8.txt", "\xf0\x9f\x98\x80", "\xc3", "\xc3(", "\x80\x80", "\xc0\xaf", "\xe0\x80\xaf",
        "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xf8\x88\x80\x80\x80", "\xe8\xa1", "\xe8\xa1(", "\xfe\xff",
    };
    for (const QByteArray& bytes : cases)
        EXPECT_EQ(lzh::validUtf8(bytes.toStdString()), QString::fromUtf8(bytes).toStdString()) << hex(bytes);
}

} // namespace
