#include "util/SjisText.h"

#include <QTextCodec>

#include <array>
#include <cstdint>
#include <vector>

namespace sjis {

namespace {

QTextCodec* codec()
{
    // Qt's ICU converter behind this name maps the code page 932 repertoire, NEC and IBM
    // extensions and the user-defined area included.
    static QTextCodec* const instance = [] {
        QTextCodec* found = QTextCodec::codecForName("windows-31j");
        if (!found)
            qFatal("Shift_JIS (code page 932) converter is not available");
        return found;
    }();
    return instance;
}

// The converter follows the IBM convention for three control codes (0x1A, 0x1C and 0x7F are
// rotated); code page 932 keeps all of ASCII as it is. None of these bytes can be a trail byte,
// so the swap is safe at any position.
char toCodePage932(char byte)
{
    switch (static_cast<unsigned char>(byte)) {
    case 0x7F: return 0x1A;
    case 0x1A: return 0x1C;
    case 0x1C: return 0x7F;
    default: return byte;
    }
}

char fromCodePage932(char byte)
{
    switch (static_cast<unsigned char>(byte)) {
    case 0x1A: return 0x7F;
    case 0x1C: return 0x1A;
    case 0x7F: return 0x1C;
    default: return byte;
    }
}

QByteArray rawEncode(QStringView text)
{
    QByteArray bytes = codec()->fromUnicode(text);
    for (char& byte : bytes)
        byte = toCodePage932(byte);
    return bytes;
}

QString rawDecode(QByteArray bytes)
{
    for (char& byte : bytes)
        byte = fromCodePage932(byte);
    return codec()->toUnicode(bytes);
}

// True when the bytes decode to exactly the text: catches characters turned into '?', characters
// replaced by a look-alike and characters dropped by the converter.
bool encodesFaithfully(QStringView text, const QByteArray& bytes)
{
    return rawDecode(bytes) == text;
}

// One character of the text: a surrogate pair, or a single UTF-16 unit (a lone surrogate included).
qsizetype codePointLength(QStringView text, qsizetype index)
{
    const bool pair = text[index].isHighSurrogate() && index + 1 < text.size() && text[index + 1].isLowSurrogate();
    return pair ? 2 : 1;
}

char32_t codePointAt(QStringView text, qsizetype index)
{
    if (codePointLength(text, index) == 2)
        return QChar::surrogateToUcs4(text[index], text[index + 1]);
    return text[index].unicode();
}

// A piece of text: a run of characters that code page 932 holds, or one character it does not.
struct Piece
{
    QStringView text;
    bool encodable;
};

// Cuts the (already mapped) text into such pieces; text that encodes as a whole is one piece.
std::vector<Piece> splitByEncodability(QStringView text)
{
    if (encodesFaithfully(text, rawEncode(text)))
        return {Piece{text, true}};
    std::vector<Piece> pieces;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = codePointLength(text, i);
        const QStringView character = text.mid(i, length);
        if (!encodesFaithfully(character, rawEncode(character))) {
            if (i > runStart)
                pieces.push_back({text.mid(runStart, i - runStart), true});
            pieces.push_back({character, false});
            runStart = i + length;
        }
        i += length;
    }
    if (runStart < text.size())
        pieces.push_back({text.mid(runStart), true});
    return pieces;
}

// Length in bytes of the longest run of whole characters at the start of the bytes that fits in
// maxBytes. A lead byte with no byte after it is not a whole character.
qsizetype wholeCharactersLength(const QByteArray& bytes, qsizetype maxBytes)
{
    qsizetype length = 0;
    while (length < bytes.size()) {
        const qsizetype width = isLeadByte(static_cast<unsigned char>(bytes[length])) ? 2 : 1;
        if (length + width > maxBytes || length + width > bytes.size())
            break;
        length += width;
    }
    return length;
}

// Half-width ASCII for the full-width codes that have one (code = lead byte × 256 + trail byte).
std::optional<char> halfWidthAscii(std::uint16_t code)
{
    if (code >= 0x824F && code <= 0x8258)
        return char((code & 0xFF) - 0x1F);   // ０ … ９
    if (code >= 0x8260 && code <= 0x8279)
        return char((code & 0xFF) - 0x1F);   // Ａ … Ｚ
    if (code >= 0x8281 && code <= 0x829A)
        return char((code & 0xFF) - 0x20);   // ａ … ｚ

    struct Entry { std::uint16_t code; char ascii; };
    static constexpr std::array<Entry, 35> punctuation{{
        {0x8140, ' '},  {0x8143, ','},  {0x8144, '.'},  {0x8146, ':'},  {0x8147, ';'},
        {0x8148, '?'},  {0x8149, '!'},  {0x814F, '^'},  {0x815E, '/'},  {0x8162, '|'},
        {0x8165, '\''}, {0x8166, '\''}, {0x818C, '\''}, {0x8167, '"'},  {0x8168, '"'},
        {0x818D, '"'},  {0x8169, '('},  {0x816A, ')'},  {0x816D, '['},  {0x816E, ']'},
        {0x816F, '{'},  {0x8170, '}'},  {0x817B, '+'},  {0x817C, '-'},  {0x8181, '='},
        {0x81AC, '='},  {0x8183, '<'},  {0x8184, '>'},  {0x818F, '\\'}, {0x8190, '$'},
        {0x8193, '%'},  {0x8194, '#'},  {0x8195, '&'},  {0x8196, '*'},  {0x8197, '@'},
    }};
    for (const Entry& entry : punctuation) {
        if (entry.code == code)
            return entry.ascii;
    }
    return std::nullopt;
}

// Full-width forms of the half-width bytes 0xA1 … 0xDD, in byte order: plain, with the voiced mark
// and with the semi-voiced mark. A character without a marked form repeats its plain form.
constexpr char16_t kPlainKana[] =
    u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン";
constexpr char16_t kVoicedKana[] =
    u"。「」、・ヲァィゥェォャュョッーアイヴエオガギグゲゴザジズゼゾダヂヅデドナニヌネノバビブベボマミムメモヤユヨラリルレロワン";
constexpr char16_t kSemiVoicedKana[] =
    u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノパピプペポマミムメモヤユヨラリルレロワン";
constexpr unsigned char kFirstHalfWidthKana = 0xA1;
constexpr unsigned char kLastHalfWidthKana = 0xDD;
constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;
constexpr std::size_t kKanaCount = kLastHalfWidthKana - kFirstHalfWidthKana + 1;
static_assert(std::size(kPlainKana) == kKanaCount + 1 && std::size(kVoicedKana) == kKanaCount + 1
              && std::size(kSemiVoicedKana) == kKanaCount + 1);

// The two Shift_JIS bytes of the full-width form of a half-width katakana byte.
QByteArray fullWidthKana(unsigned char byte, unsigned char mark)
{
    static const QByteArray plain = rawEncode(kPlainKana);
    static const QByteArray voiced = rawEncode(kVoicedKana);
    static const QByteArray semiVoiced = rawEncode(kSemiVoicedKana);
    const QByteArray& table = mark == kVoicedMark ? voiced : mark == kSemiVoicedMark ? semiVoiced : plain;
    return table.mid(qsizetype(byte - kFirstHalfWidthKana) * 2, 2);
}

} // namespace

