#include "util/SjisText.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

struct TextCase
{
    const char* name;
    QString input;
    QString expected;
};

void PrintTo(const TextCase& c, std::ostream* os)
{
    *os << c.name;
}

class NormalizeCharWidthTest : public testing::TestWithParam<TextCase>
{
};

TEST_P(NormalizeCharWidthTest, ConvertsWidths)
{
    EXPECT_EQ(sjis::NormalizeCharWidth(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NormalizeCharWidthTest,
    testing::Values(
        TextCase{"FullWidthLettersAndDigits", u"ＡＢＣ１２３ａｚ"_s, u"ABC123az"_s},
        TextCase{"FullWidthPunctuation", u"　，．：；？！＾／｜‘’′“”″（）［］｛｝＋－＝〓＜＞￥＄％＃＆＊＠"_s,
                 u" ,.:;?!^/|'''\"\"\"()[]{}+-==<>\\$%#&*@"_s},
        TextCase{"OtherFullWidthUnchanged", u"漢字ひらがなカタカナ＿｀～、。"_s, u"漢字ひらがなカタカナ＿｀～、。"_s},
        TextCase{"AsciiUnchanged", u"abc 123 ~_\t\r\n"_s, u"abc 123 ~_\t\r\n"_s},
        TextCase{"Empty", QString(), QString()},
        TextCase{"VoicedMark", u"ｶﾞｯｺｳ"_s, u"ガッコウ"_s},
        TextCase{"SemiVoicedMark", u"ﾊﾟﾝ"_s, u"パン"_s},
        TextCase{"VoicedU", u"ｳﾞｨ"_s, u"ヴィ"_s},
        TextCase{"MarkWithoutFormIsConsumed", u"ｱﾞｶﾟﾝﾟ"_s, u"アカン"_s},
        TextCase{"HalfWidthPunctuationAndSmallKana", u"｡｢｣､･ｦｧｯｰﾜﾝ"_s, u"。「」、・ヲァッーワン"_s},
        TextCase{"LoneMarksStay", u"ﾞﾟｱ"_s, u"ﾞﾟア"_s},
        TextCase{"ForeignCharactersMappedFirst", u"〜−"_s, u"～-"_s},
        TextCase{"UnencodableCharacterKept", u"Ａ😀ｶﾞ"_s, u"A😀ガ"_s}),
    [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

TEST(SjisNormalizeBytes, HandlesBytesOutsideTheCharacterTables)
{
    const struct
    {
        QByteArray input;
        QByteArray expected;
    } cases[] = {
        {hex("41 82"), hex("41 82")},                // lead byte as the last byte stays
        {hex("82 60 82"), hex("41 82")},             // Ａ then a lone lead byte
        {hex("80 a0 fd fe ff"), hex("80 a0 fd fe ff")},
        {hex("de df"), hex("de df")},                // lone marks
        {hex("b6 de"), hex("83 4b")},                // ｶﾞ → ガ
        {hex("88 9f 82 60"), hex("88 9f 41")},       // 亜Ａ: only the full-width letter changes
    };
    for (const auto& c : cases)
        EXPECT_EQ(sjis::normalizeCharWidth(c.input).toHex(' '), c.expected.toHex(' ')) << c.input.toHex(' ').constData();
}

TEST(SjisEncoding, UsesCodePage932AndMapsForeignCharacters)
{
    const struct
    {
        QString text;
        QByteArray bytes;
    } cases[] = {
        {u"～∥－"_s, hex("81 60 81 61 81 7c")},
        {u"〜‖−¢£¬"_s, hex("81 60 81 61 81 7c 81 91 81 92 81 ca")},   // other platforms' forms
        {u"①Ⅰ№㈱髙ⅰ"_s, hex("87 40 87 54 87 82 87 8a fb fc fa 40")},    // NEC and IBM extensions
        {u"aｱ\\~"_s, hex("61 b1 5c 7e")},
        {QString::fromLatin1("\x1a\x1c\x7f"), hex("1a 1c 7f")},          // control codes as they are
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sjis::encode(c.text).toHex(' '), c.bytes.toHex(' ')) << qPrintable(c.text);
        EXPECT_EQ(sjis::decode(c.bytes), sjis::mapForeignCharacters(c.text));
    }
}

TEST(SjisEncoding, DecodesNecSpecialCharactersAndEncodesThemBack)
{
    const QByteArray nec = hex("87 40 87 5f 87 82 87 8a 87 9a fa 40 fb fc");
    EXPECT_EQ(sjis::decode(nec), u"①㍉№㈱∵ⅰ髙"_s);
    // ∵ exists twice in code page 932; it is written in its JIS row position.
    EXPECT_EQ(sjis::encode(sjis::decode(nec)).toHex(' '), hex("87 40 87 5f 87 82 87 8a 81 e6 fa 40 fb fc").toHex(' '));
}

TEST(SjisEncoding, DecodeKeepsTheTrailingLoneLeadByteVisible)
{
    EXPECT_EQ(sjis::decode(hex("61 82")), u"a\uFFFD"_s);
}

TEST(SjisEncoding, UnencodableCharactersAreFoundAndBecomeQuestionMarks)
{
    const QString loneHighSurrogate = u"a"_s + QChar(0xD83D);
    const struct
    {
        QString text;
        std::optional<char32_t> first;
        QByteArray encoded;
    } cases[] = {
        {u"漢字 abc ①"_s, std::nullopt, hex("8a bf 8e 9a 20 61 62 63 20 87 40")},
        {QString(), std::nullopt, QByteArray()},
        {u"〜"_s, std::nullopt, hex("81 60")},
        {u"a😀b"_s, U'\U0001F600', "a?b"},
        {u"€😀"_s, U'€', "??"},
        {u"¥é"_s, U'¥', "??"},          // no silent substitution by look-alikes
        {loneHighSurrogate, char32_t(0xD83D), "a?"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sjis::findUnencodable(c.text), c.first) << qPrintable(c.text);
        EXPECT_EQ(sjis::encode(c.text), c.encoded) << qPrintable(c.text);
    }
}

TEST(SjisEncoding, MessageNamesTheCharacterAndItsCodePoint)
{
    EXPECT_EQ(sjis::unencodableMessage(U'\U0001F600'), u"「😀」(U+1F600) はシフトJISで表せない文字のため使用できません。"_s);
    EXPECT_EQ(sjis::unencodableMessage(U'é'), u"「é」(U+00E9) はシフトJISで表せない文字のため使用できません。"_s);
}

TEST(SjisMeasure, LeadBytes)
{
    for (int byte : {0x81, 0x9F, 0xE0, 0xFC})
        EXPECT_TRUE(sjis::isLeadByte(byte)) << byte;
    for (int byte : {0x00, 0x40, 0x80, 0xA0, 0xB1, 0xDF, 0xFD, 0xFF})
        EXPECT_FALSE(sjis::isLeadByte(byte)) << byte;
}

TEST(SjisMeasure, ByteLength)
{
    EXPECT_EQ(sjis::byteLength(QString()), 0);
    EXPECT_EQ(sjis::byteLength(u"abc\n"_s), 4);
    EXPECT_EQ(sjis::byteLength(u"あいう"_s), 6);
    EXPECT_EQ(sjis::byteLength(u"ｱｲ①髙"_s), 6);
}

TEST(SjisMeasure, CutNeverSplitsACharacter)
{
    const QByteArray bytes = hex("61 82 a0 62");   // aあb
    const QString text = u"aあb"_s;
    const struct
    {
        int limit;
        QByteArray bytes;
        QString text;
    } cases[] = {
        {-1, QByteArray(), QString()},
        {0, QByteArray(), QString()},
        {1, "a", u"a"_s},
        {2, "a", u"a"_s},                          // the limit falls inside あ
        {3, hex("61 82 a0"), u"aあ"_s},
        {4, bytes, text},
        {100, bytes, text},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sjis::cutBytes(bytes, c.limit), c.bytes) << c.limit;
        EXPECT_EQ(sjis::cutToBytes(text, c.limit), c.text) << c.limit;
    }
    EXPECT_EQ(sjis::cutBytes(hex("61 82"), 10), QByteArray("a"));   // a dangling lead byte is no character
    EXPECT_EQ(sjis::cutToBytes(u"〜〜"_s, 3), u"〜"_s);               // measured after the mapping, text kept
}

} // namespace