QString mapForeignCharacters(const QString& text)
{
    QString mapped = text;
    for (QChar& c : mapped) {
        switch (c.unicode()) {
        case 0x301C: c = QChar(0xFF5E); break;   // WAVE DASH → FULLWIDTH TILDE
        case 0x2016: c = QChar(0x2225); break;   // DOUBLE VERTICAL LINE → PARALLEL TO
        case 0x2212: c = QChar(0xFF0D); break;   // MINUS SIGN → FULLWIDTH HYPHEN-MINUS
        case 0x00A2: c = QChar(0xFFE0); break;   // CENT SIGN → FULLWIDTH CENT SIGN
        case 0x00A3: c = QChar(0xFFE1); break;   // POUND SIGN → FULLWIDTH POUND SIGN
        case 0x00AC: c = QChar(0xFFE2); break;   // NOT SIGN → FULLWIDTH NOT SIGN
        default: break;
        }
    }
    return mapped;
}

std::optional<char32_t> findUnencodable(const QString& text)
{
    const QString mapped = mapForeignCharacters(text);
    for (const Piece& piece : splitByEncodability(mapped)) {
        if (!piece.encodable)
            return codePointAt(piece.text, 0);
    }
    return std::nullopt;
}

QString unencodableMessage(char32_t character)
{
    // A lone surrogate cannot be shown by itself; the replacement character stands in for it.
    const bool showable = character <= 0x10FFFF && !(character >= 0xD800 && character <= 0xDFFF);
    const QString shown = showable ? QString::fromUcs4(&character, 1) : QString(QChar(QChar::ReplacementCharacter));
    const QString codePoint = QString::number(quint32(character), 16).toUpper().rightJustified(4, QLatin1Char('0'));
    return QStringLiteral("「%1」(U+%2) はシフトJISで表せない文字のため使用できません。").arg(shown, codePoint);
}

QByteArray encode(const QString& text)
{
    const QString mapped = mapForeignCharacters(text);
    QByteArray result;
    for (const Piece& piece : splitByEncodability(mapped))
        result += piece.encodable ? rawEncode(piece.text) : QByteArray("?");
    return result;
}

QString decode(const QByteArray& bytes)
{
    // The converter silently drops a lead byte that ends the input; keep its place visible.
    const qsizetype whole = wholeCharactersLength(bytes, bytes.size());
    if (whole < bytes.size())
        return rawDecode(bytes.left(whole)) + QChar(QChar::ReplacementCharacter);
    return rawDecode(bytes);
}

bool isLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

int byteLength(const QString& text)
{
    // Plain ASCII is one byte a character; only other text needs the codec.
    bool ascii = true;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    return ascii ? int(text.size()) : int(encode(text).size());
}

QByteArray cutBytes(const QByteArray& bytes, int maxBytes)
{
    return bytes.left(wholeCharactersLength(bytes, qMax(maxBytes, 0)));
}

QString cutToBytes(const QString& text, int maxBytes)
{
    // No character takes more than two bytes, nor more bytes than it has UTF-16 units.
    if (text.size() * 2 <= maxBytes)
        return text;
    // encode() turns every character into exactly one Shift_JIS character, so the encoded bytes
    // and the text can be walked side by side.
    const QByteArray bytes = encode(text);
    qsizetype bytePos = 0;
    qsizetype textPos = 0;
    while (textPos < text.size() && bytePos < bytes.size()) {
        const qsizetype width = isLeadByte(static_cast<unsigned char>(bytes[bytePos])) ? 2 : 1;
        if (bytePos + width > maxBytes)
            break;
        bytePos += width;
        textPos += codePointLength(text, textPos);
    }
    return text.left(textPos);
}

QByteArray normalizeCharWidth(const QByteArray& bytes)
{
    QByteArray result;
    result.reserve(bytes.size() * 2);
    for (qsizetype i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const auto next = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        if (isLeadByte(byte) && i + 1 < bytes.size()) {
            if (const auto ascii = halfWidthAscii(std::uint16_t(byte << 8 | next)))
                result += *ascii;
            else
                result += bytes.mid(i, 2);
            i += 2;
        } else if (byte >= kFirstHalfWidthKana && byte <= kLastHalfWidthKana) {
            const bool marked = next == kVoicedMark || next == kSemiVoicedMark;
            result += fullWidthKana(byte, marked ? next : 0);
            i += marked ? 2 : 1;
        } else {
            result += char(byte);
            ++i;
        }
    }
    return result;
}

QString NormalizeCharWidth(const QString& text)
{
    // Characters outside code page 932 pass unchanged (they are refused where they are typed or
    // imported, with a message); the runs between them are normalised.
    const QString mapped = mapForeignCharacters(text);
    QString result;
    for (const Piece& piece : splitByEncodability(mapped))
        result += piece.encodable ? rawDecode(normalizeCharWidth(rawEncode(piece.text))) : piece.text.toString();
    return result;
}

} // namespace sjis
